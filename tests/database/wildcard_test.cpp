// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "database/recordtext.h"
#include "database/wildcard.h"

namespace moswit {
namespace {

TEST(WildcardMatch, StoredPatternsMatchAsTheyRelyOn) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"/c/*", "/C/RUN", true},
      {"/c/*", "/c/", false},  // a final star takes at least one character
      {"/s/startup-sequence", "/S/Startup-Sequence", true},
      {"*", "A", true},
      {"A*", "A", false},
      {"*A", "A", true},
      {"*?X", "ABX", false},  // after a star only a literal "?" is a candidate
      {"*?X", "AB?X", true},
      {"/SAVE*", "/SAVE1", true},
      {"/SAVE*", "/SAVE12", true},
      {"/SAVE*", "/SAVE", false},
      {"/C/*X", "/C/X", true},
      {"/C/*X", "/C/ABX", true},
      {"/C/*X", "/C/ABXY", false},
      {"/c/*x", "/C/AXBX", true},
      {"/d?/*.dat", "/D1/LEVEL.DAT", true},
      {"/d?/*.dat", "/D/LEVEL.DAT", false},
      {"/*/*", "/S/X", true},
      {"/*/*", "/S/", false},
      {"", "", true},
      {"", "A", false},
      {"A", "", false},
      {"*", "", false},
      {"?", "AB", false},
      {"??", "ab", true},
      {"\xe4", "\xc4", false},  // only a to z ignore case
      {"a*b", "A*B", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.matches) << c.pattern << " vs " << c.name;
  }
}

// The match without remembered positions, step by step.
bool PlainMatch(const std::string& p, const std::string& s) {
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
  size_t i = 0, a = 0;
  bool ok = true;
  while (ok && i < p.size() && a < s.size()) {
    if (upper(p[i]) == upper(s[a]) || p[i] == '?') {
      ++i, ++a;
    } else if (i + 1 == p.size() && p[i] == '*') {
      i = p.size(), a = s.size();
    } else if (p[i] == '*') {
      while (a < s.size()) {
        if (PlainMatch(p.substr(i + 1), s.substr(a))) break;
        ++a;
        while (a < s.size() && upper(s[a]) != upper(p[i + 1])) ++a;
      }
      if (a >= s.size()) ok = false;
      i = p.size(), a = s.size();
    } else {
      ok = false;
    }
  }
  return ok && i == p.size() && a == s.size();
}

TEST(WildcardMatch, RememberedPositionsGiveTheSameResults) {
  std::mt19937 random(3);
  const std::string alphabet = "aAb?*";
  for (int round = 0; round < 20000; ++round) {
    std::string pattern(random() % 8, ' '), name(random() % 9, ' ');
    for (char& c : pattern) c = alphabet[random() % alphabet.size()];
    for (char& c : name) c = alphabet[random() % 3];
    ASSERT_EQ(WildcardMatch(pattern, name), PlainMatch(pattern, name)) << pattern << " " << name;
  }
}

TEST(WildcardMatch, ManyStarsOnLongNamesFinish) {
  std::string name(119, 'A');
  EXPECT_FALSE(WildcardMatch("*A*A*A*A*A*A*A*A*A*A*A*A*B", name));
  EXPECT_TRUE(WildcardMatch("*A*A*A*A*A*A*A*A*A*A*A*A*A", name));
  name.back() = 'B';
  EXPECT_TRUE(WildcardMatch("*a*a*a*a*a*a*a*a*a*a*a*a*b", name));
}

// Found by fuzzing: each star used to retry every later position from
// scratch, so a thousand stars on a name of a few thousand characters took
// minutes (pattern length times name length squared). No stored record is
// that long, but the matcher takes any texts.
TEST(WildcardMatch, ThousandsOfStarsOnALongNameFinish) {
  std::string pattern;
  for (int i = 0; i < 1000; ++i) pattern += "*a";
  const std::string name(4000, 'A');
  EXPECT_FALSE(WildcardMatch(pattern + "b", name));
  EXPECT_TRUE(WildcardMatch(pattern + "*", name + "B"));
  EXPECT_TRUE(WildcardMatch(pattern, name));
}

TEST(UpperCase, OnlyLettersAToZChange) {
  EXPECT_EQ(UpperCase("az{`@[/s/Run.adf\xe4\xff"), "AZ{`@[/S/RUN.ADF\xe4\xff");
}

TEST(RecordText, StoringCutsAndEmptiesAndLoadingGivesTheText) {
  RecordText text;
  StoreText(text, std::string(300, 'x'));
  EXPECT_EQ(LoadText(text), std::string(255, 'x'));
  StoreText(text, "");
  EXPECT_FALSE(text.Present());
  EXPECT_EQ(LoadText(text), "");
  // No escape exists in a DID file for these, so they never enter a text.
  StoreText(text, "say \"hi\"\r\nnow");
  EXPECT_EQ(LoadText(text), "say 'hi'  now");
  StoreText(text, std::string(254, 'y') + "\"\"");
  EXPECT_EQ(LoadText(text), std::string(254, 'y') + "'");
}

TEST(JoinLines, LinesJoinWithSingleBlanks) {
  struct Case {
    std::vector<std::string> lines;
    const char* expected;
  };
  const Case cases[] = {
      {{}, ""},
      {{"one"}, "one"},
      {{"one", "two"}, "one two"},
      {{"", "", "one"}, "one"},
      {{"one", "", "two"}, "one  two"},
      {{"one", ""}, "one "},
  };
  for (const Case& c : cases) EXPECT_EQ(JoinLines(c.lines), c.expected);
}

}  // namespace
}  // namespace moswit
