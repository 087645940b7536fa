// SPDX-License-Identifier: GPL-2.0-or-later
// The collection seen from the database: for every disk of the DID, the
// best image a scan found for it and whether the collection has it in a
// good copy (have), only in a lesser one (partial) or not at all (missing);
// and the images that name no disk (unknown).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/fileerror.h"
#include "database/records.h"
#include "scan/scanoutcomes.h"

namespace moswit {

enum class DiskStatus { kHave, kPartial, kMissing };

constexpr size_t kNoImage = SIZE_MAX;

struct DiskEntry {
  const GameRecord* game = nullptr;
  const DiskRecord* disk = nullptr;
  std::string name;  // its standard name
  DiskStatus status = DiskStatus::kMissing;
  size_t best = kNoImage;  // the best image, an index into the images
  uint32_t accuracy = 0;   // the best image's accuracy and codes for this disk
  std::string codes;
  uint32_t differences = 0;
  size_t images = 0;  // how many images name this disk
};

struct CollectionReport {
  std::vector<ImageOutcome> images;  // in listing order
  std::vector<DiskEntry> disks;      // in the order of the DID file
  std::vector<size_t> unknown;       // the images that name no disk
};

// The disks of the DID in its order, each with its standard name and no
// image yet: the part of a report that needs no scan.
std::vector<DiskEntry> DiskEntries(const DatabaseInfo& database);

// Every image fills at most one disk (FilledDisk of its line). A disk's best
// image: among the images filling it, the highest accuracy; then the fewest
// differences (so one without codes first); then the first listed. The disk
// is "have" when that image is at 1000 without codes. An image that names
// no disk is unknown.
CollectionReport BuildCollectionReport(std::vector<DiskEntry> disks, ScanOutcomes outcomes);
CollectionReport BuildCollectionReport(const DatabaseInfo& database, ScanOutcomes outcomes);

// Scans `folder` as RunScan does (on `jobs` workers, nothing in
// `skipFolder` or below) and builds its report; the DID's part is made on a
// thread of its own meanwhile. `progress`, when given, gets every report of
// the scan. With `checkFiles`, each image's file gets the size and CRC-32
// that copies of it are checked against (organizing needs them, a report
// does not).
CollectionReport ScanCollection(const DatabaseInfo& database, const std::string& folder,
                                ScanReport* progress = nullptr, size_t jobs = 0,
                                const std::string& skipFolder = {}, bool checkFiles = true);

// "have", "partial", "missing".
const char* StatusWord(DiskStatus status);

// One line per disk, then one per unknown image, each of six fields
// separated by TAB and ended by "\n": status, standard name, best image
// below the source folder, accuracy, codes, number of images naming the
// disk. Fields that do not apply are empty (a disk no image names counts
// 0); an image that could not be read has the reason in its codes field.
// UTF-8: the standard names converted from the DID's Windows-1252, the paths
// as the system gives them.
std::string ReportText(const CollectionReport& report);

// Writes ReportText to `path`; the error when it cannot.
std::optional<FileError> WriteReport(const std::string& path, const CollectionReport& report);

// "D disks: H have, P partial, M missing; U unknown images".
std::string ReportSummary(const CollectionReport& report);

struct StatusCounts {
  size_t have = 0;
  size_t partial = 0;
  size_t missing = 0;
};
StatusCounts CountStatuses(const CollectionReport& report);

}  // namespace moswit
