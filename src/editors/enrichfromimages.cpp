// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/enrichfromimages.h"

#include <algorithm>
#include <map>
#include <utility>

#include "base/numbertext.h"
#include "dat/wholeimage.h"
#include "image/crc32.h"
#include "scan/imagelist.h"

namespace moswit {

namespace {

// The disk's whole image when it has no file records and a range from byte
// 0 that `found` holds: the first such range's image.
const FoundImage* ImageOfDisk(const DiskRecord& disk,
                              const std::map<WholeImage, const FoundImage*>& found) {
  WholeImage whole;
  if (!disk.files.Empty() || !WholeImageOfDisk(disk, whole)) return nullptr;
  const auto it = found.find(whole);
  return it == found.end() ? nullptr : it->second;
}

bool HoldsRange(const DiskRecord& disk, const RangeRecord& range) {
  return std::any_of(disk.ranges.begin(), disk.ranges.end(), [&](const RangeRecord& held) {
    return held.firstByte == range.firstByte && held.lastByte == range.lastByte &&
           held.crc32 == range.crc32;
  });
}

size_t AddRecords(DiskRecord& disk, const DiskRecord& records) {
  size_t added = 0;
  for (const FileRecord& file : records.files) {
    AppendFile(disk) = file;
    ++added;
  }
  for (const RangeRecord& range : records.ranges) {
    if (HoldsRange(disk, range)) continue;
    AppendRange(disk) = range;
    ++added;
  }
  return added;
}

std::string Count(size_t n, const char* one, const char* many) {
  return IntToDec(static_cast<uint32_t>(n)) + " " + (n == 1 ? one : many);
}

// The summary lists at most this many images that gave nothing.
constexpr size_t kTroublesShown = 10;

}  // namespace

bool WholeImageOfDisk(const DiskRecord& disk, WholeImage& whole) {
  const RangeRecord* range = WholeImageRange(disk);
  // A last byte of 0xFFFFFFFF would make a size no image can have.
  if (range == nullptr || range->lastByte == UINT32_MAX) return false;
  whole = {range->lastByte + 1, range->crc32};
  return true;
}

std::vector<WholeImage> WantedWholeImages(const DatabaseInfo& database) {
  std::vector<WholeImage> wanted;
  for (const GameRecord& game : database.games) {
    for (const DiskRecord& disk : game.disks) {
      WholeImage whole;
      if (disk.files.Empty() && WholeImageOfDisk(disk, whole)) wanted.push_back(whole);
    }
  }
  std::sort(wanted.begin(), wanted.end());
  wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
  return wanted;
}

ImagesFound FindWholeImages(const std::string& folder, std::span<const WholeImage> wanted,
                            const std::atomic<bool>* stop, const EnrichProgress& progress) {
  ImagesFound found;
  std::vector<ImageRow> rows = ListImages(WithTrailingSeparator(folder), stop);
  SortRows(rows);
  found.listed = rows.size();
  // Whole images already found: a later image with the same bytes adds nothing.
  std::vector<bool> taken(wanted.size(), false);
  tADF image;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (stop != nullptr && stop->load()) {
      found.stopped = true;
      break;
    }
    if (progress) progress(i, rows.size());
    FileError error;
    if (!LoadImageInto(rows[i].path, image, &error)) {
      found.unreadable.push_back({rows[i].path, error.message});
      continue;
    }
    const auto sized = std::lower_bound(wanted.begin(), wanted.end(), WholeImage{image.Size, 0});
    if (sized == wanted.end() || sized->size != image.Size) continue;
    const WholeImage whole{image.Size, Crc32(image.Data)};
    const auto match = std::lower_bound(sized, wanted.end(), whole);
    if (match == wanted.end() || *match != whole) continue;
    const size_t index = static_cast<size_t>(match - wanted.begin());
    if (taken[index]) continue;
    taken[index] = true;
    FoundImage& entry = found.images.emplace_back();
    entry.path = rows[i].path;
    entry.whole = whole;
    entry.reason = AppendImageRecords(image, entry.records);
  }
  if (stop != nullptr && stop->load()) found.stopped = true;
  return found;
}

Enrichment EnrichDisks(DatabaseInfo& database, std::span<const FoundImage> images) {
  std::map<WholeImage, const FoundImage*> byWhole;
  for (const FoundImage& image : images) byWhole.emplace(image.whole, &image);
  Enrichment enrichment;
  std::vector<const FoundImage*> leftOut;
  for (const GameRecord& game : database.games) {
    for (DiskRecord& disk : game.disks) {
      const FoundImage* image = ImageOfDisk(disk, byWhole);
      if (image == nullptr) continue;
      if (!image->reason.empty()) {
        if (std::find(leftOut.begin(), leftOut.end(), image) == leftOut.end()) {
          leftOut.push_back(image);
          enrichment.leftOut.push_back({image->path, image->reason});
        }
        continue;
      }
      const size_t added = AddRecords(disk, image->records);
      if (added > 0) enrichment.disks.push_back({&game, &disk, image->path, added});
    }
  }
  return enrichment;
}

std::string EnrichProgressText(size_t done, size_t total) {
  return "Reading image " + IntToDec(static_cast<uint32_t>(done + 1)) + " of " +
         IntToDec(static_cast<uint32_t>(total)) + " ...";
}

std::string EnrichSummary(const Enrichment& enrichment, const ImagesFound& found) {
  std::string text = Count(enrichment.disks.size(), "disk", "disks") + " enriched from " +
                     Count(found.listed, "image", "images") + " below the folder.";
  if (found.stopped) text += " Stopped before every image was read.";
  std::vector<const ImageLeftOut*> troubles;
  for (const ImageLeftOut& image : enrichment.leftOut) troubles.push_back(&image);
  for (const ImageLeftOut& image : found.unreadable) troubles.push_back(&image);
  if (troubles.empty()) return text;
  text += "\n\n" + Count(troubles.size(), "image gave", "images gave") + " nothing:";
  for (size_t i = 0; i < troubles.size() && i < kTroublesShown; ++i) {
    text += "\n" + troubles[i]->path + ": " + troubles[i]->reason;
  }
  if (troubles.size() > kTroublesShown) {
    text +=
        "\n... and " + IntToDec(static_cast<uint32_t>(troubles.size() - kTroublesShown)) + " more";
  }
  return text;
}

}  // namespace moswit
