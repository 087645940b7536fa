// SPDX-License-Identifier: GPL-2.0-or-later
#include "inspector/blockmappixels.h"

#include <algorithm>

#include "inspector/blockcolours.h"

namespace moswit {

BlockMapPixels::BlockMapPixels(int width, int height, uint32_t rows)
    : layout_(width, height, rows),
      pixels_(static_cast<size_t>(layout_.Width()) * static_cast<size_t>(layout_.Height()), 0) {}

uint32_t BlockMapPixels::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= layout_.Width() || y >= layout_.Height()) return 0;
  return pixels_[static_cast<size_t>(y) * static_cast<size_t>(layout_.Width()) +
                 static_cast<size_t>(x)];
}

void BlockMapPixels::Set(int x, int y, uint32_t colour) {
  if (x < 0 || y < 0 || x >= layout_.Width() || y >= layout_.Height()) return;
  pixels_[static_cast<size_t>(y) * static_cast<size_t>(layout_.Width()) + static_cast<size_t>(x)] =
      colour;
}

void BlockMapPixels::HorizontalLine(int y, int left, int right, uint32_t colour) {
  for (int x = left; x <= right; ++x) Set(x, y, colour);
}

void BlockMapPixels::VerticalLine(int x, int top, int bottom, uint32_t colour) {
  for (int y = top; y <= bottom; ++y) Set(x, y, colour);
}

void BlockMapPixels::FillBlocks(const BlockMap& map) {
  const uint32_t positions = std::min(map.size(), layout_.Positions());
  for (uint32_t n = 0; n < positions; ++n) {
    const PixelRect inside = layout_.Interior(n);
    const uint32_t colour = BlockColour(map[n]);
    for (int y = inside.top; y <= inside.bottom; ++y) {
      HorizontalLine(y, inside.left, inside.right, colour);
    }
    if (!HasMark(map[n], bsChecksumError)) continue;
    // Clipped to the interior, so on a small map the mark never covers the
    // grid or a neighbour.
    static constexpr int kMark[6][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {0, 2}};
    for (const auto& [dx, dy] : kMark) {
      const int x = inside.left + dx;
      const int y = inside.top + dy;
      if (x <= inside.right && y <= inside.bottom) Set(x, y, kChecksumMarkColour);
    }
  }
}

void BlockMapPixels::DrawGrid(const BlockMap& map) {
  const int bottom = layout_.Height() - 1;
  const int right = layout_.Width() - 1;
  for (uint32_t c = 0; c <= kMapColumns; ++c)
    VerticalLine(layout_.GridX(c), 0, bottom, kGridColour);
  for (uint32_t r = 0; r <= layout_.Rows(); ++r) {
    HorizontalLine(layout_.GridY(r), 0, right, kGridColour);
  }
  for (uint32_t n = 0; n < map.size(); ++n) {
    if (HasMark(map[n], bsInSelection)) OutlineBlock(n, kSelectionColour);
  }
  // Last, so the cursor shows above a selection outline.
  for (uint32_t n = 0; n < map.size(); ++n) {
    if (HasMark(map[n], bsCursor)) OutlineBlock(n, kCursorColour);
  }
}

void BlockMapPixels::OutlineBlock(uint32_t block, uint32_t colour) {
  if (block >= layout_.Positions()) return;
  const PixelRect cell = layout_.Cell(block);
  VerticalLine(cell.left, cell.top, cell.bottom, colour);
  VerticalLine(cell.right, cell.top, cell.bottom, colour);
  HorizontalLine(cell.top, cell.left, cell.right, colour);
  HorizontalLine(cell.bottom, cell.left, cell.right, colour);
}

void BlockMapPixels::Paint(const BlockMap& map) {
  DrawGrid(map);
  FillBlocks(map);
}

}  // namespace moswit
