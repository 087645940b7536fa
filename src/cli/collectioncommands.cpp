// SPDX-License-Identifier: GPL-2.0-or-later
#include <cstdio>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/console.h"
#include "collection/collectionreport.h"
#include "collection/fixdat.h"
#include "collection/organize.h"
#include "database/records.h"
#include "scan/scanner.h"

namespace moswit::cli {

namespace {

// The scan's progress on a terminal only, as identify shows it.
class ProgressReport : public ScanReport {
 public:
  ProgressReport() : show_(ErrorIsTerminal()) {}

  void Status(const std::string& text) override {
    if (show_) std::fputs(("\r\033[K" + text).c_str(), stderr);
  }
  void Ended(bool) override {
    if (show_) std::fputs("\n", stderr);
  }
  void RowsCleared() override {}
  void RowsListed(const std::vector<ImageRow>&) override {}
  void RowResult(size_t, const std::string&, bool) override {}

 private:
  bool show_;
};

// Prints each step as it is done: action, source, destination; why a step
// is a conflict or failed goes to stderr.
class StepPrinter : public OrganizeReport {
 public:
  void StepDone(size_t, const OrganizeStep& step) override {
    WriteOut(std::string(ActionWord(step.action)) + "\t" + step.sourceRelative + "\t" +
             step.destination + "\n");
    FlushOut();
    if (!step.error.empty()) ReportError(step.error);
  }
};

struct Invocation {
  OrganizeOptions options;
  size_t jobs = 0;
  std::string fixdat;  // report: where the missing go as a DAT
  Args positional;
};

// The options, in any order, then exactly `positional` arguments; only
// report's --jobs and --fixdat when `organize` is false.
bool Parse(const Args& args, size_t positional, bool organize, Invocation& invocation) {
  size_t i = 0;
  for (; i < args.size() && args[i].starts_with("--"); ++i) {
    const std::string& option = args[i];
    if (option == "--jobs") {
      if (++i == args.size() || !ParseJobs(args[i], invocation.jobs)) return false;
      invocation.options.jobs = invocation.jobs;
    } else if (!organize && option == "--fixdat") {
      if (++i == args.size() || args[i].empty()) return false;
      invocation.fixdat = args[i];
    } else if (organize && option == "--link") {
      invocation.options.link = true;
    } else if (organize && option == "--partial") {
      invocation.options.partial = true;
    } else if (organize && option == "--dry-run") {
      invocation.options.dryRun = true;
    } else {
      return false;
    }
  }
  invocation.positional.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
  return invocation.positional.size() == positional;
}

// The report of a scan of `folder` (nothing below `skip`); nothing, after a
// line on stderr, when the folder cannot be read. `forCopies`: each image's
// file checked, for the copies made of it.
std::optional<CollectionReport> ScanFolder(const DatabaseInfo& database, const std::string& folder,
                                           size_t jobs, bool forCopies,
                                           const std::string& skip = {}) {
  if (!FolderReadable(folder)) return std::nullopt;
  ProgressReport progress;
  return ScanCollection(database, folder, &progress, jobs, skip, forCopies);
}

}  // namespace

// report [--jobs N] [--fixdat FILE] DID FOLDER
int RunReport(const Args& args) {
  Invocation invocation;
  if (!Parse(args, 2, false, invocation)) return UsageError();
  const auto database = ReadOrReport(invocation.positional[0]);
  if (!database) return 1;
  const std::optional<CollectionReport> report =
      ScanFolder(*database, invocation.positional[1], invocation.jobs, false);
  if (!report) return 1;
  WriteOut(ReportText(*report));
  FlushOut();
  std::fputs((ReportSummary(*report) + "\n").c_str(), stderr);
  if (invocation.fixdat.empty()) return 0;
  size_t listed = 0;
  if (std::optional<FileError> error =
          WriteFixDat(invocation.fixdat, *database, *report, &listed)) {
    ReportError(FormatFileError(*error));
    return 1;
  }
  const std::string disks =
      std::to_string(listed) + (listed == 1 ? " missing disk" : " missing disks");
  std::fputs((invocation.fixdat + ": " + disks + " written as a DAT\n").c_str(), stderr);
  return 0;
}

// organize [--link] [--partial] [--dry-run] [--jobs N] DID FOLDER TARGET
int RunOrganize(const Args& args) {
  Invocation invocation;
  if (!Parse(args, 3, true, invocation)) return UsageError();
  const std::string& folder = invocation.positional[1];
  const std::string& target = invocation.positional[2];
  // Nothing below TARGET is scanned, so a TARGET holding FOLDER would leave
  // nothing to scan.
  if (FolderLiesIn(folder, target)) {
    ReportError(target + ": TARGET holds FOLDER; nothing below TARGET is scanned");
    return 2;
  }
  const auto database = ReadOrReport(invocation.positional[0]);
  if (!database) return 1;
  const std::optional<CollectionReport> report =
      ScanFolder(*database, folder, invocation.jobs, true, target);
  if (!report) return 1;
  std::vector<OrganizeStep> steps = PlanOrganize(*report, target, invocation.options);
  StepPrinter printer;
  RunOrganize(steps, target, invocation.options, printer);
  return AnyTrouble(steps) ? 1 : 0;
}

}  // namespace moswit::cli
