// SPDX-License-Identifier: GPL-2.0-or-later
#include "inspector/hexrows.h"

#include <algorithm>

#include "base/numbertext.h"

namespace moswit {

uint32_t HexRows::ScrollMaximum() const {
  if (length_ < kHexRowCount * kBytesPerHexRow) return 1;
  return length_ / kBytesPerHexRow - (kHexRowCount - 1);
}

HexPage HexRows::Page(uint32_t position) const {
  HexPage page;
  page.top = std::min(position, ScrollMaximum()) * kBytesPerHexRow;
  for (unsigned i = 0; i < kHexRowCount; ++i) {
    const uint32_t rowStart = page.top + i * kBytesPerHexRow;
    page.offsets[i] = IntToHex(rowStart, 8);
    std::string& hex = page.hex[i];
    std::string& characters = page.characters[i];
    hex.reserve(kHexRowLength);
    characters.reserve(kBytesPerHexRow);
    for (unsigned j = 0; j < kBytesPerHexRow; ++j) {
      if (j > 0) hex.push_back(' ');
      const uint64_t o = static_cast<uint64_t>(rowStart) + j;
      if (o < length_) {
        const uint8_t byte = data_[o];
        hex += IntToHex(byte, 2);
        characters.push_back(byte < 32 ? '.' : static_cast<char>(byte));
      } else {
        hex += "..";
        characters.push_back(' ');
      }
    }
  }
  return page;
}

}  // namespace moswit
