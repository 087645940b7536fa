// What the reader counts as not understood, where it says the first one is,
// and the warning built from that.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "database/didreader.h"
#include "database/didskips.h"
#include "support/didbuilder.h"

namespace moswit {
namespace {

TEST(DidSkips, WhatIsNotUnderstoodIsCountedWithItsFirstLine) {
  struct Case {
    const char* text;
    uint64_t count;
    uint64_t firstLine;
    const char* firstText;
  };
  const Case cases[] = {
      // Known keywords, in any layout, a field keyword with no value at the end.
      {"info ( name \"\" creator \"\" date 00000 )", 0, 0, ""},
      {"soft (\n\"name\"\n\"G\" disk ( dnmm \"\" file ( info 1 ) ) ) info ( name", 0, 0, ""},
      // An unknown keyword and the value after it.
      {"info ( )\nsoft (\nname \"G\"\n  bogus \"a b\"\n)", 2, 4, "  bogus \"a b\""},
      // A keyword of another record, with its value.
      {"soft ( version ( crcv 0A1B2C3D ) )", 2, 1, "soft ( version ( crcv 0A1B2C3D ) )"},
      {"soft (\r\nvnam \"V\"\r\n)\r\n", 2, 2, "vnam \"V\"\r"},
      // Records without a parent, and what they hold; a record keyword at
      // another depth is not one, so its "(" is not understood either.
      {"info ( disk ( dnam \"D\" ) )", 3, 1, "info ( disk ( dnam \"D\" ) )"},
      {"version ( vnam \"V\" )", 4, 1, "version ( vnam \"V\" )"},
      {"soft ( disk ( ) )\nsoft ( file ( size 1 ) )", 4, 2, "soft ( file ( size 1 ) )"},
      // A "(" that opens no record, and what stands inside it.
      {"soft ( ( name \"G\" ) )", 3, 1, "soft ( ( name \"G\" ) )"},
      {"soft ( disk ( file ( ( size 5 ) ) ) )", 3, 1, "soft ( disk ( file ( ( size 5 ) ) ) )"},
      // A ")" that closes nothing, and what follows below the top level.
      {"info ( ) )\nsoft ( )", 4, 1, "info ( ) )"},
      {"\n\n)", 1, 3, ")"},
      // Words outside every record.
      {"hello\nworld", 2, 1, "hello"},
  };
  for (const Case& c : cases) {
    DidSkips skips;
    ParseDatabase(c.text, &skips);
    EXPECT_EQ(skips.count, c.count) << c.text;
    EXPECT_EQ(skips.firstLine, c.firstLine) << c.text;
    EXPECT_EQ(skips.firstText, c.firstText) << c.text;
  }
}

TEST(DidSkips, RandomBytesAreReadAsAnEmptyDatabaseWithManySkips) {
  std::mt19937 random(19);
  std::string bytes(20000, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  DidSkips skips;
  auto database = ParseDatabase(bytes, &skips);
  EXPECT_EQ(*database, DatabaseInfo{});
  EXPECT_GT(skips.count, 1000u);
  // A long line is kept only in part.
  ParseDatabase(std::string(300, 'x'), &(skips = {}));
  EXPECT_EQ(skips.firstText, std::string(DidSkips::kTextLimit, 'x'));
}

TEST(DidSkips, TheWarningNamesTheFileTheCountAndAnExcerptOfTheFirstLine) {
  const auto skips = [](uint64_t count, std::string text) {
    return DidSkips{count, 7, std::move(text)};
  };
  const std::string long80(80, 'x');
  const std::pair<DidSkips, std::string> cases[] = {
      {DidSkips{}, ""},
      {skips(1, "\tbogus \"a b\"\r"),
       "/db/g.did: 1 part of the file was not understood and is left out, on line 7: "
       "\"bogus \"a b\"\""},
      {skips(137, "  \x01\xff\xe4 ok\tthere  "),
       "/db/g.did: 137 parts of the file were not understood and are left out, the first on "
       "line 7: \"??? ok there\""},
      {skips(2, long80),
       "/db/g.did: 2 parts of the file were not understood and are left out, the first on "
       "line 7: \"" +
           std::string(60, 'x') + "...\""},
  };
  for (const auto& [given, expected] : cases)
    EXPECT_EQ(DidSkipWarning("/db/g.did", given), expected);
}

}  // namespace
}  // namespace moswit
