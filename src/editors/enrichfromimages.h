// SPDX-License-Identifier: GPL-2.0-or-later
// Growing file-by-file knowledge: a disk the database knows only by the
// CRC-32 of a whole image (as a DAT lists a dump) gets the files, or the
// ranges, of an image below a folder that holds exactly those bytes, made as
// mkdid makes them. Its names and other fields stay, and so does the range
// it was known by.
//
// The work is cut in two so a window can keep the database to itself: the
// images are read against the keys the database wants (on a worker, with
// no database at hand), then the records they gave are added at once.
#pragma once

#include <atomic>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "database/records.h"
#include "editors/didfromimages.h"

namespace moswit {

// The size and CRC-32 of a whole image.
struct WholeImage {
  uint32_t size = 0;
  uint32_t crc32 = 0;
  auto operator<=>(const WholeImage&) const = default;
};

// The whole image the disk is known by (its WholeImageRange); false when it
// has none.
bool WholeImageOfDisk(const DiskRecord& disk, WholeImage& whole);

// The whole images the disks without file records are known by, sorted,
// each once.
std::vector<WholeImage> WantedWholeImages(const DatabaseInfo& database);

struct FoundImage {
  std::string path;  // as the listing found it
  WholeImage whole;
  DiskRecord records;  // its files, or ranges, as mkdid makes them
  std::string reason;  // why it gave no records; empty when it did
};

struct ImagesFound {
  // The first image of each wanted whole image, in listing order.
  std::vector<FoundImage> images;
  std::vector<ImageLeftOut> unreadable;  // images that could not be loaded
  size_t listed = 0;
  bool stopped = false;
};

// Called before each image is loaded: images done so far, and all listed.
using EnrichProgress = std::function<void(size_t done, size_t total)>;

// Lists the images below `folder` as the Renamer does and reads each once,
// taking its CRC-32 only when a wanted whole image has its size (`wanted`
// sorted, as WantedWholeImages gives it). `stop`, when set, ends the work
// between two images.
ImagesFound FindWholeImages(const std::string& folder, std::span<const WholeImage> wanted,
                            const std::atomic<bool>* stop = nullptr,
                            const EnrichProgress& progress = {});

struct DiskEnriched {
  const GameRecord* game = nullptr;
  const DiskRecord* disk = nullptr;
  std::string path;  // the image the records came from
  size_t added = 0;  // files and ranges
};

struct Enrichment {
  std::vector<DiskEnriched> disks;  // in database order
  // Images whose bytes a disk wants but whose records could not be made.
  std::vector<ImageLeftOut> leftOut;
};

// Adds to every disk without file records, whose whole-image range one of
// `images` matches, that image's records: every file, and the ranges the
// disk does not hold yet (same bytes, same CRC), so enriching twice adds
// nothing. A disk to which nothing was added is not listed.
Enrichment EnrichDisks(DatabaseInfo& database, std::span<const FoundImage> images);

// The DID Editor's texts: its menu entry, the folder dialog's title, the
// line shown while images are read, and the summary at the end.
constexpr char kEnrichCaption[] = "Enrich from images...";
constexpr char kEnrichFolderTitle[] = "Select the folder of the images to enrich from";
std::string EnrichProgressText(size_t done, size_t total);
std::string EnrichSummary(const Enrichment& enrichment, const ImagesFound& found);

}  // namespace moswit
