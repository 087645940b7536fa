// SPDX-License-Identifier: GPL-2.0-or-later
// One scan of a source folder against a database: list the images, sort
// them, build the index, then load, identify and free every image, on one
// thread or on several workers at once. Either way the report comes in row
// order, from the thread that called RunScan. The Renamer window and
// moswit-cli run this same code; it reports through a ScanReport in the
// order the window shows things.
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "database/records.h"
#include "image/filecheck.h"
#include "scan/identify.h"
#include "scan/imagelist.h"

namespace moswit {

constexpr char kPreparingStatus[] = "Preparing ADF list ...";
constexpr char kReadyStatus[] = "Ready.";

// What the scan read of a row's file: the size and CRC-32 of the bytes it
// identified (for an archive, the archive file's own), or why the image
// could not be loaded.
struct RowFile {
  std::optional<FileCheck> check;
  std::string unreadable;
};

class ScanReport {
 public:
  virtual ~ScanReport() = default;
  virtual void Status(const std::string& text) = 0;
  // All rows removed; the list is hidden while it is filled.
  virtual void RowsCleared() = 0;
  // The sorted rows; the list is shown again.
  virtual void RowsListed(const std::vector<ImageRow>& rows) = 0;
  virtual void RowResult(size_t row, const std::string& line, bool hadCandidates) = 0;
  // What was read of the row's file, just before RowGames; its check only
  // when WantsFileChecks.
  virtual void RowRead(size_t /*row*/, const RowFile& /*file*/) {}
  // Whether each row's file gets its size and CRC-32 (a copy made later is
  // checked against them). They cost a CRC over every byte of every image,
  // which identification alone does not need.
  virtual bool WantsFileChecks() const { return false; }
  // The games the row's line names, just before RowResult; none for an
  // image that is unidentified or could not be loaded.
  virtual void RowGames(size_t /*row*/, const std::vector<GameMatch>& /*games*/) {}
  // Image `done` of `total` is being identified; follows its status text.
  virtual void Progress(size_t /*done*/, size_t /*total*/) {}
  // The scan is over: after "Ready.", or without it when it was stopped.
  virtual void Ended(bool /*stopped*/) {}
};

// "Scanning file i of n [p] / " + folder + caption, p = floor(i / n * 100).
std::string ScanningStatus(size_t i, size_t n, const std::string& folder,
                           const std::string& caption);

// The result line of an image that could not be loaded.
std::string UnreadableResult(const std::string& reason);

// The workers a scan uses when not told: one per processor core.
size_t DefaultScanJobs();

// Takes out the rows whose files lie in `folder` or below it, links
// followed: the images already copied to a target folder inside the source
// folder. An empty `folder` takes out nothing.
void DropRowsBelow(std::vector<ImageRow>& rows, const std::string& folder);

// Whether `inner` is `outer` or lies below it, links followed.
bool FolderLiesIn(const std::string& inner, const std::string& outer);

// Runs a whole scan. `jobs` workers identify the images (0: the default; 1:
// all on the calling thread), each holding one image at a time and running
// at most a few rows ahead of the report; the index and the database are
// only read. `stop`, when given and set, ends the scan while the folder is
// listed or between two images, without the final status; every worker has
// ended before Ended(true) is reported. The images in `skipFolder` and below
// it are not listed (DropRowsBelow).
void RunScan(const DatabaseInfo& database, const std::string& sourceFolder, ScanReport& report,
             const std::atomic<bool>* stop = nullptr, size_t jobs = 0,
             const std::string& skipFolder = {});

}  // namespace moswit
