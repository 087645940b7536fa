// SPDX-License-Identifier: GPL-2.0-or-later
// What a scan found, image by image, kept for the collection report: each
// image's path below the source folder, its ending, the one disk its result
// line can fill, why it could not be read and the size and CRC-32 of the
// file it identified; and for every disk how many lines name it. Only this
// is kept, so the memory of a scan whose every line names every game grows
// with the images and the disks, not with their product.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "image/filecheck.h"
#include "scan/identify.h"
#include "scan/scanner.h"

namespace moswit {

struct ImageOutcome {
  std::string path;  // the file as the listing found it
  // Below the source folder, with its ending; for a member of an archive
  // the archive's, "/" and the member's name.
  std::string relative;
  std::string ending;                   // of a copy of the image, lower case: ".adf"
  uint32_t member = kFirstImageMember;  // the archive member the row loaded
  std::optional<GameMatch> fills;       // FilledDisk of its line; nothing when it names none
  std::string unreadable;               // why the image could not be loaded
  std::optional<FileCheck> file;        // the file (or member) the scan identified
};

struct ScanOutcomes {
  std::vector<ImageOutcome> images;                       // in row order
  std::unordered_map<const DiskRecord*, size_t> namedBy;  // lines naming each disk
};

// The one disk an image fills, of those its line names: the highest
// accuracy, then the fewest differences, then the first. Nothing for none.
const GameMatch* FilledDisk(const std::vector<GameMatch>& games);

// Takes image `image`'s line: the disk it fills, and a count for every disk
// it names.
void AddLine(ScanOutcomes& outcomes, size_t image, const std::vector<GameMatch>& games);

// The ending a copy of the row's image gets, lower case (a-z only): ".adf"
// for a member of an archive (copied out of it as a plain image), otherwise
// the file's image ending (".adz", ".adf.gz", ...), or what follows the last
// dot of its name when it has none.
std::string RowEnding(const ImageRow& row);

// Takes out the images whose files lie in `folder` or below it, links
// followed; an empty `folder` takes out nothing. The counts of lines naming
// a disk stay those of the whole scan.
void DropOutcomesBelow(std::vector<ImageOutcome>& outcomes, const std::string& folder);

// A ScanReport that keeps every listed image's outcome and passes each
// report on, unchanged and in order, to `next` when one is given. With
// `checkFiles` each image's file gets its size and CRC-32, which copies of
// it are checked against.
class OutcomeRecorder : public ScanReport {
 public:
  explicit OutcomeRecorder(const std::string& sourceFolder, ScanReport* next = nullptr,
                           bool checkFiles = true);

  void Status(const std::string& text) override;
  void RowsCleared() override;
  void RowsListed(const std::vector<ImageRow>& rows) override;
  void RowRead(size_t row, const RowFile& file) override;
  void RowGames(size_t row, const std::vector<GameMatch>& games) override;
  void RowResult(size_t row, const std::string& line, bool hadCandidates) override;
  void Progress(size_t done, size_t total) override;
  void Ended(bool stopped) override;
  bool WantsFileChecks() const override { return checkFiles_; }

  // The images in row order; complete once the scan ended without a stop.
  const ScanOutcomes& Outcomes() const { return outcomes_; }
  ScanOutcomes TakeOutcomes() { return std::move(outcomes_); }
  bool Complete() const { return complete_; }

 private:
  std::string folder_;
  ScanReport* next_;
  bool checkFiles_;
  ScanOutcomes outcomes_;
  bool complete_ = false;
};

}  // namespace moswit
