// SPDX-License-Identifier: GPL-2.0-or-later
// The compared area of several images cut into sections that are alternately
// identical on all of them and not, with each image's CRC-32 per section.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "compare/compareimage.h"
#include "image/adf.h"
#include "image/geometry.h"

namespace moswit {

// Bytes 0 to 0xDBFFF: the 1760 blocks of an 880 KB floppy.
constexpr uint32_t kCompareAreaSize = kFloppyBlocks * kBlockSize;
// Bytes 0 to 0x1B7FFF: the 3520 blocks of a high-density disk.
constexpr uint32_t kHighDensityAreaSize = kHighDensityBlocks * kBlockSize;
// Up to this many equal positions in a row stay inside a differing section.
constexpr uint32_t kCompareTolerance = 32;

struct RangeSection {
  uint32_t first = 0;
  uint32_t last = 0;  // inclusive
  bool equal = false;
  // Per image, in the given order: the CRC-32 of the bytes of the section
  // that the image has (0 when it ends before the section starts).
  std::vector<uint32_t> crcs;
};

// The compared area: the high-density disk's when any image is one, else
// the floppy's.
uint32_t CompareAreaSize(std::span<const CompareImage> images);

// Position p is equal when every image holds the same byte at p; a position
// past the end of any image is differing, and no byte past an image's end is
// read. A differing section ends only before a run of more than 32 equal
// positions; the last section ends at the end of the area (0xDBFFF, or
// 0x1B7FFF with a high-density disk) whatever its kind. No images give no
// sections.
std::vector<RangeSection> CompareRanges(std::span<const CompareImage> images);

// CompareRanges over images that come one after another and are not kept:
// each is compared with image 0 (whose compared area is copied) as it comes;
// once all are in, the sections are cut, and in a second round over the
// images in the same order each one's CRC-32s per section are taken. The
// sections are those CompareRanges gives for the same images.
class RangeComparer {
 public:
  // The next image's bytes, in the images' order.
  void Add(std::span<const uint8_t> bytes);
  // The sections of the images added, with image 0's CRCs set and room for
  // every image's.
  std::vector<RangeSection> Sections() const;
  // Image k's CRCs into `sections` (k > 0; the bytes must be those added).
  void AddCrcs(size_t k, std::span<const uint8_t> bytes, std::vector<RangeSection>& sections) const;

 private:
  size_t images_ = 0;
  uint32_t area_ = kCompareAreaSize;
  uint32_t common_ = 0;  // positions that every image added holds
  std::vector<uint8_t> base_;
  std::vector<uint64_t> acc_;   // per position a nonzero byte where an image differs
  std::vector<uint32_t> open_;  // lines not yet known to differ at every position
};

}  // namespace moswit
