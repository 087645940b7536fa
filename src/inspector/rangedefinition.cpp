// SPDX-License-Identifier: GPL-2.0-or-later
#include "inspector/rangedefinition.h"

#include "image/geometry.h"

namespace moswit {

namespace {

// Only a position of a map (the high-density map is the largest) names a
// block; anything else keeps the old value.
bool OnMap(std::optional<uint32_t> cursor) { return cursor && *cursor < kHighDensityBlocks; }

}  // namespace

void RangeDefinition::ClickStart(std::optional<uint32_t> cursor) {
  awaitingEnd_ = true;
  if (OnMap(cursor)) start_ = *cursor * kBlockSize;
}

std::optional<RangeEntry> RangeDefinition::ClickEnd(const tADF& image,
                                                    std::optional<uint32_t> cursor) {
  awaitingEnd_ = false;
  if (OnMap(cursor)) end_ = *cursor * kBlockSize + (kBlockSize - 1);
  return MakeRange(image, start_, end_);
}

std::optional<RangeEntry> RangeDefinition::Click(const tADF& image,
                                                 std::optional<uint32_t> cursor) {
  if (!awaitingEnd_) {
    ClickStart(cursor);
    return std::nullopt;
  }
  return ClickEnd(image, cursor);
}

}  // namespace moswit
