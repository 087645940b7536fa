// SPDX-License-Identifier: GPL-2.0-or-later
#include "inspector/blockmap.h"

#include <algorithm>

namespace moswit {

void BlockMap::Reset(uint32_t positions) {
  size_ = std::min(positions, kHighDensityBlocks);
  statuses_.fill(bsUnknown);
}

void BlockMap::fill(BlockStatus status) { std::fill(begin(), end(), status); }

void ClassifyAll(const tADF& image, BlockMap& map) {
  const uint32_t count = BlockCount(image);
  map.Reset(GeometryOf(image).blocks);
  for (uint32_t n = 0; n < map.size(); ++n) {
    map[n] = n < count ? ClassifyBlock(image, n) : bsUnformatted;
  }
}

void MoveCursor(BlockMap& map, uint32_t block) {
  for (BlockStatus& status : map) status &= ~bsCursor;
  if (block < map.size()) map[block] |= bsCursor;
}

std::optional<uint32_t> CursorBlock(const BlockMap& map) {
  for (uint32_t n = 0; n < map.size(); ++n) {
    if (HasMark(map[n], bsCursor)) return n;
  }
  return std::nullopt;
}

void MarkFileSelection(const tADF& image, const FileEntry& file, bool ffs, BlockMap& map) {
  // A fresh map per read: the walk's map must not leak into the selection.
  VisitedMap reached;
  uint32_t crc = 0;
  ReadFileCrc(image, file, ffs, reached, crc);
  for (uint32_t n = 0; n < map.size(); ++n) {
    if (n < reached.size() && reached[n]) {
      map[n] |= bsInSelection;
    } else {
      map[n] &= ~bsInSelection;
    }
  }
}

}  // namespace moswit
