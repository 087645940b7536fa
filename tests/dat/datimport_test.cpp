// SPDX-License-Identifier: GPL-2.0-or-later
#include "dat/datimport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dat/wholeimage.h"
#include "database/standardname.h"
#include "support/datbuilder.h"

namespace moswit {
namespace {

using test::TestGame;

DatImport Imported(const std::vector<TestGame>& games, DatabaseInfo& database) {
  DatImport import(database);
  const std::optional<DatFault> fault =
      ParseDat(test::DatXml(games), [&](const DatRom& rom) { import.Add(rom); });
  EXPECT_FALSE(fault) << DatFaultText(*fault);
  return import;
}

// Each game: its tree text's parts, then its disks' standard names.
std::vector<std::string> Catalogue(const DatabaseInfo& database) {
  std::vector<std::string> lines;
  for (const GameRecord& game : database.games) {
    EXPECT_TRUE(game.versions.Empty());
    lines.push_back(std::string(game.name.Value()) + " / " + std::to_string(game.releaseDate.year) +
                    "-" + std::to_string(game.releaseDate.month) + " / " +
                    std::string(game.publisher.Value()));
    for (const DiskRecord& disk : game.disks) lines.push_back("  " + StandardName(game, disk));
  }
  return lines;
}

// A set of disks, flags in names, a manual, a ROM not dumped, one of a
// single track, two ROMs with
// one CRC, one listed twice, two dumps of one name, names Windows-1252
// cannot hold and one too long for a DID text.
TEST(DatImport, MakesOneGamePerTitleAndADiskPerAdfImage) {
  const std::string longName(300, 'L');
  const std::vector<TestGame> dat = {
      {"Quest (1990-03)(Soft)(Disk 1 of 2)",
       {{"Quest (1990-03)(Soft)(Disk 1 of 2).adf", "901120", "00000001"}}},
      {"Quest (1990-03)(Soft)(Disk 2 of 2)",
       {{"Quest (1990-03)(Soft)(Disk 2 of 2).ADF", "901120", "00000002"},
        {"Quest (1990-03)(Soft)(Manual).txt", "2000", "00000003"}}},
      {"Quest (1990-03)(Soft)[cr Group]", {{"Quest (1990-03)(Soft)[cr Group].adf", "901120", "4"}}},
      {"Quest (1990-03)(Soft)[a]", {{"Quest (1990-03)(Soft)[a].adf", "901120", "4"}}},
      {"Racer (1991)(-)",
       {{"Racer (1991)(-).adf", "1802240", "5"},
        {"Racer (1991)(-).adf", "1802240", "5"},
        {"Racer (1991)(-).adf", "1802240", "6"},
        {"Racer (1991)(-)[b].adf", "", ""},
        {"Racer (1991)(-)(Boot).adf", "5632", "9"}}},
      {"Caf&#233; &quot;&#937;&quot;&#7;",
       {{"Caf&#233; &quot;&#937;&quot;&#7;.adf", "901120", "7"}}},
      {"", {{longName + ".adf", "901120", "8"}}},
  };
  DatabaseInfo database;
  DatImport import = Imported(dat, database);
  EXPECT_TRUE(database.games.Empty());  // until moved in
  const GameRecord* first = import.MoveInto(database);
  EXPECT_EQ(first, &database.games[0]);
  EXPECT_EQ(Catalogue(database), (std::vector<std::string>{
                                     "Quest / 1990-3 / Soft",
                                     "  Quest (1990-03)(Soft)(Disk 1 of 2)",
                                     "  Quest (1990-03)(Soft)(Disk 2 of 2)",
                                     "  Quest (1990-03)(Soft)[cr Group]",
                                     "  Quest (1990-03)(Soft)[a]",
                                     "Racer / 1991-0 / ",
                                     "  Racer (1991)(-)",
                                     "  Racer (1991)(-)",
                                     "Caf\xE9 '?'? / 0-0 / ",
                                     "  Caf\xE9 '?'?",
                                     std::string(255, 'L') + " / 0-0 / ",
                                     "  " + std::string(255, 'L'),
                                 }));
  const DiskRecord& racer = database.games[1].disks[1];
  ASSERT_EQ(racer.ranges.Size(), 1u);
  EXPECT_EQ(racer.ranges[0], (RangeRecord{0, 1802239, 6, 0, {}}));
  EXPECT_EQ(racer.nameMustMatch, 0);
  EXPECT_TRUE(racer.files.Empty());
  EXPECT_EQ(DatImportSummary(import.Counts()),
            "4 games, 8 disks; 4 ROMs skipped (1 not ADF, 2 without CRC or size, 1 repeated); "
            "2 names changed");

  // The same DAT again adds nothing: every disk is there already.
  DatImport again = Imported(dat, database);
  EXPECT_EQ(again.MoveInto(database), nullptr);
  EXPECT_EQ(again.Counts().repeated, 9u);
  EXPECT_EQ(database.games.Size(), 4u);
}

// The disks of a DAT-sized import, pairs of them sharing a CRC, are each
// found again.
TEST(DatImport, ThousandsOfDisksAreEachFoundAgain) {
  std::vector<TestGame> dat;
  for (int i = 0; i < 3000; ++i) {
    const std::string name = "Game " + std::to_string(i);
    dat.push_back({name, {{name + ".adf", "901120", std::to_string(i / 2)}}});
  }
  DatabaseInfo database;
  Imported(dat, database).MoveInto(database);
  ASSERT_EQ(database.games.Size(), 3000u);
  const DatImport again = Imported(dat, database);
  EXPECT_EQ(again.Counts().repeated, 3000u);
  EXPECT_EQ(again.Counts().disks, 0u);
}

// A game claims the date and publisher all its disks agree on.
TEST(DatImport, AGameKeepsOnlyWhatItsDisksAgreeOn) {
  DatabaseInfo database;
  Imported({{"Quest (1990)(Soft)", {{"a.adf", "901120", "1"}}},
            {"Quest (1991)(Soft)", {{"b.adf", "901120", "2"}}},
            {"Quest (1990)(Soft)[a]", {{"c.adf", "901120", "3"}}}},
           database)
      .MoveInto(database);
  EXPECT_EQ(Catalogue(database),
            (std::vector<std::string>{"Quest / 0-0 / Soft", "  a", "  b", "  c"}));
}

TEST(DatImport, ReadsTitleDateAndPublisher) {
  const struct {
    const char* name;
    const char* title;
    ReleaseDate date;
    const char* publisher;
  } cases[] = {
      {"Quest (1990-03-05)(Soft)(Disk 1 of 2)", "Quest", {1990, 3, 5}, "Soft"},
      {"Quest (demo) (1990)(Soft)", "Quest", {1990, 0, 0}, "Soft"},
      {"Quest (demo)(AGA)(1990)(Soft)", "Quest", {}, ""},
      {"Quest  [cr X] (19xx)(Soft)", "Quest", {}, "Soft"},
      {"Quest (1990-xx)(-)", "Quest", {1990, 0, 0}, ""},
      {"Quest v1.2 (1990-13-01)(Soft)", "Quest v1.2", {1990, 0, 0}, "Soft"},
      {"Quest (Europe) (En,Fr)", "Quest", {}, ""},
      {"Quest (1990", "Quest", {}, ""},
      {" (1990)(Soft)", " (1990)(Soft)", {}, ""},
      {"Quest", "Quest", {}, ""},
  };
  for (const auto& c : cases) {
    const DatTitle read = ReadDatTitle(c.name);
    EXPECT_EQ(read.title, c.title) << c.name;
    EXPECT_EQ(read.date, c.date) << c.name;
    EXPECT_EQ(read.publisher, c.publisher) << c.name;
  }
}

TEST(WholeImage, TheRangeFromByteZeroThatHoldsTheOthers) {
  const struct {
    const char* what;
    std::vector<std::pair<uint32_t, uint32_t>> ranges;
    int whole;  // its index, -1 for none
  } cases[] = {
      {"a DAT's image", {{0, 901119}}, 0},
      {"track ranges beside it", {{0, 5631}, {5632, 11263}, {0, 901119}, {1024, 1535}}, 2},
      {"track ranges alone", {{0, 5631}, {5632, 11263}}, -1},
      {"one track", {{0, 5631}}, -1},
      {"not from byte 0", {{512, 901119}}, -1},
      {"no range", {}, -1},
  };
  for (const auto& c : cases) {
    DiskRecord disk;
    for (const auto& [first, last] : c.ranges) AppendRange(disk) = {first, last, 0, 0, {}};
    const RangeRecord* whole = WholeImageRange(disk);
    EXPECT_EQ(whole, c.whole < 0 ? nullptr : &disk.ranges[static_cast<size_t>(c.whole)]) << c.what;
  }
}

}  // namespace
}  // namespace moswit
