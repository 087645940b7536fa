// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "database/standardname.h"
#include "database/standardnamereader.h"

namespace moswit {
namespace {

// The standard name of disk `number` of a game with one version listing
// `count` disks.
std::string NameOf(GameRecord& game, VersionRecord& version, unsigned number, unsigned count) {
  version.diskOrder = {};
  for (unsigned k = 1; k <= count; ++k) {
    if (game.disks.Size() < k) game.disks.Append();
    version.diskOrder[k - 1] = static_cast<uint8_t>(k);
  }
  return StandardName(game, game.disks[number - 1]);
}

// The name the reading builds, on a game of its own.
std::string Rebuilt(const NameReading& reading) {
  GameRecord game;
  VersionRecord& version = game.versions.Append();
  ApplyNameReading(reading, game, version);
  return NameOf(game, version, reading.diskNumber, reading.diskCount);
}

// Every field the name shows, at random; texts are short and made of the
// characters names are made of, so they look like dates, tags and numbers.
uint32_t Below(std::mt19937& random, uint32_t n) { return static_cast<uint32_t>(random() % n); }

void FillAtRandom(std::mt19937& random, GameRecord& game, VersionRecord& version) {
  auto below = [&random](uint32_t n) { return Below(random, n); };
  auto text = [&](RecordText& field) {
    static const std::string kAlphabet = "aZ09 ()[]-|+AGAEnDe";
    std::string value;
    for (uint32_t n = below(8) + 1; n > 0; --n) value.push_back(kAlphabet[below(19)]);
    if (below(3) == 0) field = value;
  };
  auto date = [&](ReleaseDate& field) {
    if (below(3) != 0)
      field = {static_cast<uint16_t>(below(65535) + 1), static_cast<uint8_t>(below(256)),
               static_cast<uint8_t>(below(256))};
  };
  for (RecordText* field :
       {&game.name, &game.publisher, &version.gameName, &version.publisher, &version.versionName,
        &version.protection, &version.releasedBy, &version.crackedBy, &version.trainedBy,
        &version.fixedBy, &version.modification, &version.modifiedBy}) {
    text(*field);
  }
  date(game.releaseDate);
  date(version.releaseDate);
  version.chipset = static_cast<ChipsetKind>(below(4));
  version.languages =
      below(2) == 0 ? kDefaultLanguages : below(256) | (below(2) == 0 ? kLangOther : 0);
  if (below(3) == 0) version.trainer = static_cast<TrainerCounts>(below(65536));
  if (below(3) == 0) version.fixes = static_cast<FixFlags>(below(8));
}

TEST(StandardNameReader, RandomSingleVersionGamesReadBackToTheirNames) {
  std::mt19937 random(12);
  for (int round = 0; round < 3000; ++round) {
    GameRecord game;
    VersionRecord& version = game.versions.Append();
    FillAtRandom(random, game, version);
    const unsigned count = Below(random, 3) == 0 ? Below(random, 14) + 1 : 1;
    const unsigned number = Below(random, count) + 1;
    const std::string name = NameOf(game, version, number, count);

    const NameReading reading = ReadStandardName(name);
    SCOPED_TRACE(name);
    EXPECT_TRUE(reading.standardForm);
    EXPECT_EQ(Rebuilt(reading), name);
    if (count > 1) {
      EXPECT_EQ(reading.diskNumber, number);
      EXPECT_EQ(reading.diskCount, count);
      EXPECT_EQ(name.substr(0, reading.setName.size()), reading.setName);
    }
  }
}

TEST(StandardNameReader, ReadsEveryTagIntoItsField) {
  const NameReading r = ReadStandardName(
      "Racer AGA (1991-03)(Soft)(De-Fr)[cp Disk][r R][t +6(3) T][f AGA-HD F][m W X][03-12]");
  EXPECT_TRUE(r.standardForm);
  EXPECT_EQ(r.gameName + "|" + r.publisher + "|" + r.protection + "|" + r.releasedBy + "|" +
                r.trainedBy + "|" + r.fixedBy + "|" + r.modification + "|" + r.setName.substr(0, 5),
            "Racer|Soft|Disk|R|T|F|W X|Racer");
  EXPECT_EQ(r.releaseDate, (ReleaseDate{1991, 3, 0}));
  EXPECT_EQ(r.chipset, kChipsetAga);
  EXPECT_EQ(r.languages, kLangDe | kLangBe);
  EXPECT_EQ(r.trainer, 5 + 3 * 256);
  EXPECT_EQ(r.fixes, kFixAga | kFixHd);
  EXPECT_EQ(r.diskNumber * 100 + r.diskCount, 312u);
}

TEST(StandardNameReader, OtherNamesFallBack) {
  struct Case {
    const char* name;
    bool standardForm;
    const char* gameName;
    const char* setName;
    unsigned number;
    unsigned count;
  };
  const Case cases[] = {
      // "(Disk k of N)" gives the disk number, the rest is read as usual.
      {"Quest (1990)(Soft)(Disk 2 of 3)", true, "Quest", "Quest (1990)(Soft)", 2, 3},
      {"Quest (disk 01 of 02) (1990)(Soft)", true, "Quest", "Quest (1990)(Soft)", 1, 2},
      {"Some Game (Disk 1 of 2)", false, "Some Game", "Some Game", 1, 2},
      // A name the builder never writes is the game's name as it stands.
      {"Just a name", false, "Just a name", "Just a name", 1, 1},
      {"Game (1991-3)(Soft)", false, "Game (1991-3)(Soft)", "Game (1991-3)(Soft)", 1, 1},
      {"Game (1991)(Soft)(En)", true, "Game", "Game (1991)(Soft)(En)", 1, 1},
      {"Game (1991)(Soft)[1|1]", false, "Game (1991)(Soft)[1|1]", "Game (1991)(Soft)[1|1]", 1, 1},
      {"Game (1991)(Soft)[t +0]", false, "Game (1991)(Soft)[t +0]", "Game (1991)(Soft)[t +0]", 1,
       1},
      {"Game (1991)(Soft)[5-12]", false, "Game (1991)(Soft)[5-12]", "Game (1991)(Soft)[5-12]", 1,
       1},
      {"Say \"Hi\" (1991)(Soft)", false, "Say 'Hi' (1991)(Soft)", "Say \"Hi\" (1991)(Soft)", 1, 1},
      // A disk number after any other name still groups the set.
      {"Demo[2|2]", false, "Demo", "Demo", 2, 2},
      // "[k_N]", as organized copies are named, is "[k|N]"; "_" in a tag is not.
      {"Quest (1990)(Soft)[2_3]", true, "Quest", "Quest (1990)(Soft)", 2, 3},
      {"Quest (1990)(Soft)[cr A_B]", true, "Quest", "Quest (1990)(Soft)[cr A_B]", 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const NameReading reading = ReadStandardName(c.name);
    EXPECT_EQ(reading.standardForm, c.standardForm);
    GameRecord game;
    VersionRecord& version = game.versions.Append();
    ApplyNameReading(reading, game, version);
    EXPECT_EQ(game.name.Value(), c.gameName);
    EXPECT_EQ(reading.setName, c.setName);
    EXPECT_EQ(reading.diskNumber, c.number);
    EXPECT_EQ(reading.diskCount, c.count);
    if (!c.standardForm) {
      EXPECT_EQ(VersionTagString(game, version), "");
    }
  }
}

}  // namespace
}  // namespace moswit
