// SPDX-License-Identifier: GPL-2.0-or-later
#include "compare/compareimagefiles.h"

#include <algorithm>

#include "compare/rangecompare.h"
#include "image/adf.h"
#include "image/blockcrcs.h"
#include "image/crc32.h"
#include "image/filesystem.h"

namespace moswit {

namespace {

// The CRC-32 of the whole image, from its blocks' CRCs and the bytes after
// the last whole block: what tells the second reading from the first.
uint32_t ImageCrc(const tADF& image, const BlockCrcs& crcs) {
  CrcRun run(kCrcShift512, kCrcShift2048);
  for (uint32_t b = 0; b < BlockCount(image); ++b) run.Add(crcs.Crc(b));
  uint32_t accumulator = ~run.Crc();
  const size_t whole = size_t{BlockCount(image)} * kBlockSize;
  CrcUpdate(accumulator, image.Data.data() + whole, image.Size - whole);
  return ~accumulator;
}

}  // namespace

bool CompareImageFiles(const std::vector<std::string>& paths, CompareTables& tables,
                       FileError& error) {
  const size_t count = std::min(paths.size(), kMaxComparedImages);
  tADF image;
  BlockCrcs crcs;
  std::vector<FileList> lists(count);
  std::vector<uint32_t> imageCrcs(count);
  RangeComparer ranges;
  for (size_t k = 0; k < count; ++k) {
    if (!LoadImageInto(paths[k], image, crcs, &error)) return false;
    lists[k] = ListFiles(image, ImageIsFfs(image), &crcs);
    imageCrcs[k] = ImageCrc(image, crcs);
    ranges.Add(image.Data);
  }
  std::vector<RangeSection> sections = ranges.Sections();
  for (size_t k = 1; k < count; ++k) {
    if (!LoadImageInto(paths[k], image, crcs, &error)) return false;
    if (ImageCrc(image, crcs) != imageCrcs[k]) {
      error = {paths[k], kImageChanged};
      return false;
    }
    ranges.AddCrcs(k, image.Data, sections);
  }
  std::vector<CompareImage> images;
  images.reserve(count);
  for (size_t k = 0; k < count; ++k) images.push_back({static_cast<uint8_t>(k), {}, lists[k]});
  tables = BuildCompareTables(images, std::move(sections));
  return true;
}

}  // namespace moswit
