// SPDX-License-Identifier: GPL-2.0-or-later
// The caret of the hex viewer's hex pane, in rows and columns of the 16
// rows of 47 characters: it steps from pair to pair, never rests on the
// blank between two pairs, runs from a row's end into the next row, and
// wraps from below the last row back to the first.
#pragma once

#include <array>
#include <string>

#include "inspector/hexrows.h"

namespace moswit {

// Column kHexRowLength (47) is the position at a row's end.
struct HexCaret {
  unsigned row = 0;
  unsigned column = 0;
  bool operator==(const HexCaret&) const = default;
};

// Text controls count a row's characters and its line break; `breakLength`
// is 1 for a bare line feed, 2 for a carriage return and line feed. A
// position inside a line break is taken as the row's end. The hex text
// should end in a line break, so that a move below the last row reaches
// row 16, which the navigation takes back to the top.
unsigned CaretToPosition(HexCaret caret, unsigned breakLength = 1);
HexCaret PositionToCaret(unsigned position, unsigned breakLength = 1);

struct CaretMove {
  HexCaret caret;       // where the caret goes, and the position to remember
  bool redraw = false;  // the rows are to be made again (same scroll position)
};

// The caret moved from `previous` (the position remembered after the last
// move) to `moved`:
// - below the last row: redraw, and back into the first row at the column
//   it had before the move;
// - on a blank between two pairs: one further in the direction of the move;
// - at a row's end after a move to the right: the start of the next row
//   (which from the last row means back into the first row, as above).
CaretMove NavigateCaret(HexCaret previous, HexCaret moved);

// A typed character replaces the one after the caret in the shown text
// only (the data stays as it is, and any character is taken); the caret
// advances by one, or by two from a pair's second digit, then the
// navigation runs.
CaretMove OverType(std::array<std::string, kHexRowCount>& hexRows, HexCaret caret, char typed);

// Whether a key's character overtypes: a printable Latin-1 character.
// Control characters, Delete (0x7F) among them, and characters no DID byte
// holds are keys, not text.
bool IsOverTypeCharacter(char32_t character);

}  // namespace moswit
