// SPDX-License-Identifier: GPL-2.0-or-later
// What a scan found, image by image, kept for the collection report: each
// image's path below the source folder, its ending and the games its result
// line names.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

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
  std::vector<GameMatch> games;
};

// The ending a copy of the row's image gets, lower case (a-z only): ".adf"
// for a member of an archive (copied out of it as a plain image), otherwise
// the file's image ending (".adz", ".adf.gz", ...), or what follows the last
// dot of its name when it has none.
std::string RowEnding(const ImageRow& row);

// Takes out the images whose files lie in `folder` or below it, links
// followed; an empty `folder` takes out nothing.
void DropOutcomesBelow(std::vector<ImageOutcome>& outcomes, const std::string& folder);

// A ScanReport that keeps every listed image's outcome and passes each
// report on, unchanged and in order, to `next` when one is given.
class OutcomeRecorder : public ScanReport {
 public:
  explicit OutcomeRecorder(const std::string& sourceFolder, ScanReport* next = nullptr);

  void Status(const std::string& text) override;
  void RowsCleared() override;
  void RowsListed(const std::vector<ImageRow>& rows) override;
  void RowGames(size_t row, const std::vector<GameMatch>& games) override;
  void RowResult(size_t row, const std::string& line, bool hadCandidates) override;
  void Progress(size_t done, size_t total) override;
  void Ended(bool stopped) override;

  // The images in row order; complete once the scan ended without a stop.
  const std::vector<ImageOutcome>& Outcomes() const { return outcomes_; }
  std::vector<ImageOutcome> TakeOutcomes() { return std::move(outcomes_); }
  bool Complete() const { return complete_; }

 private:
  std::string folder_;
  ScanReport* next_;
  std::vector<ImageOutcome> outcomes_;
  bool complete_ = false;
};

}  // namespace moswit
