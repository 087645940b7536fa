// SPDX-License-Identifier: GPL-2.0-or-later
// The Inspector's block map painted into a 32-bit pixel buffer (0xRRGGBB,
// row-major, Width x Height). The window only copies the buffer to the
// screen.
#pragma once

#include <cstdint>
#include <vector>

#include "inspector/blockmap.h"
#include "inspector/blockmaplayout.h"

namespace moswit {

class BlockMapPixels {
 public:
  // A black buffer of the given size (at least 1 x 1) for a map of `rows`
  // rows.
  BlockMapPixels(int width, int height, uint32_t rows = kMapRows);

  const BlockMapLayout& Layout() const { return layout_; }
  const std::vector<uint32_t>& Pixels() const { return pixels_; }
  // 0 for a pixel outside the buffer.
  uint32_t At(int x, int y) const;

  // Every cell interior in its block's colour, and the checksum mark (a
  // small triangle of six pixels in the interior's top left corner) on
  // blocks with bsChecksumError.
  void FillBlocks(const BlockMap& map);
  // The grid, then the outlines of the selection, then the cursor's on top.
  void DrawGrid(const BlockMap& map);
  // The four grid lines around `block`, end points included.
  void OutlineBlock(uint32_t block, uint32_t colour);

  // The whole map, as after a resize.
  void Paint(const BlockMap& map);

 private:
  void Set(int x, int y, uint32_t colour);
  void HorizontalLine(int y, int left, int right, uint32_t colour);
  void VerticalLine(int x, int top, int bottom, uint32_t colour);

  BlockMapLayout layout_;
  std::vector<uint32_t> pixels_;
};

}  // namespace moswit
