// SPDX-License-Identifier: GPL-2.0-or-later
#include "collection/organize.h"

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>
#include <unordered_set>

#include "base/asciicase.h"
#include "base/pathtext.h"
#include "collection/destinationname.h"
#include "image/adf.h"
#include "scan/scanner.h"

namespace moswit {

namespace {

bool Present(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(PathFromText(path), error));
}

// An existing destination: left alone, and "same" only when it holds the
// source's bytes (`extracted`, for a member of an archive).
void Compare(OrganizeStep& step, const std::string& destination,
             const std::optional<std::vector<uint8_t>>& extracted) {
  FileError error;
  const std::optional<bool> same = extracted ? FileHolds(destination, *extracted, error)
                                             : SameContents(step.source, destination, error);
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

void Count(OrganizeTotals& totals, OrganizeAction action) {
  switch (action) {
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
}

// Workers take the steps in order, each step by one worker, so the steps
// taken are always the first ones; the caller waits for each in turn. Once
// `stop` is set no step is taken, and the steps taken are finished.
class StepWorkers {
 public:
  StepWorkers(std::vector<OrganizeStep>& steps, const std::string& target,
              const OrganizeOptions& options, const FileSeams& seams, const std::atomic<bool>* stop,
              size_t workers)
      : steps_(steps),
        target_(target),
        options_(options),
        seams_(seams),
        stop_(stop),
        done_(steps.size(), 0),
        running_(workers) {
    threads_.reserve(workers);
    for (size_t w = 0; w < workers; ++w) threads_.emplace_back([this] { Work(); });
  }

  ~StepWorkers() {
    for (std::thread& thread : threads_) thread.join();
  }
  StepWorkers(const StepWorkers&) = delete;
  StepWorkers& operator=(const StepWorkers&) = delete;

  // Waits for step `i`; false when it will never be done (stopped first).
  bool Wait(size_t i) {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [&] { return done_[i] != 0 || running_ == 0; });
    return done_[i] != 0;
  }

 private:
  void Work() {
    for (;;) {
      size_t i = 0;
      {
        std::lock_guard lock(mutex_);
        if (next_ == steps_.size() || (stop_ && stop_->load(std::memory_order_relaxed))) break;
        i = next_++;
      }
      DoStep(steps_[i], target_, options_, seams_);
      {
        std::lock_guard lock(mutex_);
        done_[i] = 1;
      }
      ready_.notify_all();
    }
    {
      std::lock_guard lock(mutex_);
      --running_;
    }
    ready_.notify_all();
  }

  std::vector<OrganizeStep>& steps_;
  const std::string& target_;
  const OrganizeOptions& options_;
  const FileSeams& seams_;
  const std::atomic<bool>* stop_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::vector<char> done_;
  size_t next_ = 0;
  size_t running_;
  std::vector<std::thread> threads_;
};

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
    step.member = image.member;
    step.sourceRelative = image.relative;
    step.destination = DestinationName(entry, image.ending);
    if (!taken.insert(UpperCase(step.destination)).second) {
      step.action = OrganizeAction::kConflict;
      step.error = DestinationPath(target, step) + ": " + kNameTaken;
      continue;
    }
    // A member of an archive has no file of its own to link to.
    step.action = options.link && step.member == kFirstImageMember ? OrganizeAction::kLink
                                                                   : OrganizeAction::kCopy;
    step.exists = Present(DestinationPath(target, step));
  }
  return steps;
}

std::string DestinationPath(const std::string& target, const OrganizeStep& step) {
  return WithTrailingSeparator(target) + step.destination;
}

void DoStep(OrganizeStep& step, const std::string& target, const OrganizeOptions& options,
            const FileSeams& seams) {
  if (step.action != OrganizeAction::kCopy && step.action != OrganizeAction::kLink) return;
  const std::string destination = DestinationPath(target, step);
  std::optional<std::vector<uint8_t>> extracted;
  if (step.member != kFirstImageMember) {
    FileError error;
    ImagePtr image = LoadImage(step.source, &error, step.member);
    if (!image) {
      step.action = OrganizeAction::kFailed;
      step.error = FormatFileError(error);
      return;
    }
    extracted = std::move(image->Data);
  }
  if (Present(destination)) {
    Compare(step, destination, extracted);
    return;
  }
  if (options.dryRun) return;
  std::error_code made;
  const std::filesystem::path folder = PathFromText(destination).parent_path();
  std::filesystem::create_directories(folder, made);
  if (made) {
    step.action = OrganizeAction::kFailed;
    step.error = FormatFileError({PathText(folder), made.message()});
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
    outcome = extracted ? WriteVerified(*extracted, destination, seams, error)
                        : CopyVerified(step.source, destination, seams, error);
  }
  switch (outcome) {
    case PlaceOutcome::kPlaced:
      break;
    case PlaceOutcome::kExists:
      Compare(step, destination, extracted);
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
  const size_t workers = options.jobs == 0 ? DefaultScanJobs() : options.jobs;
  StepWorkers work(steps, target, options, seams, stop, std::min(workers, steps.size()));
  for (size_t i = 0; i < steps.size(); ++i) {
    report.StepStarted(i, steps.size(), steps[i]);
    if (!work.Wait(i)) {
      totals.stopped = true;
      break;
    }
    Count(totals, steps[i].action);
    ++totals.done;
    report.StepDone(i, steps[i]);
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
