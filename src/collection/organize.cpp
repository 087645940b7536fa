#include "collection/organize.h"

#include <filesystem>
#include <unordered_set>

#include "base/asciicase.h"
#include "collection/destinationname.h"

namespace moswit {

namespace {

bool Present(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

// An existing destination: left alone, and "same" only when it holds the
// source's bytes.
void Compare(OrganizeStep& step, const std::string& destination) {
  FileError error;
  const std::optional<bool> same = SameContents(step.source, destination, error);
  if (same && *same) {
    step.action = OrganizeAction::kSame;
  } else if (!same && error.path == step.source) {
    // The source gone since the scan is a failure, not a conflict.
    step.action = OrganizeAction::kFailed;
    step.error = FormatFileError(error);
  } else {
    step.action = OrganizeAction::kConflict;
    step.error = destination + ": " + kOtherBytesThere;
  }
}

}  // namespace

const char* ActionWord(OrganizeAction action) {
  switch (action) {
    case OrganizeAction::kCopy:
      return "copy";
    case OrganizeAction::kLink:
      return "link";
    case OrganizeAction::kSame:
      return "same";
    case OrganizeAction::kConflict:
      return "conflict";
    case OrganizeAction::kFailed:
      break;
  }
  return "failed";
}

std::vector<OrganizeStep> PlanOrganize(const CollectionReport& report, const std::string& target,
                                       const OrganizeOptions& options) {
  std::vector<OrganizeStep> steps;
  std::unordered_set<std::string> taken;
  for (size_t d = 0; d < report.disks.size(); ++d) {
    const DiskEntry& entry = report.disks[d];
    if (entry.status != DiskStatus::kHave &&
        !(options.partial && entry.status == DiskStatus::kPartial)) {
      continue;
    }
    const ImageOutcome& image = report.images[entry.best];
    OrganizeStep& step = steps.emplace_back();
    step.disk = d;
    step.source = image.path;
    step.sourceRelative = image.relative;
    step.destination = DestinationName(entry, image.ending);
    if (!taken.insert(UpperCase(step.destination)).second) {
      step.action = OrganizeAction::kConflict;
      step.error = DestinationPath(target, step) + ": " + kNameTaken;
      continue;
    }
    step.action = options.link ? OrganizeAction::kLink : OrganizeAction::kCopy;
    step.exists = Present(DestinationPath(target, step));
  }
  return steps;
}

std::string DestinationPath(const std::string& target, const OrganizeStep& step) {
  return (std::filesystem::path(target) / step.destination).string();
}

void DoStep(OrganizeStep& step, const std::string& target, const OrganizeOptions& options,
            const FileSeams& seams) {
  if (step.action != OrganizeAction::kCopy && step.action != OrganizeAction::kLink) return;
  const std::string destination = DestinationPath(target, step);
  if (Present(destination)) {
    Compare(step, destination);
    return;
  }
  if (options.dryRun) return;
  std::error_code made;
  std::filesystem::create_directories(std::filesystem::path(destination).parent_path(), made);
  if (made) {
    step.action = OrganizeAction::kFailed;
    step.error = FormatFileError(
        {std::filesystem::path(destination).parent_path().string(), made.message()});
    return;
  }
  FileError error;
  PlaceOutcome outcome = PlaceOutcome::kFailed;
  if (step.action == OrganizeAction::kLink) {
    outcome = LinkNoReplace(step.source, destination, seams, error);
    // Another file system, or one without links: a copy instead.
    if (outcome == PlaceOutcome::kFailed) step.action = OrganizeAction::kCopy;
  }
  if (step.action == OrganizeAction::kCopy) {
    outcome = CopyVerified(step.source, destination, seams, error);
  }
  switch (outcome) {
    case PlaceOutcome::kPlaced:
      break;
    case PlaceOutcome::kExists:
      Compare(step, destination);
      break;
    case PlaceOutcome::kFailed:
      step.action = OrganizeAction::kFailed;
      step.error = FormatFileError(error);
      break;
  }
}

OrganizeTotals RunOrganize(std::vector<OrganizeStep>& steps, const std::string& target,
                           const OrganizeOptions& options, OrganizeReport& report,
                           const std::atomic<bool>* stop, const FileSeams& seams) {
  OrganizeTotals totals;
  for (size_t i = 0; i < steps.size(); ++i) {
    if (stop && stop->load(std::memory_order_relaxed)) {
      totals.stopped = true;
      break;
    }
    OrganizeStep& step = steps[i];
    report.StepStarted(i, steps.size(), step);
    DoStep(step, target, options, seams);
    switch (step.action) {
      case OrganizeAction::kCopy:
      case OrganizeAction::kLink:
        ++totals.copied;
        break;
      case OrganizeAction::kSame:
        ++totals.same;
        break;
      case OrganizeAction::kConflict:
        ++totals.conflicts;
        break;
      case OrganizeAction::kFailed:
        ++totals.failed;
        break;
    }
    ++totals.done;
    report.StepDone(i, step);
  }
  return totals;
}

bool AnyTrouble(const std::vector<OrganizeStep>& steps) {
  for (const OrganizeStep& step : steps) {
    if (step.action == OrganizeAction::kConflict || step.action == OrganizeAction::kFailed) {
      return true;
    }
  }
  return false;
}

}  // namespace moswit
