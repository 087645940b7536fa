// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/exercise.h"

#include <algorithm>

#include "diskcontents/diskproperties.h"
#include "image/blocklayout.h"
#include "image/crc32.h"
#include "image/filesystem.h"
#include "image/geometry.h"
#include "inspector/blockmap.h"
#include "scan/identify.h"

namespace moswit::test {

namespace {

constexpr BlockStatus kKnownFlags = bsChecksumError;

std::string CheckBlocks(const tADF& image) {
  const uint32_t count = BlockCount(image);
  BlockMap map;
  ClassifyAll(image, map);
  if (map.size() != GeometryOf(image).blocks) return "map not sized by the geometry";
  for (uint32_t n = 0; n < map.size(); ++n) {
    if (n >= count && map[n] != bsUnformatted) return "map position past the image not unformatted";
  }
  for (uint32_t n = 0; n < count; ++n) {
    const BlockStatus status = ClassifyBlock(image, n);
    if (BlockType(status) > bsDirCache || (status & ~(kTypeMask | kKnownFlags)) != 0) {
      return "block " + std::to_string(n) + " classified as an unknown code";
    }
    if (n < map.size() && map[n] != status) return "map differs from ClassifyBlock";
  }
  return {};
}

std::string CheckProperties(const tADF& image) {
  const DiskProperties properties = ReadDiskProperties(image);
  if (properties.DiskName.size() > 255) return "disk name longer than a length byte allows";
  for (char c : properties.DiskName) {
    if (static_cast<unsigned char>(c) < 32) return "control character in the disk name";
  }
  if (BlockCount(image) < 2 && (properties.IsDos || properties.IsBootable)) {
    return "boot flags on an image without a boot block";
  }
  return {};
}

std::string CheckFiles(const tADF& image, size_t* filesFound) {
  FileList list;
  VisitedMap visited;
  ClearVisitedMap(visited, image);
  WalkDirectory("/", image, list, RootBlock(image), visited);
  if (filesFound) *filesFound = list.size();
  if (list.size() > BlockCount(image)) return "more files than blocks";
  for (const FileEntry& entry : list) {
    if (entry.Path.size() > kMaxPathLength) return "path longer than 119 characters";
    if (entry.Path.empty() || entry.Path[0] != '/') return "path not from the root";
    if (entry.HeaderBlock >= BlockCount(image)) return "header block past the image";
  }
  VisitedMap map;
  std::vector<uint8_t> buffer;
  for (bool ffs : {false, true}) {
    for (const FileEntry& entry : list) {
      const BlockStatus status = ReadFileData(image, entry, ffs, map, buffer);
      if (buffer.size() != std::min(entry.Size, image.Size)) return "buffer not cut to the size";
      if (status != 0 && (status & 0x0FF0u) == 0) return "fault without an error flag";
    }
  }
  return {};
}

std::string CheckBlockCrcs(const tADF& image, const BlockCrcs& crcs) {
  if (!crcs.CoversImage(image)) return "block CRCs not of the whole image";
  for (uint32_t b = 0; b < BlockCount(image); ++b) {
    const uint8_t* block = BlockData(image, b);
    const bool typeData = ReadLong(block, kPrimaryType) == kTypeData;
    if (crcs.Crc(b) != Crc32({block, kBlockSize}) ||
        crcs.IsOfsData(b) != (typeData && NormalChecksumHolds(block)) ||
        (typeData && crcs.ContentsCrc(b) != Crc32({block + kOfsDataOffset, kOfsDataBytes}))) {
      return "block CRCs of block " + std::to_string(b);
    }
  }
  return {};
}

}  // namespace

std::string CheckOnePass(const tADF& image, const MatchIndex& index, const BlockCrcs& crcs) {
  std::string problem = CheckBlockCrcs(image, crcs);
  for (bool ffs : {false, true}) {
    const FileList plain = ListFiles(image, ffs);
    const FileList onePass = ListFiles(image, ffs, &crcs);
    if (onePass.size() != plain.size()) return "another walk";
    for (size_t i = 0; i < plain.size() && problem.empty(); ++i) {
      if (onePass[i].Crc != plain[i].Crc || onePass[i].Status != plain[i].Status) {
        problem = "file " + plain[i].Path + (ffs ? " as FFS" : " as OFS");
      }
    }
  }
  const IdentifyResult direct = IdentifyImageDirect(image, index);
  const IdentifyResult result = IdentifyImage(image, index, crcs);
  if (problem.empty() &&
      (result.line != direct.line || result.hadCandidates != direct.hadCandidates)) {
    problem = "identified as " + result.line + ", directly as " + direct.line;
  }
  return problem;
}

std::string CheckOnePass(const tADF& image, const MatchIndex& index, size_t piece) {
  BlockCrcs crcs;
  crcs.TakeWholeAt(index.wholeBlocksFrom);
  crcs.Start(image.Size);
  size_t end = 0;
  do {
    end = std::min<size_t>(end + piece, image.Size);
    crcs.Arrived(image.Data.data(), end);
  } while (end < image.Size);
  return CheckOnePass(image, index, crcs);
}

tADF ImageOf(std::vector<uint8_t> bytes, const std::string& name) {
  tADF image;
  image.FileName = name;
  image.Size = static_cast<uint32_t>(bytes.size());
  image.Data = std::move(bytes);
  return image;
}

std::string ExerciseImage(const tADF& image, const MatchIndex& index, size_t* filesFound) {
  if (image.Data.size() != image.Size) return "size and data disagree";
  std::string problem = CheckBlocks(image);
  if (problem.empty()) problem = CheckProperties(image);
  if (problem.empty()) problem = CheckFiles(image, filesFound);
  if (problem.empty()) {
    const IdentifyResult result = IdentifyImage(image, index);
    if (result.line.empty()) problem = "empty result line";
    if (!result.hadCandidates && result.line != kUnidentified) {
      problem = "identified without a candidate";
    }
  }
  if (problem.empty()) problem = CheckOnePass(image, index);
  return problem;
}

}  // namespace moswit::test
