// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "database/standardname.h"
#include "support/didbuilder.h"

namespace moswit {
namespace {

// Example Game: version A (En-De) on disks 1, 2 and version B (En) on 1, 3,
// both cracked by Group X.
class ExampleGame : public ::testing::Test {
 protected:
  void SetUp() override {
    game_ = &builder_.Game("Example Game", "Example Soft", {1991, 3, 0});
    a_ = &builder_.Version(*game_, {1, 2});
    a_->languages = kLangEn | kLangDe;
    a_->crackedBy = "Group X";
    b_ = &builder_.Version(*game_, {1, 3});
    b_->crackedBy = "Group X";
    for (const char* name : {"Disk1", "Disk2", "Disk3"}) builder_.Disk(*game_, name);
  }
  std::string Name(size_t disk) { return StandardName(*game_, game_->disks[disk]); }

  test::DidBuilder builder_;
  GameRecord* game_ = nullptr;
  VersionRecord* a_ = nullptr;
  VersionRecord* b_ = nullptr;
};

TEST_F(ExampleGame, SharedAndSingleDisksGetTheirNames) {
  EXPECT_EQ(Name(0), "Example Game (1991-03)(Example Soft)[cr Group X][1|2][mv]");
  EXPECT_EQ(Name(1), "Example Game (1991-03)(Example Soft)[cr Group X][2|2](En-De)");
}

TEST_F(ExampleGame, UnlistedDiskIsItsVolumeName) {
  builder_.Disk(*game_, "Extra");
  EXPECT_EQ(Name(3), "Extra");
}

TEST_F(ExampleGame, UnrelatedVersionsDoNotMoveTags) {
  b_->diskOrder = {};
  b_->diskOrder[0] = 3;
  EXPECT_EQ(Name(1), "Example Game (1991-03)(Example Soft)(En-De)[cr Group X][2|2]");
}

TEST_F(ExampleGame, TagsUsersDisagreeOnAreLeftOut) {
  b_->crackedBy = "Group Y";
  EXPECT_EQ(Name(0), "Example Game (1991-03)(Example Soft)[1|2][mv]");
  EXPECT_EQ(Name(1), "Example Game (1991-03)(Example Soft)[2|2](En-De)[cr Group X]");
}

TEST_F(ExampleGame, VersionListingADiskTwiceSharesIt) {
  b_->diskOrder = {};
  a_->diskOrder[2] = 2;
  EXPECT_EQ(Name(1), "Example Game (1991-03)(Example Soft)(En-De)[cr Group X][2|3][mv]");
}

TEST(VersionTagString, TagsFollowTheirRules) {
  struct Case {
    const char* expected;
    void (*fill)(VersionRecord&);
  };
  const Case cases[] = {
      {"", [](VersionRecord&) {}},
      {"()", [](VersionRecord& v) { v.languages = 0; }},
      {"(En-De-Fr-xx)",
       [](VersionRecord& v) { v.languages = kLangEn | kLangDe | kLangBe | kLangOther; }},
      {"(Pl-Dk-Se-No-Nl)",
       [](VersionRecord& v) { v.languages = kLangPl | kLangDk | kLangSe | kLangNo | kLangNl; }},
      {"[cp Disk]", [](VersionRecord& v) { v.protection = "Disk"; }},
      {"[cr C]", [](VersionRecord& v) { v.protection = "Disk", v.crackedBy = "C"; }},
      {"", [](VersionRecord& v) { v.releasedBy = "R"; }},  // only in the standard name
      {"[t +5 X]", [](VersionRecord& v) { v.trainer = 5, v.trainedBy = "X"; }},
      {"[t +6(3)]", [](VersionRecord& v) { v.trainer = 5 + 3 * 256; }},
      {"[t +0 X]", [](VersionRecord& v) { v.trainedBy = "X"; }},
      {"[f AGA-HD X]", [](VersionRecord& v) { v.fixes = kFixAga | kFixHd, v.fixedBy = "X"; }},
      {"[f 680x0]", [](VersionRecord& v) { v.fixes = kFix680x0; }},
      {"[f X]", [](VersionRecord& v) { v.fixedBy = "X"; }},
      {"[m What Who]", [](VersionRecord& v) { v.modification = "What", v.modifiedBy = "Who"; }},
      {"[m Who]", [](VersionRecord& v) { v.modifiedBy = "Who"; }},
      {"(De)[cp P][t +1][f HD][m M]",
       [](VersionRecord& v) {
         v.modification = "M", v.fixes = kFixHd, v.trainer = 1, v.protection = "P",
         v.languages = kLangDe;
       }},
  };
  for (const Case& c : cases) {
    test::DidBuilder builder;
    GameRecord& game = builder.Game("G");
    VersionRecord& version = builder.Version(game, {1});
    c.fill(version);
    EXPECT_EQ(VersionTagString(game, version), c.expected);
  }
}

TEST(StandardName, BodyAndDiskNumberFollowTheirRules) {
  struct Case {
    const char* expected;
    size_t diskCount;  // disks of the one version, which lists them in order
    size_t disk;       // zero-based, named disk
    void (*fill)(GameRecord&, VersionRecord&);
  };
  const Case cases[] = {
      {"G (1990)(P)", 1, 0, [](GameRecord&, VersionRecord&) {}},
      {"G (1990)(P)[9|9]", 9, 8, [](GameRecord&, VersionRecord&) {}},
      {"G (1990)(P)[01-10]", 10, 0, [](GameRecord&, VersionRecord&) {}},
      {"G (1990)(P)[03-12]", 12, 2, [](GameRecord&, VersionRecord&) {}},
      {"G (1990)(P)[11-12]", 12, 10, [](GameRecord&, VersionRecord&) {}},
      {"G (-)(P)", 1, 0, [](GameRecord& g, VersionRecord&) { g.releaseDate = {}; }},
      {"G (1993)(P)", 1, 0,
       [](GameRecord& g, VersionRecord& v) {
         g.releaseDate = {1990, 4, 2}, v.releaseDate = {1993, 0, 7};
       }},
      {"G (1990-04-02)(P)", 1, 0,
       [](GameRecord& g, VersionRecord&) {
         g.releaseDate = {1990, 4, 2};
       }},
      {"G (-)(P)", 1, 0,
       [](GameRecord& g, VersionRecord& v) {
         g.releaseDate = {0, 4, 2}, v.releaseDate = {0, 1, 1};
       }},
      {"G (1990)(P)", 1, 0, [](GameRecord&, VersionRecord& v) { v.gameName = "G"; }},
      {"Regional (1990)(P)", 1, 0, [](GameRecord&, VersionRecord& v) { v.gameName = "Regional"; }},
      {"G AGA Remix (1990)(Other)", 1, 0,
       [](GameRecord&, VersionRecord& v) {
         v.chipset = kChipsetAga, v.versionName = "Remix", v.publisher = "Other";
       }},
      {"G (1990)(P)", 1, 0,
       [](GameRecord&, VersionRecord& v) { v.chipset = kChipsetEcs, v.publisher = "P"; }},
      {"G (1990)()", 1, 0, [](GameRecord& g, VersionRecord&) { g.publisher.Clear(); }},
      {"G (1990)(P)()[cp X][r R][t +2]", 1, 0,
       [](GameRecord&, VersionRecord& v) {
         v.languages = 0, v.protection = "X", v.releasedBy = "R", v.trainer = 2;
       }},
      {"G (1990)(P)[r R][cr C]", 1, 0,
       [](GameRecord&, VersionRecord& v) {
         v.protection = "X", v.releasedBy = "R", v.crackedBy = "C";
       }},
  };
  for (const Case& c : cases) {
    test::DidBuilder builder;
    GameRecord& game = builder.Game("G", "P", {1990, 0, 0});
    VersionRecord& version = game.versions.Append();
    version.languages = kLangEn;
    for (size_t k = 0; k < c.diskCount; ++k) {
      version.diskOrder[k] = static_cast<uint8_t>(k + 1);
      builder.Disk(game, "D");
    }
    c.fill(game, version);
    EXPECT_EQ(StandardName(game, game.disks[c.disk]), c.expected);
  }
}

TEST(StandardName, DiskOrderPastTheDiskListNamesNoDisk) {
  test::DidBuilder builder;
  GameRecord& game = builder.Game("G", "P");
  builder.Version(game, {5, 1});
  DiskRecord& disk = builder.Disk(game, "Vol");
  EXPECT_EQ(StandardName(game, disk), "G (-)(P)[2|2]");
}

}  // namespace
}  // namespace moswit
