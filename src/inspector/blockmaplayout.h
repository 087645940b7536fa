// Where the 1760 blocks of the Inspector's map lie in a map of W x H
// pixels: 40 columns by 44 rows, block n in column n mod 40 and row n div 40,
// grid lines spread over the pixels with integer division so that any size
// is covered edge to edge.
#pragma once

#include <cstdint>

namespace moswit {

constexpr uint32_t kMapColumns = 40;
constexpr uint32_t kMapRows = 44;

// The map's size in the Inspector window.
constexpr int kMapWidth = 201;
constexpr int kMapHeight = 221;

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
  // A size below 1 pixel is taken as 1.
  BlockMapLayout(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }

  // x of the vertical grid line left of column `column` (0..40).
  int GridX(uint32_t column) const;
  // y of the horizontal grid line above row `row` (0..44).
  int GridY(uint32_t row) const;

  static uint32_t Column(uint32_t block) { return block % kMapColumns; }
  static uint32_t Row(uint32_t block) { return block / kMapColumns; }

  // The cell of `block` with its grid lines, and its interior without them.
  PixelRect Cell(uint32_t block) const;
  PixelRect Interior(uint32_t block) const;

  // The block under pixel (x, y). A pixel outside the map is taken at the
  // nearest edge, so the result is always below 1760.
  uint32_t BlockAt(int x, int y) const;

 private:
  int width_;
  int height_;
};

}  // namespace moswit
