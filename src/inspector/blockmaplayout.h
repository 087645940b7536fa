// SPDX-License-Identifier: GPL-2.0-or-later
// Where the blocks of the Inspector's map lie in a map of W x H pixels:
// 40 columns by 44 rows (88 for the 3520 blocks of a high-density disk),
// block n in column n mod 40 and row n div 40, grid lines spread over the
// pixels with integer division so that any size is covered edge to edge.
#pragma once

#include <cstdint>

namespace moswit {

constexpr uint32_t kMapColumns = 40;
constexpr uint32_t kMapRows = 44;

// The map's size in the Inspector window for a double-density disk.
constexpr int kMapWidth = 201;
constexpr int kMapHeight = 221;

// The rows that hold `positions` blocks.
constexpr uint32_t MapRows(uint32_t positions) {
  return (positions + kMapColumns - 1) / kMapColumns;
}
// The map's height in the window for `rows` rows: cells as high as those of
// the double-density map, so a high-density map is twice as high.
constexpr int MapHeight(uint32_t rows) {
  return static_cast<int>((kMapHeight - 1) / kMapRows * rows) + 1;
}

// A rectangle of pixels, both corners included; empty when right < left or
// bottom < top (a map too small for cell interiors).
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;
  bool Empty() const { return right < left || bottom < top; }
};

class BlockMapLayout {
 public:
  // A size below 1 pixel is taken as 1, and fewer than 1 row as 1.
  BlockMapLayout(int width, int height, uint32_t rows = kMapRows);

  int Width() const { return width_; }
  int Height() const { return height_; }
  uint32_t Rows() const { return rows_; }
  // The blocks the map has a cell for.
  uint32_t Positions() const { return rows_ * kMapColumns; }

  // x of the vertical grid line left of column `column` (0..40).
  int GridX(uint32_t column) const;
  // y of the horizontal grid line above row `row` (0..Rows()).
  int GridY(uint32_t row) const;

  static uint32_t Column(uint32_t block) { return block % kMapColumns; }
  static uint32_t Row(uint32_t block) { return block / kMapColumns; }

  // The cell of `block` with its grid lines, and its interior without them.
  PixelRect Cell(uint32_t block) const;
  PixelRect Interior(uint32_t block) const;

  // The block under pixel (x, y). A pixel outside the map is taken at the
  // nearest edge, so the result is always below Positions().
  uint32_t BlockAt(int x, int y) const;

 private:
  int width_;
  int height_;
  uint32_t rows_;
};

}  // namespace moswit
