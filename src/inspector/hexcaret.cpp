// SPDX-License-Identifier: GPL-2.0-or-later
#include "inspector/hexcaret.h"

#include <algorithm>

namespace moswit {

namespace {

constexpr unsigned kRowEnd = kHexRowLength;

bool OnBlank(unsigned column) { return column % 3 == 2; }

// Rows and columns in text order.
bool Before(HexCaret a, HexCaret b) {
  return a.row < b.row || (a.row == b.row && a.column < b.column);
}

}  // namespace

unsigned CaretToPosition(HexCaret caret, unsigned breakLength) {
  return caret.row * (kHexRowLength + breakLength) + std::min(caret.column, kRowEnd);
}

HexCaret PositionToCaret(unsigned position, unsigned breakLength) {
  const unsigned stride = kHexRowLength + breakLength;
  return {position / stride, std::min(position % stride, kRowEnd)};
}

CaretMove NavigateCaret(HexCaret previous, HexCaret moved) {
  const bool left = Before(moved, previous);
  HexCaret caret{moved.row, std::min(moved.column, kRowEnd)};
  if (caret.row < kHexRowCount && OnBlank(caret.column)) {
    // The row's end is a blank's position too: to the right it leads on
    // into the next row.
    if (left) {
      --caret.column;
    } else if (caret.column == kRowEnd) {
      caret = {caret.row + 1, 0};
    } else {
      ++caret.column;
    }
  }
  if (caret.row >= kHexRowCount) {
    // The view does not scroll; the caret wraps to the top instead.
    return {{0, std::min(previous.column, kRowEnd)}, true};
  }
  return {caret, false};
}

CaretMove OverType(std::array<std::string, kHexRowCount>& hexRows, HexCaret caret, char typed) {
  if (caret.row < kHexRowCount && caret.column < hexRows[caret.row].size()) {
    hexRows[caret.row][caret.column] = typed;
  }
  const unsigned step = caret.column % 3 == 1 ? 2 : 1;
  return NavigateCaret(caret, {caret.row, caret.column + step});
}

bool IsOverTypeCharacter(char32_t character) {
  return (character >= 0x20 && character < 0x7F) || (character >= 0xA0 && character <= 0xFF);
}

}  // namespace moswit
