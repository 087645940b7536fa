// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "database/packedfields.h"
#include "database/records.h"
#include "support/didbuilder.h"

namespace moswit {
namespace {

TEST(Records, NewRecordsTakeTheEditorDefaults) {
  auto database = CreateDatabase("/home/me/games.did");
  EXPECT_EQ(database->name.Value(), "New Database [/home/me/games.did]");
  EXPECT_EQ(database->creator.Value(), "New Creator");
  EXPECT_EQ(database->date, ReleaseDate{});

  GameRecord& game = AppendGame(*database);
  EXPECT_EQ(game.name.Value(), "[New Game]");
  EXPECT_EQ(game.publisher.Value(), "Publisher");
  EXPECT_FALSE(game.developer.Present());

  VersionRecord& version = AppendVersion(game);
  EXPECT_EQ(version.versionName.Value(), "[New Version]");
  EXPECT_EQ(version.memChip, 1024);
  EXPECT_EQ(version.languages, kLangEn);
  EXPECT_EQ(version.chipset, kChipsetOcs);
  EXPECT_EQ(DiskCount(version.diskOrder), 0u);
  EXPECT_EQ(version.compat, DefaultCompatInfo());
  PackedControls shown = LoadPacked(PackedTable<CompatInfo>(), version.compat);
  EXPECT_EQ(shown.boxes["CB_FDDNum"], TriState::Unchecked);
  EXPECT_EQ(shown.boxes["CB_FastestSpeed"], TriState::Greyed);
  EXPECT_EQ(shown.numbers["ED_FDDNum"], "1");
  EXPECT_EQ(shown.numbers["ED_SpeedAdjust"], "5");

  DiskRecord& disk = AppendDisk(game);
  EXPECT_EQ(disk.name.Value(), "[New Disk]");
  EXPECT_EQ(disk.nameMustMatch, 0);
  EXPECT_EQ(AppendFile(disk), FileRecord{});
  EXPECT_EQ(AppendRange(disk), RangeRecord{});
}

TEST(Records, CompatFieldsComposeAtTheirBitPositions) {
  CompatInfo compat;
  StorePacked(PackedTable<CompatInfo>(),
              {{{"CB_WinFellow", TriState::Checked}, {"CB_WinUAE", TriState::Greyed}},
               {{"ED_WinFellowv1", "2001"},
                {"ED_WinFellowv2", "11"},
                {"ED_WinFellowv3", "15"},
                {"ED_WinUAEv1", "0"},
                {"ED_WinUAEv2", "8"},
                {"ED_WinUAEv3", "22"},
                {"ED_WinUAEv4", "1"}}},
              compat);
  EXPECT_EQ(compat.winFellow, 0x150B0F01u);
  EXPECT_EQ(compat.winUae, compat::kDefaultWinUae);
  compat.kickstart = 3u << 8;
  EXPECT_EQ(LoadPacked(PackedTable<CompatInfo>(), compat).boxes["CB_KS31"], TriState::Unchecked);
}

TEST(Records, DeletingKeepsTheOtherRecordsInPlaceAndInOrder) {
  test::DidBuilder builder;
  GameRecord& game = builder.Game("G");
  DiskRecord* disks[4];
  for (DiskRecord*& disk : disks) disk = &builder.Disk(game, "D");
  disks[3]->files.Append().size = 7;

  EXPECT_TRUE(game.disks.Dispose(disks[1]));
  EXPECT_FALSE(game.disks.Dispose(disks[1]));
  ASSERT_EQ(game.disks.Size(), 3u);
  EXPECT_EQ(&game.disks[0], disks[0]);
  EXPECT_EQ(&game.disks[1], disks[2]);
  EXPECT_EQ(&game.disks[2], disks[3]);
  EXPECT_EQ(game.disks.PositionOf(disks[3]), 3u);
  EXPECT_EQ(disks[3]->files[0].size, 7u);

  std::unique_ptr<DiskRecord> taken = game.disks.Unlink(disks[0]);
  EXPECT_EQ(taken.get(), disks[0]);
  EXPECT_EQ(game.disks.PositionOf(disks[0]), 0u);
  EXPECT_EQ(game.disks.AtPosition(1), disks[2]);
  EXPECT_EQ(game.disks.AtPosition(3), nullptr);
  EXPECT_EQ(game.disks.AtPosition(0), nullptr);
}

TEST(Records, VersionDisksFollowTheirDiskOrder) {
  test::DidBuilder builder;
  GameRecord& game = builder.Game("G");
  DiskRecord& first = builder.Disk(game, "1");
  DiskRecord& second = builder.Disk(game, "2");
  VersionRecord& a = builder.Version(game, {2, 1, 9});
  VersionRecord& b = builder.Version(game, {2});
  a.diskOrder[4] = 1;  // after the first 0: not the version's

  std::vector<DiskRecord*> disks = test::FindVersionDisks(game, a);
  ASSERT_EQ(disks.size(), 3u);
  EXPECT_EQ(disks[0], &second);
  EXPECT_EQ(disks[1], &first);
  EXPECT_EQ(disks[2], nullptr);  // past the end of the disk list
  EXPECT_EQ(test::FindVersionDisks(game, b), std::vector<DiskRecord*>{&second});
}

}  // namespace
}  // namespace moswit
