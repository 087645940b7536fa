// SPDX-License-Identifier: GPL-2.0-or-later
#include "base/numbertext.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace moswit {
namespace {

struct TextCase {
  std::string text;
  uint32_t value;
};

TEST(NumberText, DecToIntSkipsEverythingButDigits) {
  const TextCase cases[] = {
      {"1760", 1760},    {"1,760", 1760},   {"-5", 5},      {"12a3", 123},
      {"", 0},           {"abc", 0},        {"  42  ", 42}, {"4294967295", 4294967295u},
      {"4294967296", 0}, {"4294967297", 1}, {"00012", 12},
  };
  for (const auto& c : cases) EXPECT_EQ(DecToInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(NumberText, HexToIntSkipsEverythingButHexDigits) {
  const TextCase cases[] = {
      {"$1f", 31},
      {"0x10", 16},
      {"g7", 7},
      {"", 0},
      {"ABCDEF", 0xABCDEF},
      {"abcdef", 0xABCDEF},
      {"DEADBEEF", 0xDEADBEEF},
      {"123456789", 0x23456789},  // the high digit is shifted out
      {"$ 00 00 03 70", 880},
  };
  for (const auto& c : cases) EXPECT_EQ(HexToInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(NumberText, LongTextsAreReadWhole) {
  std::string text(1000, ' ');
  text += "77";
  EXPECT_EQ(DecToInt(text), 77u);
  EXPECT_EQ(HexToInt(text), 0x77u);
}

TEST(NumberText, IntToDecHasNoSignOrPadding) {
  EXPECT_EQ(IntToDec(0), "0");
  EXPECT_EQ(IntToDec(7), "7");
  EXPECT_EQ(IntToDec(1760), "1760");
  EXPECT_EQ(IntToDec(4294967295u), "4294967295");
  for (uint32_t v : {0u, 9u, 10u, 99u, 100u, 65535u, 123456789u, 4294967295u}) {
    EXPECT_EQ(DecToInt(IntToDec(v)), v);
  }
}

TEST(NumberText, MemToHexReadsLittleEndianBytes) {
  const uint8_t bytes[] = {0x78, 0x56, 0x34, 0x12};
  EXPECT_EQ(MemToHex(bytes, 8), "12345678");
  EXPECT_EQ(MemToHex(bytes, 2), "78");
  EXPECT_EQ(MemToHex(bytes, 3), "678");
  EXPECT_EQ(MemToHex(bytes, 0), "");
}

TEST(NumberText, IntToHexGivesFixedWidthUpperCase) {
  EXPECT_EQ(IntToHex(0x0000ABCD, 8), "0000ABCD");
  EXPECT_EQ(IntToHex(880, 3), "370");
  EXPECT_EQ(IntToHex(0x03840017, 8), "03840017");
  EXPECT_EQ(IntToHex(0xFF, 2), "FF");
  EXPECT_EQ(IntToHex(0x12345, 4), "2345");
  EXPECT_EQ(HexToInt(IntToHex(0xCAFEBABE, 8)), 0xCAFEBABEu);
}

}  // namespace
}  // namespace moswit
