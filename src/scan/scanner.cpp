// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/scanner.h"

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "base/numbertext.h"
#include "base/pathtext.h"
#include "image/adf.h"
#include "image/blockcrcs.h"
#include "scan/identify.h"
#include "scan/matchindex.h"

namespace moswit {

namespace {

// Rows a worker may identify ahead of the report. Results are small, and a
// worker holds only the image it is identifying, so memory stays a few
// images per worker whatever the folder's size.
constexpr size_t kAheadPerWorker = 4;

struct RowOutcome {
  std::string line;
  bool hadCandidates = false;
  std::vector<GameMatch> games;
  RowFile file;
};

// What a thread identifying images keeps from one image to the next: one
// image buffer and its block CRCs, taken as the image is read.
struct ImageSlot {
  ImageSlot(const MatchIndex& index, bool withFileChecks) : checkFiles(withFileChecks) {
    crcs.TakeWholeAt(index.wholeBlocksFrom);
  }
  bool checkFiles;
  tADF image;
  BlockCrcs crcs;
};

// Loads the row's image into the slot and identifies it.
RowOutcome IdentifyRow(const ImageRow& row, const MatchIndex& index, ImageSlot& slot) {
  FileError error;
  FileCheck check;
  if (!LoadImageInto(row.path, slot.image, slot.crcs, &error, row.member,
                     slot.checkFiles ? &check : nullptr)) {
    return {UnreadableResult(error.message), false, {}, {std::nullopt, error.message}};
  }
  IdentifyResult result = IdentifyImage(slot.image, index, slot.crcs);
  RowFile file;
  if (slot.checkFiles) file.check = check;
  return {std::move(result.line), result.hadCandidates, std::move(result.games), std::move(file)};
}

// Asks the system to read the image `distance` rows ahead of the one being
// loaded, while the folder's images come from the disk. Every eighth row is
// probed; the rows up to the next probe are advised only when the probe
// found its file uncached, so a folder already in the cache costs no more
// than one probe per eight images.
class ReadAhead {
 public:
  ReadAhead(const std::vector<ImageRow>& rows, size_t distance) : rows_(rows), distance_(distance) {
    for (size_t row = 0; row < std::min(distance_, rows_.size()); ++row) Advise(row);
  }

  // Called as `row` is taken for loading; from any worker.
  void Taken(size_t row) { Advise(row + distance_); }

 private:
  static constexpr size_t kProbeEvery = 8;

  void Advise(size_t row) {
    if (row >= rows_.size()) return;
    if (row % kProbeEvery == 0) {
      cold_.store(AdviseReadAhead(rows_[row].path), std::memory_order_relaxed);
    } else if (cold_.load(std::memory_order_relaxed)) {
      AdviseReadAhead(rows_[row].path);
    }
  }

  const std::vector<ImageRow>& rows_;
  const size_t distance_;
  std::atomic<bool> cold_{true};
};

// Workers take rows in order and put each outcome into a ring of slots,
// one per row that may be ahead of the report; the reporting thread takes
// them back out in row order. A worker takes a new row only while the report
// is less than a ring's length behind it, and never once a stop is seen.
class Pipeline {
 public:
  Pipeline(const std::vector<ImageRow>& rows, const MatchIndex& index,
           const std::atomic<bool>* stop, size_t workers, bool checkFiles)
      : rows_(rows),
        index_(index),
        checkFiles_(checkFiles),
        stop_(stop),
        ring_(workers * kAheadPerWorker),
        readAhead_(rows, 2 * workers),
        slots_(ring_) {
    running_ = workers;
    threads_.reserve(workers);
    for (size_t w = 0; w < workers; ++w) threads_.emplace_back([this] { Work(); });
  }

  ~Pipeline() { Finish(); }
  Pipeline(const Pipeline&) = delete;
  Pipeline& operator=(const Pipeline&) = delete;

  // The outcome of `row`, waiting for it; false when the workers stopped
  // before identifying it.
  bool Take(size_t row, RowOutcome& outcome) {
    std::unique_lock lock(mutex_);
    Slot& slot = slots_[row % ring_];
    waiting_ = row;
    ready_.wait(lock, [&] { return slot.row == row || running_ == 0; });
    waiting_ = SIZE_MAX;
    if (slot.row != row) return false;
    outcome = std::move(slot.outcome);
    reported_ = row + 1;
    const bool wake = workersWaiting_ > 0;
    lock.unlock();
    if (wake) room_.notify_all();
    return true;
  }

  // Lets every worker end after its current image and waits for them.
  void Finish() {
    {
      std::lock_guard lock(mutex_);
      finishing_ = true;
    }
    room_.notify_all();
    for (std::thread& thread : threads_) {
      if (thread.joinable()) thread.join();
    }
  }

 private:
  struct Slot {
    size_t row = SIZE_MAX;
    RowOutcome outcome;
  };

  bool Stopped() const { return stop_ && stop_->load(std::memory_order_relaxed); }

  void Work() {
    ImageSlot slot(index_, checkFiles_);
    std::unique_lock lock(mutex_);
    for (;;) {
      ++workersWaiting_;
      room_.wait(lock, [this] { return finishing_ || next_ < reported_ + ring_; });
      --workersWaiting_;
      if (finishing_ || next_ >= rows_.size() || Stopped()) break;
      const size_t row = next_++;
      lock.unlock();
      readAhead_.Taken(row);
      RowOutcome outcome = IdentifyRow(rows_[row], index_, slot);
      lock.lock();
      slots_[row % ring_] = {row, std::move(outcome)};
      // Only the row the report waits for wakes it.
      if (waiting_ == row) ready_.notify_one();
    }
    --running_;
    ready_.notify_one();
  }

