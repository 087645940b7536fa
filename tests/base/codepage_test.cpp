// SPDX-License-Identifier: GPL-2.0-or-later
#include "base/codepage.h"

#include <gtest/gtest.h>

namespace moswit {
namespace {

// Every byte of a DID text comes back from its UTF-8 as it was.
TEST(CodePage, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const Cp1252Text back = Cp1252FromUtf8(Utf8FromCp1252(all));
  EXPECT_EQ(back.text, all);
  EXPECT_EQ(back.replaced, 0u);
}

TEST(CodePage, LettersAndTheirBytes) {
  struct Case {
    const char* utf8;
    const char* cp1252;
    size_t replaced;
  };
  const Case cases[] = {
      {"Fran\xC3\xA7oise", "Fran\xE7oise", 0},        // Latin-1 range
      {"\xE2\x82\xAC 5", "\x80 5", 0},                // euro sign
      {"\xE2\x80\x9Cq\xE2\x80\x9D", "\x93q\x94", 0},  // curly quotes
      {"\xC5\xA0koda \xC5\xBD", "\x8Akoda \x8E", 0},  // S and Z caron
      {"\xE6\x97\xA5\xE6\x9C\xAC", "??", 2},          // CJK
      {"x\xF0\x9F\x8E\xAEy", "x?y", 1},               // beyond 16 bits
      {"\xC2\x81", "\x81", 0},                        // an undefined byte's control
      {"Caf\xE9", "Caf\xE9", 0},                      // not UTF-8: the byte itself
      {"\xC0\xAF", "\xC0\xAF", 0},                    // overlong: bytes kept
      {"\xED\xA0\x80", "\xED\xA0\x80", 0},            // a surrogate: bytes kept
      {"\xE2\x82", "\xE2\x82", 0},                    // cut short: bytes kept
  };
  for (const Case& c : cases) {
    const Cp1252Text converted = Cp1252FromUtf8(c.utf8);
    EXPECT_EQ(converted.text, c.cp1252) << c.utf8;
    EXPECT_EQ(converted.replaced, c.replaced) << c.utf8;
  }
  EXPECT_EQ(Utf8FromCp1252("\x80\x9F\xFF"), "\xE2\x82\xAC\xC5\xB8\xC3\xBF");
}

TEST(CodePage, TheFiveUndefinedBytes) {
  int undefined = 0;
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<uint8_t>(b);
    if (IsUndefinedInCp1252(byte)) {
      ++undefined;
      EXPECT_EQ(Cp1252Letter(byte), static_cast<char32_t>(b));
    }
    EXPECT_EQ(Cp1252Byte(Cp1252Letter(byte)), byte);
  }
  EXPECT_EQ(undefined, 5);
  EXPECT_FALSE(Cp1252Byte(0x80).has_value());  // the C1 control whose byte is the euro sign
}

}  // namespace
}  // namespace moswit
