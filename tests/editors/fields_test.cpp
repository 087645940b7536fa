// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "base/fileerror.h"
#include "database/didreader.h"
#include "database/didwriter.h"
#include "editors/commentmemo.h"
#include "editors/gamefields.h"
#include "editors/standardinfo.h"
#include "editors/versionfields.h"
#include "support/didbuilder.h"
#include "support/tempdir.h"

namespace moswit {
namespace {

TEST(CommentMemo, LinesJoinWithOneBlankEach) {
  const struct {
    const char* memo;
    const char* comment;
  } cases[] = {
      {"first\nsecond", "first second"},
      {"first\n\nsecond", "first  second"},
      {"first\r\nsecond\r\n", "first second"},
      {"\n\nfirst", "first"},
      {"\n\n", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(JoinMemoLines(c.memo), c.comment) << c.memo;

  RecordText comment("old");
  StoreComment("\n\n", comment);
  EXPECT_FALSE(comment.Present());
}

TEST(GameFields, StoreWritesEveryFieldAndLoadShowsItBack) {
  test::DidBuilder builder;
  GameRecord& game = builder.Game("Old", "Old Soft", {1990, 1, 2});
  GameFields fields = LoadGame(game);
  EXPECT_EQ(DateTexts(FieldTable<GameRecord>(), fields.texts), (DateFields{"1990", "1", "2"}));
  fields.texts["ED_Name"] = std::string(300, 'n');
  fields.texts["ED_Publisher"] = "";
  fields.texts["ED_Music"] = "Tunes";
  fields.comment = "first\nsecond";
  fields.texts["ED_RelYear"] = "70000";
  fields.texts["ED_RelMonth"] = "3";
  fields.texts["ED_RelDay"] = "-1";
  ASSERT_EQ(StoreGame(fields, game), "");

  EXPECT_EQ(game.name.Value(), std::string(255, 'n'));
  EXPECT_FALSE(game.publisher.Present());
  EXPECT_EQ(game.music.Value(), "Tunes");
  EXPECT_EQ(game.comment.Value(), "first second");
  EXPECT_EQ(game.releaseDate, (ReleaseDate{4464, 3, 255}));
  GameFields shown = LoadGame(game);
  EXPECT_EQ(shown.comment, "first second");
  EXPECT_EQ(DateTexts(FieldTable<GameRecord>(), shown.texts), (DateFields{"4464", "3", "255"}));
}

TEST(GameFields, ABadDateStoresNothing) {
  test::DidBuilder builder;
  GameRecord& game = builder.Game("Old", "Old Soft", {1990, 1, 2});
  const std::string before = FormatDatabase(builder.Database());
  GameFields fields = LoadGame(game);
  fields.texts["ED_Publisher"] = "New Soft";
  fields.comment = "new";
  fields.texts["ED_RelYear"] = "";
  EXPECT_EQ(StoreGame(fields, game), "'' is not a valid integer value");
  EXPECT_EQ(FormatDatabase(builder.Database()), before);
}

// Save and the closing write, as the DID Editor does them: stores the
// fields, then writes the database to `path`. Empty on success; otherwise
// the date message (nothing stored, nothing written) or the failed write.
std::string StoreAndWrite(const StandardInfoFields& fields, DatabaseInfo& database,
                          const std::filesystem::path& path) {
  std::string error = StoreStandardInfo(fields, database);
  if (!error.empty()) return error;
  std::optional<FileError> failed = WriteDatabase(database, path);
  return failed ? FormatFileError(*failed) : std::string();
}

TEST(StandardInfo, SaveStoresTheEditsThenWrites) {
  test::TempDir dir;
  const auto path = dir.Path() / "new.did";
  auto database = CreateDatabase(path.string());
  StandardInfoFields fields = LoadStandardInfo(*database);
  EXPECT_EQ(fields.texts["ED_Name"], "New Database [" + path.string() + "]");
  EXPECT_EQ(DateTexts(FieldTable<DatabaseInfo>(), fields.texts), (DateFields{"0", "0", "0"}));

  fields.texts["ED_Creator"] = "";
  fields.texts["ED_RelYear"] = "2024";
  fields.texts["ED_RelMonth"] = "5";
  fields.texts["ED_RelDay"] = "abc";
  EXPECT_EQ(StoreAndWrite(fields, *database, path), "'abc' is not a valid integer value");
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(database->creator.Value(), "New Creator");

  fields.texts["ED_RelDay"] = "6";
  ASSERT_EQ(StoreAndWrite(fields, *database, path), "");
  DidReadResult read = ReadDatabase(path);
  ASSERT_TRUE(read.database) << read.error.message;
  EXPECT_FALSE(read.database->creator.Present());
  EXPECT_EQ(read.database->date, (ReleaseDate{2024, 5, 6}));
}

TEST(DiskOrderText, DigitRunsFillTheEntriesInOrder) {
  const struct {
    const char* typed;
    std::vector<uint8_t> entries;
    const char* shown;
  } cases[] = {
      {"3,1 ; 2", {3, 1, 2}, "3, 1, 2"}, {"", {}, ""},      {"300", {44}, "44"},
      {"1, 0, 2", {1, 0, 2}, "1, 2"},    {"x7y", {7}, "7"},
  };
  for (const auto& c : cases) {
    DiskOrder order = ReadDiskOrder(c.typed);
    DiskOrder expected{};
    std::copy(c.entries.begin(), c.entries.end(), expected.begin());
    EXPECT_EQ(order, expected) << c.typed;
    EXPECT_EQ(DiskOrderText(order), c.shown) << c.typed;
  }
  std::string many;
  for (int i = 0; i < 300; ++i) many += "1 ";
  EXPECT_EQ(DiskCount(ReadDiskOrder(many)), 256u);
}

TEST(VersionFields, ANewVersionShowsTheEditorDefaults) {
  GameRecord game;
  VersionFields f = LoadVersion(AppendVersion(game));
  EXPECT_EQ(f.texts["ED_VersionName"], "[New Version]");
  EXPECT_EQ(f.texts["ED_MemC"], "1024");
  EXPECT_EQ(f.details.boxes["CB_En"], TriState::Checked);
  EXPECT_EQ(f.compat.boxes["CB_68000"], TriState::Greyed);
  EXPECT_EQ(f.compat.numbers["ED_FDDNum"], "1");
  EXPECT_EQ(f.compat.numbers["ED_SpeedAdjust"], "5");
  EXPECT_EQ(f.compat.boxes["CB_WinUAE"], TriState::Greyed);
  EditTexts& n = f.compat.numbers;
  EXPECT_EQ(
      n["ED_WinUAEv1"] + "." + n["ED_WinUAEv2"] + "." + n["ED_WinUAEv3"] + "r" + n["ED_WinUAEv4"],
      "0.8.22r1");
  EXPECT_EQ(n["ED_WinFellowv1"] + "." + n["ED_WinFellowv2"] + "." + n["ED_WinFellowv3"],
            "2001.11.15");

  // Stored unchanged, the version writes the default compatibility line.
  auto database = CreateDatabase("x.did");
  VersionRecord& version = AppendVersion(AppendGame(*database));
  version.compat = {};
  StoreVersion(f, version);
  EXPECT_NE(
      FormatDatabase(*database).find("comp 0AAA2810AA2A000200020000000AAA500811608002150B0F02\r\n"),
      std::string::npos);
}

TEST(VersionFields, NumbersSpillAndAreCutToTheirFields) {
  GameRecord game;
  VersionRecord& version = AppendVersion(game);
  VersionFields f = LoadVersion(version);
  f.compat.boxes["CB_WinFellow"] = TriState::Greyed;
  f.compat.numbers["ED_WinFellowv1"] = "2001";
  f.compat.numbers["ED_WinFellowv2"] = "11";
  f.compat.numbers["ED_WinFellowv3"] = "15";
  f.compat.numbers["ED_FDDNum"] = "17";
  f.parent = "300";
  f.details.numbers["ED_TrainerOpts"] = "5";
  f.details.numbers["ED_TrainerKeys"] = "3";
  f.texts["ED_MemF"] = "1,024";
  StoreVersion(f, version);
  EXPECT_EQ(version.compat.winFellow, 0x150B0F02u);
  EXPECT_EQ(version.parentVersion, 44);
  EXPECT_EQ(version.trainer, 5 + 3 * 256);
  EXPECT_EQ(version.memFast, 1024);
  EXPECT_EQ(LoadVersion(version).compat.numbers["ED_FDDNum"], "1");

  f.compat.numbers["ED_WinFellowv1"] = "1979";
  StoreVersion(f, version);
  EXPECT_EQ(version.compat.winFellow >> 24, 255u);
  EXPECT_EQ(LoadVersion(version).compat.numbers["ED_WinFellowv1"], "2235");
}

TEST(VersionFields, BoxesRebuildTheirFieldsAlone) {
  GameRecord game;
  VersionRecord& version = AppendVersion(game);
  version.chipset = 7;
  version.fixes = 0xF8;
  version.languages = 0x0000FF00u | kLangDe;
  version.compat.cpu = 0xF003;  // 3 in the first pair, bits above the boxes
  VersionFields f = LoadVersion(version);
  EXPECT_EQ(f.details.boxes["RB_OCS"], TriState::Checked);
  EXPECT_EQ(f.compat.boxes["CB_68000"], TriState::Unchecked);
  EXPECT_EQ(f.details.boxes["CB_De"], TriState::Checked);
  f.details.boxes["CB_680x0Fix"] = TriState::Checked;
  StoreVersion(f, version);
  EXPECT_EQ(version.chipset, kChipsetOcs);
  EXPECT_EQ(version.fixes, kFix680x0);
  EXPECT_EQ(version.languages, kLangDe);
  EXPECT_EQ(version.compat.cpu, 0);

  f.details.boxes["CB_De"] = TriState::Unchecked;
  f.details.boxes["CB_OtherLang"] = TriState::Checked;
  f.details.boxes["RB_OCS"] = TriState::Unchecked;
  f.details.boxes["RB_AGA"] = TriState::Checked;
  StoreVersion(f, version);
  EXPECT_EQ(version.languages, 0x80000000u);
  EXPECT_EQ(version.chipset, kChipsetAga);
}

// After a Save the window shows what it showed before, whatever the record held.
TEST(VersionFields, StoringWhatIsShownShowsTheSameAgain) {
  for (uint32_t seed = 1; seed <= 30; ++seed) {
    auto database = test::RandomDatabase(seed);
    for (GameRecord& game : database->games) {
      for (VersionRecord& version : game.versions) {
        const VersionFields shown = LoadVersion(version);
        VersionRecord stored = version;
        StoreVersion(shown, stored);
        EXPECT_EQ(LoadVersion(stored), shown) << "seed " << seed;
        VersionRecord again = stored;
        StoreVersion(LoadVersion(stored), again);
        EXPECT_EQ(again, stored) << "seed " << seed;
      }
    }
  }
}

}  // namespace
}  // namespace moswit
