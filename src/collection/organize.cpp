// SPDX-License-Identifier: GPL-2.0-or-later
#include "collection/organize.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "base/asciicase.h"
#include "base/pathtext.h"
#include "base/platformfile.h"
#include "collection/destinationname.h"
#include "image/adf.h"
#include "scan/scanner.h"

namespace moswit {

namespace {

bool Present(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(PathFromText(path), error));
}

// Whether what is at `path` cannot be the image: no regular file, or one of
// another size than the file the scan identified.
bool CannotBeTheImage(const std::string& path, const std::optional<FileCheck>& expected) {
  std::error_code error;
  const std::filesystem::path file = PathFromText(path);
  if (!std::filesystem::is_regular_file(file, error)) return true;
  const uintmax_t size = std::filesystem::file_size(file, error);
  return !error && expected && size != expected->size;
}

// An existing destination: left alone, and "same" only when it holds the
// image the scan identified; without that, when it holds the source's bytes
// (`extracted`, for a member of an archive).
void Compare(OrganizeStep& step, const std::string& destination,
             const std::optional<std::vector<uint8_t>>& extracted) {
  if (step.expected) {
    // Only a regular file is read: a pipe put there could hold the step.
    const std::optional<FileCheck> there =
        CannotBeTheImage(destination, step.expected) ? std::nullopt : CheckFile(destination);
    if (there && *there == *step.expected) {
      step.action = OrganizeAction::kSame;
    } else {
      step.action = OrganizeAction::kConflict;
      step.error = destination + ": " + kOtherBytesThere;
    }
    return;
  }
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

// The names in the destination folders, each folder listed once, by their
// a-z upper case: what a destination's name may clash with in case only.
class FolderNames {
 public:
  // The name in the folder of `path` that equals its name but for a-z
  // case; nothing when there is none, or only the name itself.
  std::optional<std::string> OtherCase(const std::string& path) {
    const std::filesystem::path full = PathFromText(path);
    const std::string name = PathText(full.filename());
    const Names& names = Listing(PathText(full.parent_path()));
    const auto found = names.find(UpperCase(name));
    if (found == names.end() || found->second.contains(name)) return std::nullopt;
    return *found->second.begin();
  }

 private:
  using Names = std::unordered_map<std::string, std::set<std::string>>;

  const Names& Listing(const std::string& folder) {
    auto [at, isNew] = folders_.try_emplace(folder);
    if (!isNew) return at->second;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(PathFromText(folder), error), end;
         !error && entry != end; entry.increment(error)) {
      const std::string name = PathText(entry->path().filename());
      at->second[UpperCase(name)].insert(name);
    }
    return at->second;
  }

  std::unordered_map<std::string, Names> folders_;
};

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
  FolderNames there;
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
    step.expected = image.file;
    const std::string path = DestinationPath(target, step);
    step.action = OrganizeAction::kConflict;
    if (!taken.insert(UpperCase(step.destination)).second) {
      step.error = path + ": " + kNameTaken;
      continue;
    }
    if (there.OtherCase(path)) {
      step.error = path + ": " + kOtherCaseThere;
      continue;
    }
    step.exists = Present(path);
    if (step.exists && CannotBeTheImage(path, step.expected)) {
      step.error = path + ": " + kOtherBytesThere;
      continue;
    }
    // A member of an archive has no file of its own to link to.
    step.action = options.link && step.member == kFirstImageMember ? OrganizeAction::kLink
                                                                   : OrganizeAction::kCopy;
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
  if (options.dryRun) {
    const std::filesystem::path folder = PathFromText(destination).parent_path();
    if (const int trouble = FolderWritable(folder)) {
      step.action = OrganizeAction::kFailed;
      step.error = FormatFileError({PathText(folder), std::strerror(trouble)});
    }
    return;
  }
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
    outcome = LinkNoReplace(step.source, destination, seams, error, step.expected);
    // Another file system, or one without links: a copy instead.
    if (outcome == PlaceOutcome::kFailed) step.action = OrganizeAction::kCopy;
  }
  if (step.action == OrganizeAction::kCopy) {
    outcome = extracted
                  ? WriteVerified(*extracted, step.source, destination, seams, error, step.expected)
                  : CopyVerified(step.source, destination, seams, error, step.expected);
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
  if (!options.dryRun) {
    std::set<std::string> folders;
    for (const OrganizeStep& step : steps) {
      folders.insert(PathText(PathFromText(DestinationPath(target, step)).parent_path()));
    }
    for (const std::string& folder : folders) RemoveLeftoverTemporaries(folder);
  }
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
