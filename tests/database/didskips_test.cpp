// SPDX-License-Identifier: GPL-2.0-or-later
// What the reader counts as not understood, where it says the first one is,
// and the warning built from that.
#include <gtest/gtest.h>

#include <string>

#include "database/didreader.h"
#include "database/didskips.h"

namespace moswit {
namespace {

TEST(DidSkips, WhatIsNotUnderstoodIsCountedWithItsFirstLine) {
  struct Case {
    std::string text;
    uint64_t count;
    uint64_t firstLine;
    std::string firstText;
  };
  const Case cases[] = {
      // Known keywords in any layout; a field keyword with no value at the end.
      {"info ( name \"\" creator \"\" date 00000 )", 0, 0, ""},
      {"soft (\n\"name\"\n\"G\" disk ( dnmm \"\" file ( info 1 ) ) ) info ( name", 0, 0, ""},
      // An unknown keyword and the value after it.
      {"info ( )\nsoft (\nname \"G\"\n  bogus \"a b\"\n)", 2, 4, "  bogus \"a b\""},
      // A keyword of another record, with its value.
      {"soft (\r\nvnam \"V\"\r\n)\r\n", 2, 2, "vnam \"V\"\r"},
      // Records without a parent; at another depth a record keyword is none,
      // so its "(" is not understood either.
      {"version ( vnam \"V\" )", 4, 1, "version ( vnam \"V\" )"},
      {"soft ( disk ( ) )\nsoft ( file ( size 1 ) )", 4, 2, "soft ( file ( size 1 ) )"},
      // A "(" that opens no record, and what stands inside it.
      {"soft ( disk ( file ( ( size 5 ) ) ) )", 3, 1, "soft ( disk ( file ( ( size 5 ) ) ) )"},
      // A ")" that closes nothing, and what follows below the top level.
      {"info ( ) )\nsoft ( )", 4, 1, "info ( ) )"},
      // Words outside every record.
      {"hello\nworld", 2, 1, "hello"},
      // A UTF-8 byte order mark before the first keyword is none of this.
      {"\xEF\xBB\xBFinfo ( name \"N\" )\r\nsoft ( )", 0, 0, ""},
      // A text longer than a record holds is cut, and counted.
      {"soft (\nname \"" + std::string(255, 'n') + "\" publ \"" + std::string(256, 'p') + "\" )", 1,
       2, "name \"" + std::string(194, 'n')},
  };
  for (const Case& c : cases) {
    DidSkips skips;
    ParseDatabase(c.text, &skips);
    EXPECT_EQ(skips.count, c.count) << c.text;
    EXPECT_EQ(skips.firstLine, c.firstLine) << c.text;
    EXPECT_EQ(skips.firstText, c.firstText) << c.text;
  }
  // A long line is kept only in part.
  DidSkips skips;
  ParseDatabase(std::string(300, 'x'), &skips);
  EXPECT_EQ(skips.firstText, std::string(DidSkips::kTextLimit, 'x'));
}

TEST(DidSkips, TheWarningNamesTheFileTheCountAndAnExcerptOfTheFirstLine) {
  const auto skips = [](uint64_t count, std::string text) {
    return DidSkips{count, 7, std::move(text)};
  };
  const std::pair<DidSkips, std::string> cases[] = {
      {skips(1, "\tbogus \"a b\"\r"),
       "/db/g.did: 1 part of the file was not understood and is left out, on line 7: "
       "\"bogus \"a b\"\""},
      {skips(137, "  \x01\xff\xe4 ok\tthere  "),
       "/db/g.did: 137 parts of the file were not understood and are left out, the first on "
       "line 7: \"??? ok there\""},
      {skips(2, std::string(80, 'x')),
       "/db/g.did: 2 parts of the file were not understood and are left out, the first on "
       "line 7: \"" +
           std::string(60, 'x') + "...\""},
  };
  for (const auto& [given, expected] : cases)
    EXPECT_EQ(DidSkipWarning("/db/g.did", given), expected);
}

}  // namespace
}  // namespace moswit
