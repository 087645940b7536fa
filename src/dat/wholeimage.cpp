// SPDX-License-Identifier: GPL-2.0-or-later
#include "dat/wholeimage.h"

#include <algorithm>

namespace moswit {

RangeRecord& AppendWholeImageRange(DiskRecord& disk, uint32_t size, uint32_t crc) {
  RangeRecord& range = AppendRange(disk);
  range.firstByte = 0;
  range.lastByte = size - 1;
  range.crc32 = crc;
  range.attributes = 0;
  return range;
}

const RangeRecord* WholeImageRange(const DiskRecord& disk) {
  uint32_t furthest = 0;
  for (const RangeRecord& range : disk.ranges) furthest = std::max(furthest, range.lastByte);
  if (furthest < kOneTrack) return nullptr;
  for (const RangeRecord& range : disk.ranges) {
    if (range.firstByte == 0 && range.lastByte == furthest) return &range;
  }
  return nullptr;
}

}  // namespace moswit
