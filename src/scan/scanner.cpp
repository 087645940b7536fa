#include "scan/scanner.h"

#include "image/adf.h"
#include "image/numbertext.h"
#include "scan/identify.h"
#include "scan/matchindex.h"

namespace moswit {

std::string ScanningStatus(size_t i, size_t n, const std::string& folder, const std::string& caption) {
  const auto percent = TruncatedRatio(static_cast<uint32_t>(i), static_cast<uint32_t>(n), 100);
  return "Scanning file " + IntToDec(static_cast<uint32_t>(i)) + " of " +
         IntToDec(static_cast<uint32_t>(n)) + " [" + IntToDec(percent) + "] / " + folder + caption;
}

std::string UnreadableResult(const std::string& reason) { return "<unreadable: " + reason + ">"; }

void RunScan(const DatabaseInfo& database, const std::string& sourceFolder, ScanReport& report,
             const std::atomic<bool>* stop) {
  report.Status(kPreparingStatus);
  report.RowsCleared();
  const std::string folder = WithTrailingSeparator(sourceFolder);
  const auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };
  std::vector<ImageRow> rows = ListImages(folder, stop);
  if (stopped()) {
    report.Ended(true);
    return;
  }
  SortRows(rows);
  report.RowsListed(rows);

  MatchIndexPtr index = BuildMatchIndex(database);
  const size_t n = rows.size();
  for (size_t i = 0; i < n; ++i) {
    if (stopped()) {
      report.Ended(true);
      return;
    }
    report.Status(ScanningStatus(i + 1, n, folder, rows[i].caption));
    report.Progress(i + 1, n);
    FileError error;
    ImagePtr image = LoadImage(rows[i].path, &error);
    if (!image) {
      report.RowResult(i, UnreadableResult(error.message), false);
      continue;
    }
    const IdentifyResult result = IdentifyImage(*image, *index);
    report.RowResult(i, result.line, result.hadCandidates);
    FreeImage(image);
  }
  FreeMatchIndex(index);
  report.Status(kReadyStatus);
  report.Ended(false);
}

}  // namespace moswit
