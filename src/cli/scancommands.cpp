// SPDX-License-Identifier: GPL-2.0-or-later
#include <string>

#include "base/codepage.h"
#include "cli/commands.h"
#include "cli/console.h"
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
    // The caption is a path as the system gives it; the line is DID text.
    WriteOut(captions_[row] + "\t" + Utf8FromCp1252(line) + "\n");
    FlushOut();
  }

 private:
  bool showStatus_;
  std::vector<std::string> captions_;
};

// The most workers --jobs takes; more would only cost memory and threads.
constexpr size_t kMostJobs = 256;

}  // namespace

bool ParseJobs(const std::string& text, size_t& jobs) {
  if (text.empty() || text.size() > 3) return false;
  size_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<size_t>(c - '0');
  }
  if (value < 1 || value > kMostJobs) return false;
  jobs = value;
  return true;
}

// identify [--jobs N] DID FOLDER
int RunIdentify(const Args& args) {
  size_t jobs = 0;
  size_t first = 0;
  if (args[0] == "--jobs") {
    if (args.size() != 4 || !ParseJobs(args[1], jobs)) return UsageError();
    first = 2;
  } else if (args.size() != 2) {
    return UsageError();
  }
  const auto database = ReadOrReport(args[first]);
  if (!database) return 1;
  PrintingReport report(ErrorIsTerminal());
  RunScan(*database, args[first + 1], report, nullptr, jobs);
  return 0;
}

}  // namespace moswit::cli
