// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/didfromimages.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <utility>

#include "base/codepage.h"
#include "base/numbertext.h"
#include "base/pathtext.h"
#include "database/standardnamereader.h"
#include "diskcontents/addtodisk.h"
#include "diskcontents/diskproperties.h"
#include "image/crc32.h"
#include "image/filesystem.h"
#include "scan/imagelist.h"

namespace moswit {

namespace {

// A record text turns '"' into '\'' and line breaks into blanks; "?" in
// their place keeps the path matching the file on the image.
std::string PathPattern(const std::string& path) {
  std::string pattern = path;
  for (char& c : pattern) {
    if (c == '"' || c == '\r' || c == '\n') c = '?';
  }
  return pattern;
}

RangeRecord& AppendGameRange(DiskRecord& disk, const tADF& image, uint32_t first, uint32_t last) {
  RangeRecord& range = AppendRange(disk);
  range.firstByte = first;
  range.lastByte = last;
  range.crc32 = Crc32(std::span<const uint8_t>(image.Data.data() + first, last - first + 1));
  range.attributes = kRangeAttributes;
  return range;
}

// A block of one repeated byte would nominate the disk for every image that
// holds such a block, so only blocks with differing bytes are taken.
unsigned AppendTellingBlocks(DiskRecord& disk, const tADF& image) {
  unsigned taken = 0;
  for (uint32_t block = 0; block < BlockCount(image) && taken < kTellingBlocks; ++block) {
    const uint8_t* data = BlockData(image, block);
    if (std::all_of(data, data + kBlockSize, [data](uint8_t byte) { return byte == data[0]; })) {
      continue;
    }
    const uint32_t first = block * kBlockSize;
    AppendGameRange(disk, image, first, first + kBlockSize - 1);
    ++taken;
  }
  return taken;
}

struct Pending {
  size_t order = 0;
  std::string path;
  DiskRecord disk;
};

// The images of one game: slot k - 1 holds disk k.
struct ImageSet {
  NameReading reading;
  std::vector<std::optional<Pending>> disks;
};

}  // namespace

std::vector<ImageRow> ImagesOfArguments(const std::vector<std::string>& arguments) {
  std::vector<ImageRow> images;
  for (const std::string& argument : arguments) {
    std::error_code error;
    if (!std::filesystem::is_directory(PathFromText(argument), error)) {
      AppendImageRows(argument, argument, images);
      continue;
    }
    std::vector<ImageRow> rows = ListImages(WithTrailingSeparator(argument));
    SortRows(rows);
    for (ImageRow& row : rows) images.push_back(std::move(row));
  }
  return images;
}

std::string ImageRowPath(const ImageRow& image) {
  if (image.member == kFirstImageMember) return image.path;
  return image.path + kPathSeparator + image.memberName;
}

std::string FillDiskFromImage(const tADF& image, DiskRecord& disk) {
  const DiskProperties properties = ReadDiskProperties(image);
  if (properties.DiskName == kNoDosName) {
    disk.name.Clear();
  } else {
    disk.name = properties.DiskName;
  }
  disk.nameMustMatch = 0;
  return AppendImageRecords(image, disk);
}

std::string AppendImageRecords(const tADF& image, DiskRecord& disk) {
  // Files marked "Exclude" stay out of the identification index, so a disk
  // of excluded files alone needs blocks to be nominated by.
  bool nominated = false;
  for (const FileEntry& file : ListFiles(image, ImageIsFfs(image))) {
    if (file.Status != 0) {
      return "file " + Utf8FromCp1252(file.Path) + " cannot be read (block status " +
             IntToHex(file.Status, 8) + ")";
    }
    FileRecord& record = AppendFile(disk);
    record.path = PathPattern(file.Path);
    record.size = file.Size;
    record.crc32 = file.Crc;
    record.attributes = PresetAttributes(file.Path);
    if ((record.attributes & kAttrExclude) == 0) nominated = true;
  }
  if (disk.files.Empty()) {
    for (uint32_t first = 0; first < image.Size; first += kTrackBytes) {
      AppendGameRange(disk, image, first, std::min(first + kTrackBytes, image.Size) - 1);
    }
  }
  if (!nominated && AppendTellingBlocks(disk, image) == 0) {
    return "no block with differing bytes, so identification could not nominate its disk";
  }
  return {};
}

std::string LettersReplacedWarning(size_t count) {
  return std::to_string(count) + (count == 1 ? " letter" : " letters") +
         " of the file names cannot be held in Windows-1252, the DID's code page, and became \"" +
         kCp1252Replacement + "\"";
}

DidFromImages BuildDidFromImages(const std::vector<ImageRow>& images, std::string_view didPath) {
  DidFromImages result;
  result.database = CreateDatabase(didPath);
  result.lettersReplaced = Cp1252FromUtf8(didPath).replaced;

  std::vector<ImageSet> sets;
  std::map<std::pair<std::string, unsigned>, std::vector<size_t>> setsByName;
  std::set<std::pair<std::string, uint32_t>> seen;
  for (size_t order = 0; order < images.size(); ++order) {
    const ImageRow& row = images[order];
    const std::string path = ImageRowPath(row);
    std::error_code canonicalError;
    const std::filesystem::path canonical =
        std::filesystem::weakly_canonical(PathFromText(row.path), canonicalError);
    if (!seen.insert({canonicalError ? row.path : PathText(canonical), row.member}).second) {
      continue;
    }

    FileError error;
    ImagePtr image = LoadImage(row.path, &error, row.member);
    if (!image) {
      result.leftOut.push_back({path, error.message});
      continue;
    }
    Pending pending{order, path, DiskRecord()};
    std::string reason = FillDiskFromImage(*image, pending.disk);
    image.reset();
    if (!reason.empty()) {
      result.leftOut.push_back({path, std::move(reason)});
      continue;
    }

    // The name is read from the file's (or member's) name, in the DID's
    // code page.
    const Cp1252Text stem =
        Cp1252FromUtf8(ImageFileStem(row.member == kFirstImageMember ? row.path : row.memberName));
    result.lettersReplaced += stem.replaced;
    if (std::optional<LargeSet> large = SetTooLarge(stem.text)) {
      const bool known =
          std::any_of(result.tooLarge.begin(), result.tooLarge.end(),
                      [&](const LargeSet& set) { return set.setName == large->setName; });
      if (!known) result.tooLarge.push_back(std::move(*large));
    }
    NameReading reading = ReadStandardName(stem.text);
    std::vector<size_t>& named = setsByName[{reading.setName, reading.diskCount}];
    const size_t slot = reading.diskNumber - 1;
    auto withRoom = std::find_if(named.begin(), named.end(),
                                 [&](size_t s) { return !sets[s].disks[slot].has_value(); });
    ImageSet* set = nullptr;
    if (withRoom != named.end()) {
      set = &sets[*withRoom];
    } else {
      named.push_back(sets.size());
      set = &sets.emplace_back();
      set->disks.resize(reading.diskCount);
      set->reading = std::move(reading);
    }
    set->disks[slot] = std::move(pending);
  }

  std::vector<std::pair<size_t, ImageWritten>> written;
  for (ImageSet& set : sets) {
    GameRecord& game = AppendGame(*result.database);
    VersionRecord& version = AppendVersion(game);
    ApplyNameReading(set.reading, game, version);
    for (size_t k = 1; k <= set.disks.size(); ++k) {
      DiskRecord& disk = AppendDisk(game);
      version.diskOrder[k - 1] = static_cast<uint8_t>(k);
      std::optional<Pending>& pending = set.disks[k - 1];
      if (pending) {
        disk = std::move(pending->disk);
        written.push_back({pending->order, {std::move(pending->path), &game, &disk}});
      } else {
        disk.name.Clear();
        disk.comment = kMissingDiskComment;
        result.missing.push_back({set.reading.setName, static_cast<unsigned>(k),
                                  static_cast<unsigned>(set.disks.size())});
      }
    }
  }
  std::sort(written.begin(), written.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [order, image] : written) result.written.push_back(std::move(image));
  return result;
}

}  // namespace moswit
