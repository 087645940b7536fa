// SPDX-License-Identifier: GPL-2.0-or-later
// The texts of the hex viewer: 16 rows of 16 bytes from a scroll position,
// as offsets, hexadecimal pairs and characters, and the scroll range.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace moswit {

constexpr unsigned kHexRowCount = 16;
constexpr unsigned kBytesPerHexRow = 16;
// 16 pairs with a blank between each two.
constexpr unsigned kHexRowLength = 3 * kBytesPerHexRow - 1;

struct HexPage {
  uint32_t top = 0;                                  // offset of the first byte shown
  std::array<std::string, kHexRowCount> offsets;     // Memo1: eight hex digits
  std::array<std::string, kHexRowCount> hex;         // RichEdit1: 47 characters, ".." past the end
  std::array<std::string, kHexRowCount> characters;  // Memo2: the raw bytes, "." below 32,
                                                     // blanks past the end
};

class HexRows {
 public:
  // The viewer shows `length` bytes at `data` and never changes them; the
  // bytes must stay valid while the rows are made.
  HexRows(const uint8_t* data, uint32_t length) : data_(data), length_(length) {}

  uint32_t Length() const { return length_; }

  // The highest scroll position: length div 16 - 15, or 1 below 256 bytes,
  // so a short buffer can still scroll one row. A length that is a multiple
  // of 16 ends with a row of placeholders at the highest position.
  uint32_t ScrollMaximum() const;

  // The rows shown at `position` (taken as at most ScrollMaximum); the
  // first byte shown is position x 16.
  HexPage Page(uint32_t position) const;

 private:
  const uint8_t* data_;
  uint32_t length_;
};

}  // namespace moswit
