// SPDX-License-Identifier: GPL-2.0-or-later
#include "inspector/blockmap.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "inspector/blockcolours.h"
#include "inspector/blockmappixels.h"
#include "inspector/inspectorform.h"
#include "support/adfbuilder.h"

namespace moswit {
namespace {

using test::AdfBuilder;
using test::Bytes;
using test::FromBytes;

TEST(BlockMapLayout, CornerCellsAndPixelsOnAndOffTheMap) {
  const BlockMapLayout layout(kMapWidth, kMapHeight);
  // Block, then the interior's top left and bottom right corners.
  const std::tuple<uint32_t, int, int, int, int> cells[] = {
      {0, 1, 1, 4, 4}, {39, 196, 1, 199, 4}, {1720, 1, 216, 4, 219}, {1759, 196, 216, 199, 219}};
  for (const auto& [block, left, top, right, bottom] : cells) {
    const PixelRect in = layout.Interior(block);
    EXPECT_EQ(std::tie(in.left, in.top, in.right, in.bottom), std::tie(left, top, right, bottom));
    EXPECT_EQ(layout.BlockAt(left, top), block);
  }
  const std::tuple<int, int, uint32_t> pixels[] = {
      {0, 0, 0},          {200, 220, 1759},        {-1, -1, 0}, {201, 221, 1759}, {INT_MAX, 0, 39},
      {0, INT_MAX, 1720}, {INT_MIN, INT_MAX, 1720}};
  for (const auto& [x, y, block] : pixels) EXPECT_EQ(layout.BlockAt(x, y), block) << x << "," << y;
}

// The mouse formula matches the grid exactly when the grid lines are evenly
// spaced, as in the window's 201 x 221.
TEST(BlockMapLayout, EveryInteriorLeadsBackToItsBlock) {
  for (const auto& [w, h] : {std::pair{201, 221}, {401, 441}, {81, 89}, {641, 881}}) {
    const BlockMapLayout layout(w, h);
    for (uint32_t n = 0; n < kFloppyBlocks; ++n) {
      const PixelRect in = layout.Interior(n);
      ASSERT_FALSE(in.Empty()) << w << "x" << h << " block " << n;
      ASSERT_EQ(layout.BlockAt(in.left, in.top), n) << w << "x" << h;
      ASSERT_EQ(layout.BlockAt(in.right, in.bottom), n) << w << "x" << h;
    }
  }
  // Too small for interiors: painting stays inside the buffer.
  BlockMap marked{};
  marked.fill(bsRoot | bsChecksumError | bsInSelection | bsCursor);
  for (const auto& [w, h] : {std::pair{0, 0}, {-5, 3}, {40, 44}})
    BlockMapPixels(w, h).Paint(marked);
}

// Only an image of exactly 3520 blocks gets the high-density map: 88 rows
// of the same cells, in a map and a window 220 pixels higher.
TEST(BlockMap, HighDensityMapHasTwiceTheRows) {
  for (const auto& [blocks, positions] : {std::pair{3520u, 3520u}, {3521u, 1760u}}) {
    BlockMap map;
    ClassifyAll(*FromBytes(Bytes(size_t{blocks} * 512, 0)), map);
    EXPECT_EQ(map.size(), positions) << blocks;
  }
  const BlockMapLayout layout(kMapWidth, MapHeight(MapRows(3520)), MapRows(3520));
  const PixelRect last = layout.Interior(3519);
  EXPECT_EQ(std::tie(last.left, last.top, last.right, last.bottom),
            std::make_tuple(196, 436, 199, 439));
  EXPECT_EQ(layout.BlockAt(INT_MAX, INT_MAX), 3519u);
  EXPECT_EQ(InspectorHeight(layout.Rows()), kInspectorHeight + 220);
}

TEST(BlockMapPixels, TypeColoursChecksumMarkAndOutlines) {
  BlockMap map{};
  map[0] = bsRoot;
  map[1] = bsRoot | bsChecksumError;
  map[2] = bsUnformatted;
  map[5] = bsData | bsInSelection;
  map[6] = bsData | bsInSelection | bsCursor;
  BlockMapPixels pixels(kMapWidth, kMapHeight);
  pixels.Paint(map);

  EXPECT_EQ(pixels.At(2, 2), 0xFFFF00u);
  EXPECT_EQ(pixels.At(12, 3), 0xC02020u);
  EXPECT_EQ(pixels.At(32, 2), 0x206020u);  // flags and marks leave the colour
  EXPECT_EQ(pixels.At(100, 37), kGridColour);
  // Block 1's interior is x 6..9, y 1..4; the mark is its top left triangle.
  for (const auto& [x, y] : {std::pair{6, 1}, {8, 1}, {7, 2}, {6, 3}}) {
    EXPECT_EQ(pixels.At(x, y), kChecksumMarkColour) << x << "," << y;
  }
  EXPECT_EQ(pixels.At(9, 1), 0xFFFF00u);
  EXPECT_EQ(pixels.At(7, 3), 0xFFFF00u);
  // Block 5 (x 25..30) is selected; block 6 (x 30..35) has the cursor,
  // drawn over the line they share.
  EXPECT_EQ(pixels.At(25, 0), kSelectionColour);
  EXPECT_EQ(pixels.At(27, 5), kSelectionColour);
  EXPECT_EQ(pixels.At(30, 3), kCursorColour);
  EXPECT_EQ(pixels.At(35, 5), kCursorColour);

  map[5] &= ~bsInSelection;
  MoveCursor(map, 1759);
  pixels.DrawGrid(map);
  EXPECT_EQ(pixels.At(25, 0), kGridColour);
  EXPECT_EQ(pixels.At(30, 3), kSelectionColour);
  EXPECT_EQ(pixels.At(200, 220), kCursorColour);
  EXPECT_EQ(CursorBlock(map), 1759u);
  EXPECT_EQ(map[6], bsData | bsInSelection);
}

TEST(BlockMap, SelectionMarksTheBlocksTheReadReached) {
  AdfBuilder builder;
  const uint32_t header = builder.AddFile("/big", test::PatternBytes(80 * 488, 3));
  const uint32_t other = builder.AddFile("/small", Bytes(10, 1));
  Bytes bytes = builder.Build();
  const std::vector<uint32_t> data = builder.DataBlocks(header);
  test::BreakChecksum(bytes, data[75]);
  bytes.resize(1200 * 512);
  const ImagePtr image = FromBytes(bytes);

  BlockMap map{};
  ClassifyAll(*image, map);
  EXPECT_EQ(map[1199], bsUnknown);
  EXPECT_EQ(map[1200], bsUnformatted);
  map[other] |= bsInSelection;
  FileEntry file;
  file.HeaderBlock = header;
  MarkFileSelection(*image, file, false, map);
  for (uint32_t block : {header, builder.ExtensionBlocks(header).at(0), data[0], data[75]}) {
    EXPECT_TRUE(HasMark(map[block], bsInSelection)) << block;
  }
  EXPECT_FALSE(HasMark(map[data[76]], bsInSelection));  // past the fault
  EXPECT_FALSE(HasMark(map[other], bsInSelection));

  file.HeaderBlock = 5000;
  MarkFileSelection(*image, file, false, map);
  for (BlockStatus status : map) EXPECT_FALSE(HasMark(status, bsInSelection));
}

}  // namespace
}  // namespace moswit
