// SPDX-License-Identifier: GPL-2.0-or-later
#include "diskcontents/rangeentry.h"

#include <algorithm>

#include "base/numbertext.h"
#include "image/crc32.h"

namespace moswit {

std::string RangeLabel(uint32_t firstByte, uint32_t lastByte) {
  return "@" + IntToHex(firstByte, 8) + "-" + IntToHex(lastByte, 8);
}

std::optional<RangeEntry> MakeRange(const tADF& image, uint32_t start, uint32_t end) {
  uint32_t first = start;
  uint32_t last = end;
  if (end < start) {
    first = end / kBlockSize * kBlockSize;
    last = start / kBlockSize * kBlockSize + (kBlockSize - 1);
  }
  if (first >= image.Size) return std::nullopt;
  last = std::min(last, image.Size - 1);

  RangeEntry range;
  range.FirstByte = first;
  range.LastByte = last;
  range.Length = last - first + 1;
  range.Label = RangeLabel(first, last);
  range.Crc = Crc32({image.Data.data() + first, range.Length});
  return range;
}

const RangeEntry& RangeList::Append(RangeEntry entry) {
  entries_.push_back(std::move(entry));
  return entries_.back();
}

bool RangeList::Remove(const RangeEntry* entry) {
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (&*it != entry) continue;
    entries_.erase(it);
    return true;
  }
  return false;
}

}  // namespace moswit
