// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "editors/datefields.h"

namespace moswit {
namespace {

struct StrictCase {
  const char* text;
  std::optional<int32_t> value;
};

TEST(StrictToInt, AcceptsOnlyAWholeNumberWithOptionalSign) {
  const StrictCase cases[] = {
      {"1990", 1990},      {"-1", -1},
      {"+7", 7},           {"007", 7},
      {"abc", {}},         {"", {}},
      {"-", {}},           {" 5", {}},
      {"5 ", {}},          {"1,990", {}},
      {"12a", {}},         {"2147483647", 2147483647},
      {"2147483648", {}},  {"-2147483648", INT32_MIN},
      {"-2147483649", {}}, {"99999999999999999999", {}},
  };
  for (const StrictCase& c : cases) EXPECT_EQ(StrictToInt(c.text), c.value) << c.text;
}

TEST(ReadDateStrictly, CutsToTheWidthsOfTheParts) {
  ReleaseDate date;
  EXPECT_EQ(ReadDateStrictly({"70000", "-1", "-1"}, date), "");
  EXPECT_EQ(date, (ReleaseDate{4464, 255, 255}));
  const auto table = FieldTable<GameRecord>();
  GameRecord game;
  game.releaseDate = date;
  EXPECT_EQ(DateTexts(table, LoadEditTexts(table, game)), (DateFields{"4464", "255", "255"}));
  EXPECT_EQ(DateTexts(table, LoadEditTexts(table, GameRecord{})), (DateFields{"0", "0", "0"}));
}

TEST(ReadDateStrictly, TheFirstBadPartNamesTheMessageAndNothingChanges) {
  const ReleaseDate before{1991, 3, 5};
  const struct {
    DateFields fields;
    const char* message;
  } cases[] = {
      {{"abc", "1", "1"}, "'abc' is not a valid integer value"},
      {{"", "1", "1"}, "'' is not a valid integer value"},
      {{"1990", "1", "x"}, "'x' is not a valid integer value"},
      {{"1990", "1.5", "x"}, "'1.5' is not a valid integer value"},
  };
  for (const auto& c : cases) {
    ReleaseDate date = before;
    EXPECT_EQ(ReadDateStrictly(c.fields, date), c.message);
    EXPECT_EQ(date, before);
  }
}

// The Version editor's date edits are read as the field table stores them.
TEST(ReadDateLeniently, TakesTheDigitsAndNeverFails) {
  const auto lenient = [](const char* year, const char* month, const char* day) {
    VersionRecord version;
    StoreEditTexts(FieldTable<VersionRecord>(),
                   {{"ED_RelYear", year}, {"ED_RelMonth", month}, {"ED_RelDay", day}}, version);
    return version.releaseDate;
  };
  EXPECT_EQ(lenient("19-93", "abc", "-3"), (ReleaseDate{1993, 0, 3}));
  EXPECT_EQ(lenient("70000", "300", ""), (ReleaseDate{4464, 44, 0}));
}

}  // namespace
}  // namespace moswit
