// SPDX-License-Identifier: GPL-2.0-or-later
// The small images of lists and icon buttons, drawn in code.
#pragma once

#include <QIcon>
#include <cstdint>

namespace moswit {

enum class Glyph {
  kGood,        // a green tick: an entry read whole, an equal row
  kFailed,      // a red cross: a failed read, a differing row
  kAdd,         // a plus
  kDelete,      // a minus
  kHexView,     // "0x"
  kRangeStart,  // a bracket opening a range
  kRangeEnd,    // the bracket that closes it
};

// The glyph on a transparent square of `size` pixels.
QIcon GlyphIcon(Glyph glyph, int size = 16);

// A round mark filled with `colour` (0xRRGGBB) and edged a shade darker,
// on a transparent square of `size` pixels.
QIcon MarkIcon(uint32_t colour, int size = 16);

}  // namespace moswit
