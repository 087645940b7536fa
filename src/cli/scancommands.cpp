#include <unistd.h>

#include <string>

#include "cli/commands.h"
#include "database/didreader.h"
#include "scan/scanner.h"

namespace moswit::cli {

namespace {

// Prints each row with its result; progress goes to a terminal only.
class PrintingReport : public ScanReport {
 public:
  explicit PrintingReport(bool showStatus) : showStatus_(showStatus) {}

  void Status(const std::string& text) override {
    if (!showStatus_) return;
    std::fputs(("\r\033[K" + text).c_str(), stderr);
  }
  void Ended(bool) override {
    if (showStatus_) std::fputs("\n", stderr);
  }
  void RowsCleared() override { captions_.clear(); }
  void RowsListed(const std::vector<ImageRow>& rows) override {
    for (const ImageRow& row : rows) captions_.push_back(row.caption);
  }
  void RowResult(size_t row, const std::string& line, bool) override {
    WriteOut(captions_[row] + "\t" + line + "\n");
    std::fflush(stdout);
  }

 private:
  bool showStatus_;
  std::vector<std::string> captions_;
};

}  // namespace

int RunIdentify(const Args& args) {
  const auto database = ReadOrReport(args[0]);
  if (!database) return 1;
  PrintingReport report(::isatty(STDERR_FILENO) == 1);
  RunScan(*database, args[1], report);
  return 0;
}

}  // namespace moswit::cli
