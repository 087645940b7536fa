// SPDX-License-Identifier: GPL-2.0-or-later
#include "inspector/hexrows.h"

#include <gtest/gtest.h>

#include <numeric>

#include "inspector/hexcaret.h"
#include "support/adfbuilder.h"

namespace moswit {
namespace {

test::Bytes Counting(size_t length) {
  test::Bytes bytes(length);
  std::iota(bytes.begin(), bytes.end(), uint8_t{0});
  return bytes;
}

std::string Placeholders(unsigned count) {
  std::string text;
  for (unsigned i = 0; i < count; ++i) text += i == 0 ? ".." : " ..";
  return text;
}

TEST(HexRows, ScrollRange) {
  const std::pair<uint32_t, uint32_t> cases[] = {{0, 1},    {100, 1},   {256, 1},       {272, 2},
                                                 {488, 15}, {1024, 49}, {901120, 56305}};
  for (const auto& [length, maximum] : cases) {
    EXPECT_EQ(HexRows(nullptr, length).ScrollMaximum(), maximum) << length;
  }
}

TEST(HexRows, AHundredBytes) {
  const test::Bytes bytes = Counting(100);
  const HexPage page = HexRows(bytes.data(), 100).Page(0);
  EXPECT_EQ(page.offsets[15], "000000F0");
  EXPECT_EQ(page.hex[0], "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F");
  EXPECT_EQ(page.hex[6], "60 61 62 63 " + Placeholders(12));
  EXPECT_EQ(page.characters[6], "`abc" + std::string(12, ' '));
  EXPECT_EQ(page.characters[0], std::string(16, '.'));  // bytes below 32
  for (unsigned i = 7; i < kHexRowCount; ++i) {
    EXPECT_EQ(page.hex[i], Placeholders(16));
    EXPECT_EQ(page.characters[i], std::string(16, ' '));
  }
  EXPECT_EQ(HexRows(bytes.data(), 100).Page(1).hex[5], page.hex[6]);
}

TEST(HexRows, LastPositionsAndRawHighBytes) {
  const test::Bytes bytes = Counting(1024);
  const HexPage last = HexRows(bytes.data(), 1024).Page(5000);  // taken as 49
  EXPECT_EQ(last.top, 784u);
  EXPECT_EQ(last.offsets[14], "000003F0");
  EXPECT_EQ(last.hex[14].substr(42), "FE FF");
  EXPECT_EQ(last.characters[14], std::string(bytes.begin() + 240, bytes.begin() + 256));
  EXPECT_EQ(last.hex[15], Placeholders(16));
  const HexPage page = HexRows(bytes.data(), 488).Page(15);
  EXPECT_EQ(page.offsets[15], "000001E0");
  EXPECT_EQ(page.hex[15], "E0 E1 E2 E3 E4 E5 E6 E7 " + Placeholders(8));
}

TEST(HexCaret, NavigationSkipsBlanksAndWraps) {
  // Previous, moved, expected caret; whether the rows are drawn again.
  const std::tuple<HexCaret, HexCaret, HexCaret, bool> cases[] = {
      {{0, 0}, {0, 1}, {0, 1}, false},     {{0, 1}, {0, 2}, {0, 3}, false},
      {{0, 3}, {0, 2}, {0, 1}, false},     {{0, 46}, {0, 47}, {1, 0}, false},
      {{1, 0}, {0, 47}, {0, 46}, false},   {{0, 9}, {5, 14}, {5, 15}, false},
      {{15, 46}, {15, 47}, {0, 46}, true}, {{15, 3}, {16, 0}, {0, 3}, true},
  };
  for (const auto& [previous, moved, want, redraw] : cases) {
    const CaretMove move = NavigateCaret(previous, moved);
    EXPECT_EQ(move.caret, want) << moved.row << "," << moved.column;
    EXPECT_EQ(move.redraw, redraw) << moved.row << "," << moved.column;
  }
}

TEST(HexCaret, OvertypeChangesOnlyTheShownText) {
  const test::Bytes bytes = Counting(64);
  HexPage page = HexRows(bytes.data(), 64).Page(0);
  EXPECT_EQ(OverType(page.hex, {0, 0}, 'Z').caret, (HexCaret{0, 1}));
  EXPECT_EQ(OverType(page.hex, {0, 1}, 'q').caret, (HexCaret{0, 3}));
  EXPECT_EQ(page.hex[0].substr(0, 5), "Zq 01");
  EXPECT_EQ(OverType(page.hex, {2, 46}, '7').caret, (HexCaret{3, 0}));
  EXPECT_TRUE(OverType(page.hex, {15, 46}, '7').redraw);
  EXPECT_EQ(HexRows(bytes.data(), 64).Page(0).hex[0].substr(0, 2), "00");
}

TEST(HexCaret, OnlyPrintableLatin1CharactersOvertype) {
  for (char32_t character : {U' ', U'~', char32_t{0xA0}, char32_t{0xFF}})
    EXPECT_TRUE(IsOverTypeCharacter(character)) << static_cast<uint32_t>(character);
  for (char32_t character : {0x1Fu, 0x7Fu, 0x9Fu, 0x100u})
    EXPECT_FALSE(IsOverTypeCharacter(character)) << static_cast<uint32_t>(character);
}

TEST(HexCaret, TextPositionsWithEitherLineBreak) {
  EXPECT_EQ(PositionToCaret(48, 1), (HexCaret{1, 0}));
  EXPECT_EQ(PositionToCaret(48, 2), (HexCaret{0, 47}));  // between CR and LF
  EXPECT_EQ(PositionToCaret(16 * 49, 2), (HexCaret{16, 0}));
  for (unsigned breakLength : {1u, 2u}) {
    for (const HexCaret caret : {HexCaret{0, 0}, HexCaret{7, 31}, HexCaret{15, 47}}) {
      EXPECT_EQ(PositionToCaret(CaretToPosition(caret, breakLength), breakLength), caret);
    }
  }
}

}  // namespace
}  // namespace moswit
