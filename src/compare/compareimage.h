// SPDX-License-Identifier: GPL-2.0-or-later
// One image set beside others by the comparison: what an open Inspector
// holds, borrowed for the length of one comparison and never copied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "base/numbertext.h"
#include "image/filesystem.h"

namespace moswit {

// The count of compared images is held in 8 bits.
constexpr size_t kMaxComparedImages = 255;

struct CompareImage {
  uint8_t number = 0;                // the slot; shown as two hex digits
  std::span<const uint8_t> bytes;    // the loaded image (tADF::Data)
  std::span<const FileEntry> files;  // its walk, in walk order, CRCs read
};

// The two upper-case hex digits that name image `number` in column titles.
inline std::string ImageNumberText(uint8_t number) { return IntToHex(number, 2); }

}  // namespace moswit
