// SPDX-License-Identifier: GPL-2.0-or-later
#include "inspector/blockmaplayout.h"

#include <algorithm>

namespace moswit {

BlockMapLayout::BlockMapLayout(int width, int height, uint32_t rows)
    : width_(std::max(width, 1)), height_(std::max(height, 1)), rows_(std::max(rows, 1u)) {}

int BlockMapLayout::GridX(uint32_t column) const {
  return static_cast<int>(static_cast<int64_t>(std::min(column, kMapColumns)) * (width_ - 1) /
                          kMapColumns);
}

int BlockMapLayout::GridY(uint32_t row) const {
  return static_cast<int>(static_cast<int64_t>(std::min(row, rows_)) * (height_ - 1) / rows_);
}

PixelRect BlockMapLayout::Cell(uint32_t block) const {
  const uint32_t c = Column(block);
  const uint32_t r = Row(block);
  return {GridX(c), GridY(r), GridX(c + 1), GridY(r + 1)};
}

PixelRect BlockMapLayout::Interior(uint32_t block) const {
  const PixelRect cell = Cell(block);
  return {cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1};
}

uint32_t BlockMapLayout::BlockAt(int x, int y) const {
  const int64_t cx = std::clamp(x, 0, width_ - 1);
  const int64_t cy = std::clamp(y, 0, height_ - 1);
  const auto column = static_cast<uint32_t>(cx * kMapColumns / width_);
  const auto row = static_cast<uint32_t>(cy * rows_ / height_);
  return row * kMapColumns + column;
}

}  // namespace moswit