  const std::vector<ImageRow>& rows_;
  const MatchIndex& index_;
  const bool checkFiles_;
  const std::atomic<bool>* stop_;
  const size_t ring_;
  ReadAhead readAhead_;

  std::mutex mutex_;
  std::condition_variable ready_;  // an outcome was put, or a worker ended
  std::condition_variable room_;   // the report took an outcome, or finishing
  std::vector<Slot> slots_;
  size_t next_ = 0;            // the next row a worker takes
  size_t reported_ = 0;        // rows the report has taken
  size_t running_ = 0;         // workers not yet ended
  size_t waiting_ = SIZE_MAX;  // the row the report waits for
  size_t workersWaiting_ = 0;  // workers waiting for room in the ring
  bool finishing_ = false;
  std::vector<std::thread> threads_;
};

// `folder` absolute, links resolved, without a separator at its end (a part
// that does not exist yet is kept as written); empty for an empty text.
std::filesystem::path CanonicalFolder(const std::string& folder) {
  if (folder.empty()) return {};
  std::error_code error;
  std::filesystem::path path = std::filesystem::weakly_canonical(PathFromText(folder), error);
  if (error) return {};
  path = path.lexically_normal();
  if (path.has_relative_path() && !path.has_filename()) path = path.parent_path();
  return path;
}

// Whether `inner` is `outer` or below it, both as CanonicalFolder gives them.
bool LiesIn(const std::filesystem::path& inner, const std::filesystem::path& outer) {
  if (inner.empty() || outer.empty()) return false;
  auto i = inner.begin();
  for (auto o = outer.begin(); o != outer.end(); ++o, ++i) {
    if (i == inner.end() || *i != *o) return false;
  }
  return true;
}

}  // namespace

std::string ScanningStatus(size_t i, size_t n, const std::string& folder,
                           const std::string& caption) {
  const auto percent = TruncatedRatio(static_cast<uint32_t>(i), static_cast<uint32_t>(n), 100);
  return "Scanning file " + IntToDec(static_cast<uint32_t>(i)) + " of " +
         IntToDec(static_cast<uint32_t>(n)) + " [" + IntToDec(percent) + "] / " + folder + caption;
}

std::string UnreadableResult(const std::string& reason) { return "<unreadable: " + reason + ">"; }

bool FolderLiesIn(const std::string& inner, const std::string& outer) {
  return LiesIn(CanonicalFolder(inner), CanonicalFolder(outer));
}

void DropRowsBelow(std::vector<ImageRow>& rows, const std::string& folder) {
  const std::filesystem::path outer = CanonicalFolder(folder);
  if (outer.empty()) return;
  // Rows come folder by folder, so each folder is resolved once.
  std::map<std::string, bool, std::less<>> below;
  std::erase_if(rows, [&](const ImageRow& row) {
    const std::string parent = PathText(PathFromText(row.path).parent_path());
    auto [known, isNew] = below.try_emplace(parent, false);
    if (isNew) known->second = LiesIn(CanonicalFolder(parent), outer);
    return known->second;
  });
}

size_t DefaultScanJobs() { return std::max(1u, std::thread::hardware_concurrency()); }

void RunScan(const DatabaseInfo& database, const std::string& sourceFolder, ScanReport& report,
             const std::atomic<bool>* stop, size_t jobs, const std::string& skipFolder) {
  if (jobs == 0) jobs = DefaultScanJobs();
  report.Status(kPreparingStatus);
  report.RowsCleared();
  const std::string folder = WithTrailingSeparator(sourceFolder);
  const auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };
  // With workers, the folder is listed while this thread builds the index.
  std::vector<ImageRow> rows;
  MatchIndexPtr index;
  if (jobs > 1) {
    std::thread listing([&] { rows = ListImages(folder, stop); });
    index = BuildMatchIndex(database);
    listing.join();
  } else {
    rows = ListImages(folder, stop);
  }
  if (stopped()) {
    report.Ended(true);
    return;
  }
  DropRowsBelow(rows, skipFolder);
  SortRows(rows);
  report.RowsListed(rows);
  if (!index) index = BuildMatchIndex(database);
  const size_t n = rows.size();
  std::unique_ptr<Pipeline> pipeline;
  std::unique_ptr<ReadAhead> readAhead;
  std::unique_ptr<ImageSlot> slot;  // the one image of a scan on this thread
  if (std::min(jobs, n) > 1) {
    pipeline =
        std::make_unique<Pipeline>(rows, *index, stop, std::min(jobs, n), report.WantsFileChecks());
  } else {
    readAhead = std::make_unique<ReadAhead>(rows, 2);
    slot = std::make_unique<ImageSlot>(*index, report.WantsFileChecks());
  }
  for (size_t i = 0; i < n; ++i) {
    bool ended = stopped();
    RowOutcome outcome;
    if (!ended) {
      report.Status(ScanningStatus(i + 1, n, folder, rows[i].caption));
      report.Progress(i + 1, n);
      if (pipeline) {
        ended = !pipeline->Take(i, outcome);
      } else {
        readAhead->Taken(i);
        outcome = IdentifyRow(rows[i], *index, *slot);
      }
    }
    if (ended) {
      pipeline.reset();
      report.Ended(true);
      return;
    }
    report.RowRead(i, outcome.file);
    report.RowGames(i, outcome.games);
    report.RowResult(i, outcome.line, outcome.hadCandidates);
  }
  pipeline.reset();
  FreeMatchIndex(index);
  report.Status(kReadyStatus);
  report.Ended(false);
}

}  // namespace moswit
