// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dat/datimport.h"
#include "database/didreader.h"
#include "database/didwriter.h"
#include "database/standardname.h"
#include "editors/didfromimages.h"
#include "support/adfbuilder.h"
#include "support/datbuilder.h"
#include "support/runprogram.h"
#include "support/tempdir.h"
#include "support/zipwriter.h"

namespace moswit {
namespace {

using test::BytesOf;
using test::DatXml;

std::vector<std::string> StandardNames(const DatabaseInfo& database) {
  std::vector<std::string> names;
  for (const GameRecord& game : database.games) {
    for (const DiskRecord& disk : game.disks) names.push_back(StandardName(game, disk));
  }
  return names;
}

TEST(CliImportDat, WritesOneDidOfEveryDatGivenPlainOrZipped) {
  test::TempDir dir;
  const std::string plain = dir.Write(
      "a.dat", BytesOf(DatXml({{"Quest (1990)(Soft)(Disk 1 of 2)",
                                {{"Quest (1990)(Soft)(Disk 1 of 2).adf", "901120", "1"}}},
                               {"Quest (1990)(Soft)(Manual)", {{"Quest.pdf", "10", "2"}}}})));
  const std::string zipped = dir.Write(
      "b.zip",
      test::MakeZip(
          {{"b.dat", BytesOf(DatXml({{"Quest (1990)(Soft)(Disk 2 of 2)",
                                      {{"Quest (1990)(Soft)(Disk 2 of 2).adf", "901120", "3"}}},
                                     {"Caf&#233;", {{"Caf&#233;.adf", "901120", "4"}}}}))}}));
  const std::string out = (dir.Path() / "out.did").string();

  const test::ProgramResult result = test::Cli({"import-dat", out, plain, zipped});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err,
            "2 games, 3 disks; 1 ROMs skipped (1 not ADF, 0 without CRC or size, 0 repeated); "
            "0 names changed\n");
  const DidReadResult read = ReadDatabase(out);
  ASSERT_TRUE(read.database);
  EXPECT_FALSE(read.skips.Any());
  EXPECT_EQ(read.database->name.Value(), "New Database [" + out + "]");
  EXPECT_EQ(StandardNames(*read.database),
            (std::vector<std::string>{"Quest (1990)(Soft)(Disk 1 of 2)",
                                      "Quest (1990)(Soft)(Disk 2 of 2)", "Caf\xE9"}));
}

// Every DAT at fault is named, with its line; then nothing is written.
TEST(CliImportDat, WritesNothingWhenAFileIsNoDat) {
  test::TempDir dir;
  const std::string good =
      dir.Write("good.dat", BytesOf(DatXml({{"a", {{"a.adf", "901120", "1"}}}})));
  const std::string bad =
      dir.Write("bad.dat", BytesOf("<datafile>\n<game name=\"a\">\n</datafile>"));
  const std::string missing = (dir.Path() / "missing.dat").string();
  const std::string out = (dir.Path() / "out.did").string();

  const test::ProgramResult result = test::Cli({"import-dat", out, good, bad, missing});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.err, "moswit-cli: " + bad +
                            ": line 3: not a DAT (Start-end tags mismatch)\nmoswit-cli: " +
                            missing + ": No such file or directory\n");
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_EQ(test::Cli({"import-dat", out}).exitStatus, 2);
}

// The missing disks known by their whole image come back as the DAT they
// were imported from, names in UTF-8 again; a disk the folder has and a
// missing disk known by its files alone are not listed.
TEST(CliReport, FixdatListsTheMissingWholeImages) {
  test::TempDir dir;
  test::AdfBuilder builder;
  builder.AddFile("/game", test::PatternBytes(5000, 1));
  const test::Bytes image = builder.Build();
  const std::string images = (dir.Path() / "images").string();
  dir.Write("images/have.adf", image);

  DatabaseInfo database;
  const ImagePtr loaded = LoadImageFromMemory("have.adf", image.data(), image.size());
  ASSERT_EQ(FillDiskFromImage(*loaded, AppendDisk(AppendGame(database))), "");
  AppendFile(AppendDisk(AppendGame(database))) = {RecordText("/lost"), 10, 1, kAttrGame, {}};
  DatImport import(database);
  ASSERT_FALSE(ParseDat(DatXml({{"Tom &amp; Jerry (1990)(Caf&#233;)",
                                 {{"Tom &amp; Jerry (1990)(Caf&#233;).adf", "901120", "0a1b2c3d"}}},
                                {"Racer", {{"Racer.adf", "1802240", "FFFFFFFF"}}}}),
                        [&](const DatRom& rom) { import.Add(rom); }));
  import.MoveInto(database);
  const std::string did = (dir.Path() / "mixed.did").string();
  ASSERT_FALSE(WriteDatabase(database, did));
  const std::string fixdat = (dir.Path() / "missing.dat").string();

  const test::ProgramResult result = test::Cli({"report", "--fixdat", fixdat, did, images});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.err, "4 disks: 1 have, 0 partial, 3 missing; 0 unknown images\n" + fixdat +
                            ": 2 missing disks written as a DAT\n");
  const test::Bytes written = test::ReadFileBytes(fixdat);
  std::vector<std::string> roms;
  EXPECT_FALSE(ParseDat(
      {reinterpret_cast<const char*>(written.data()), written.size()}, [&](const DatRom& rom) {
        roms.push_back(std::string(rom.game) + "|" + std::string(rom.name) + "|" +
                       std::to_string(*rom.size) + "|" + std::to_string(*rom.crc));
      }));
  EXPECT_EQ(roms, (std::vector<std::string>{
                      "Tom & Jerry (1990)(Café)|Tom & Jerry (1990)(Café).adf|901120|169552957",
                      "Racer|Racer.adf|1802240|4294967295"}));
  EXPECT_EQ(test::Cli({"report", "--fixdat", did, images}).exitStatus, 2);
}

}  // namespace
}  // namespace moswit
