// SPDX-License-Identifier: GPL-2.0-or-later
// The two-step switch behind the Inspector's SI_Define icon: the first
// click takes the block clicked last on the map as the start of a range,
// the second takes it as the end and makes the range.
#pragma once

#include <cstdint>
#include <optional>

#include "diskcontents/rangeentry.h"
#include "image/adf.h"

namespace moswit {

// The icon's hint, its lines separated by line feed and carriage return.
constexpr char kRangeDefineHint[] =
    "Defining a range:\n\r1. Select start block\n\r2. Click this icon\n\r3. Select end "
    "block\n\r4. Click this icon again";

class RangeDefinition {
 public:
  // True between the two clicks: the icon shows its image 1 and its next
  // click ends the range (SI_DefineClick2).
  bool AwaitingEnd() const { return awaitingEnd_; }
  // The index into SI_DefineImgs.
  int IconImage() const { return awaitingEnd_ ? 1 : 0; }

  // SI_DefineClick: the start becomes 512 x `cursor`; without a cursor (no
  // block clicked yet) it stays as it was.
  void ClickStart(std::optional<uint32_t> cursor);
  // SI_DefineClick2: the end becomes 512 x `cursor` + 511, or stays; returns
  // the range from the pending start to the end (see MakeRange), which the
  // caller appends to its list.
  std::optional<RangeEntry> ClickEnd(const tADF& image, std::optional<uint32_t> cursor);
  // Whichever of the two the icon's click is bound to now.
  std::optional<RangeEntry> Click(const tADF& image, std::optional<uint32_t> cursor);

  uint32_t PendingStart() const { return start_; }
  uint32_t End() const { return end_; }

 private:
  bool awaitingEnd_ = false;
  uint32_t start_ = 0;
  uint32_t end_ = 0;
};

}  // namespace moswit
