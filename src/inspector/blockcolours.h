// SPDX-License-Identifier: GPL-2.0-or-later
// The colours of the Inspector's block map and its legend. Colours are
// 0xRRGGBB.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "image/checksum.h"

namespace moswit {

constexpr uint32_t kGridColour = 0x404040;
constexpr uint32_t kChecksumMarkColour = 0xFF2020;
constexpr uint32_t kSelectionColour = 0xFF4000;
constexpr uint32_t kCursorColour = 0xFFFFFF;

// The interior colour of a block: by its type alone, so error flags and the
// Inspector's marks never change it. Types without a colour of their own
// are black, like unknown blocks.
uint32_t BlockColour(BlockStatus status);

// One colour swatch of the legend beside the map.
struct LegendEntry {
  std::string_view control;  // objectName of the swatch
  std::string_view hint;
  uint32_t colour;
};

// In the order the swatches stand in the window.
extern const std::array<LegendEntry, 11> kLegend;

}  // namespace moswit
