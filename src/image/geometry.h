// SPDX-License-Identifier: GPL-2.0-or-later
// The floppy an image stands for. An image of exactly 3520 blocks is a
// high-density disk (80 cylinders, 2 heads, 22 sectors); every other size,
// truncated and oversized images included, is read as a double-density
// disk (11 sectors), so their root, map and compared area stay those of an
// 880 KB floppy.
#pragma once

#include <cstdint>

#include "image/adf.h"

namespace moswit {

constexpr uint32_t kHighDensityBlocks = 3520;
constexpr uint32_t kHeads = 2;

struct DiskGeometry {
  uint32_t blocks;  // block positions of the disk
  uint32_t sectorsPerTrack;
  uint32_t rootBlock;  // the middle of the disk
};

constexpr DiskGeometry kDoubleDensity{kFloppyBlocks, 11, kFloppyBlocks / 2};
constexpr DiskGeometry kHighDensity{kHighDensityBlocks, 22, kHighDensityBlocks / 2};

constexpr const DiskGeometry& GeometryOfBlocks(uint32_t blockCount) {
  return blockCount == kHighDensityBlocks ? kHighDensity : kDoubleDensity;
}

// The geometry of an image of `size` bytes.
constexpr const DiskGeometry& GeometryOfSize(uint64_t size) {
  return size / kBlockSize == kHighDensityBlocks ? kHighDensity : kDoubleDensity;
}

inline const DiskGeometry& GeometryOf(const tADF& image) {
  return GeometryOfBlocks(BlockCount(image));
}

// Where the walk starts and the volume name is read.
inline uint32_t RootBlock(const tADF& image) { return GeometryOf(image).rootBlock; }

}  // namespace moswit
