// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/pathtext.h"
#include "database/attributes.h"
#include "database/didwriter.h"
#include "image/crc32.h"
#include "support/adfbuilder.h"
#include "support/didbuilder.h"
#include "support/filenames.h"
#include "support/runprogram.h"
#include "support/tempdir.h"

namespace moswit {
namespace {

TEST(CliTree, PrintsTheSortedTreeAndTheStatsLine) {
  test::DidBuilder builder;
  GameRecord& zed = builder.Game("Zed", "Z Soft", {1992, 0, 0});
  builder.Version(zed, {1}).trainer = 5;
  builder.Disk(zed, "ZedDisk");
  GameRecord& alpha = builder.Game("Alpha");
  alpha.comment = "two lines joined";
  builder.Disk(alpha, "Unused");
  test::TempDir dir;
  const std::string path = (dir.Path() / "tree.did").string();
  ASSERT_FALSE(WriteDatabase(builder.Database(), path));

  test::ProgramResult result = test::RunProgram(MOSWIT_CLI_PATH, {"tree", path});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out,
            "Alpha ( / 0) [two lines joined]\n"
            "\tD#1: Unused\n"
            "Zed (Z Soft / 1992)\n"
            "\tV#1: [t +5]\n"
            "\tD#1: Zed (1992)(Z Soft)[t +5]\n"
            "2 games, 1 versions, 2 disks, ~1kb mem used\n");
}

TEST(CliTree, UnreadableFileAndWrongUsage) {
  test::TempDir dir;
  const std::string missing = (dir.Path() / "missing.did").string();
  test::ProgramResult result = test::RunProgram(MOSWIT_CLI_PATH, {"tree", missing});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.err, "moswit-cli: " + missing + ": No such file or directory\n");
  EXPECT_EQ(result.out, "");

  result = test::RunProgram(MOSWIT_CLI_PATH, {"tree"});
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_NE(result.err.find("usage: moswit-cli"), std::string::npos);
}

// DID texts and Amiga names are Windows-1252 bytes; every command prints
// them in UTF-8, and "did" copies the DID byte for byte.
TEST(CliCodePage, DidTextAndAmigaNamesPrintInUtf8) {
  const std::string title = "Caf\xe9 \x80";  // "Café €"
  const std::string file = "/Gr\xfc\xdf\x80";
  test::AdfBuilder::Options options;
  options.volume = "Caf\xe9";
  test::AdfBuilder image(options);
  const test::Bytes contents = test::PatternBytes(3000, 1);
  image.AddFile(file, contents);
  test::DidBuilder did;
  GameRecord& game = did.Game(title, "Soft");
  did.Version(game, {1});
  FileRecord& record = AppendFile(did.Disk(game, "Caf\xe9"));
  record.path = file;
  record.size = static_cast<uint32_t>(contents.size());
  record.crc32 = Crc32(contents);
  record.attributes = kAttrGame;

  test::TempDir dir;
  const std::string didPath = (dir.Path() / "c.did").string();
  ASSERT_FALSE(WriteDatabase(did.Database(), didPath));
  const std::string folder = (dir.Path() / "src").string();
  const std::string imagePath = dir.Write("src/Spiel.adf", image.Build());
  const std::string target = (dir.Path() / "target").string();
  const std::string titleUtf8 = "Caf\xC3\xA9 \xE2\x82\xAC";
  const std::string fileUtf8 = "/Gr\xC3\xBC\xC3\x9F\xE2\x82\xAC";
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"list", imagePath}, fileUtf8 + "\t3000\t"},
      {{"info", imagePath}, "Name\tCaf\xC3\xA9\n"},
      {{"compare", imagePath, imagePath}, "F\t" + fileUtf8 + "\t="},
      {{"names", didPath}, "D\t1\t1\t" + titleUtf8 + " (-)(Soft)\n"},
      {{"tree", didPath}, titleUtf8 + " (Soft / 0)\n"},
      {{"identify", didPath, folder}, "Spiel\t" + titleUtf8 + " (-)(Soft) (1000)\n"},
      {{"report", didPath, folder}, "have\t" + titleUtf8 + " (-)(Soft)\tSpiel.adf\t"},
      {{"organize", didPath, folder, target}, "\t" + titleUtf8 + " (-)(Soft).adf\n"},
      {{"did", didPath, "-"}, "\"" + title + "\""},
  };
  for (const auto& [args, expected] : cases) {
    const test::ProgramResult result = test::Cli(args);
    EXPECT_EQ(result.exitStatus, 0) << args[0] << ": " << result.err;
    EXPECT_NE(result.out.find(expected), std::string::npos) << args[0] << ": " << result.out;
  }
  EXPECT_TRUE(std::filesystem::exists(PathFromText(target + "/" + titleUtf8 + " (-)(Soft).adf")));
}

// Two disks of a set, a disk without files (non-DOS) and one of empty files
// with wildcard characters and quotes in their names, named as standard
// names; every image is identified by its own name at 1000 with no code.
TEST(CliMkdid, BuildsADidThatIdentifiesEveryImage) {
  test::TempDir dir;
  const std::string images = (dir.Path() / "images").string();
  for (uint32_t disk : {1u, 2u}) {
    test::AdfBuilder::Options options;
    options.volume = "Quest" + std::to_string(disk);
    test::AdfBuilder builder(options);
    builder.AddFile("/s/startup-sequence", test::PatternBytes(40, disk));
    builder.AddFile("/quest", test::PatternBytes(20000, 10 + disk));
    builder.AddFile("/c/dir", test::PatternBytes(3000, 20));  // shared by both disks
    dir.Write("images/Quest (1990)(Soft)" + test::DiskNumberInName(disk, 2) + ".adf",
              builder.Build());
  }
  dir.Write("images/sub/Loader (1989)(Maker)(En-De)[cr Group].adf",
            test::PatternBytes(1760 * 512, 30));
  test::AdfBuilder odd;
  for (const char* empty : {"/empty1", "/empty2", "/forbidden-chars/a\"b\".txt",
                            "/forbidden-chars/test*test*test.txt", "/forbidden-chars/why?.txt"}) {
    odd.AddFile(empty, {});
  }
  odd.AddFile("/odd", test::PatternBytes(5000, 40));
  dir.Write("images/Odd (1991)(Maker).adf", odd.Build());
  const std::string did = (dir.Path() / "made.did").string();

  test::ProgramResult result = test::RunProgram(MOSWIT_CLI_PATH, {"mkdid", did, images});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const std::string quest1 = "Quest (1990)(Soft)" + test::DiskNumberInName(1, 2);
  const std::string quest2 = "Quest (1990)(Soft)" + test::DiskNumberInName(2, 2);
  EXPECT_EQ(result.out, images + "/Odd (1991)(Maker).adf\tOdd (1991)(Maker)\n" + images + "/" +
                            quest1 + ".adf\tQuest (1990)(Soft)[1|2]\n" + images + "/" + quest2 +
                            ".adf\tQuest (1990)(Soft)[2|2]\n" + images +
                            "/sub/Loader (1989)(Maker)(En-De)[cr Group].adf\t" +
                            "Loader (1989)(Maker)(En-De)[cr Group]\n");

  result = test::RunProgram(MOSWIT_CLI_PATH, {"identify", did, images});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, "Odd (1991)(Maker)\tOdd (1991)(Maker) (1000)\n" + quest1 +
                            "\tQuest (1990)(Soft)[1|2] (1000)\n" + quest2 +
                            "\tQuest (1990)(Soft)[2|2] (1000)\n"
                            "sub/Loader (1989)(Maker)(En-De)[cr Group]\t"
                            "Loader (1989)(Maker)(En-De)[cr Group] (1000)\n");
}

TEST(CliMkdid, LeavesOutImagesThatAreNotKnownGood) {
  test::TempDir dir;
  test::AdfBuilder builder;
  const uint32_t header = builder.AddFile("/game", test::PatternBytes(2000, 1));
  test::Bytes damaged = builder.Build();
  test::BreakChecksum(damaged, builder.DataBlocks(header)[0]);
  const std::string bad = dir.Write("Bad.adf", damaged);
  const std::string good =
      dir.Write("Set" + test::DiskNumberInName(2, 3) + ".adf", builder.Build());
  const std::string absent = (dir.Path() / "absent.adf").string();
  const std::string did = (dir.Path() / "made.did").string();

  test::ProgramResult result = test::RunProgram(MOSWIT_CLI_PATH, {"mkdid", did, bad, absent, good});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.out, good + "\tSet (-)()[2|3]\n");
  const std::string block = "moswit-cli: " + bad + ": file /game cannot be read (block status ";
  EXPECT_EQ(result.err.rfind(block, 0), 0u) << result.err;
  EXPECT_NE(result.err.find("\nmoswit-cli: " + absent +
                            ": No such file or directory\n"
                            "moswit-cli: Set: disk 1 of 3 is missing\n"
                            "moswit-cli: Set: disk 3 of 3 is missing\n"),
            std::string::npos)
      << result.err;

  const std::string nowhere = (dir.Path() / "no" / "out.did").string();
  result = test::RunProgram(MOSWIT_CLI_PATH, {"mkdid", nowhere, good});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err,
            "moswit-cli: Set: disk 1 of 3 is missing\n"
            "moswit-cli: Set: disk 3 of 3 is missing\n"
            "moswit-cli: " +
                nowhere + ": No such file or directory\n");

  result = test::RunProgram(MOSWIT_CLI_PATH, {"mkdid", did});
  EXPECT_EQ(result.exitStatus, 2);
}

// A disk known only by a dump's CRC learns the dump's files: the dump then
// reads as the disk with no code, and a copy with one file changed, which
// nothing named before, as the disk with that file's code.
TEST(CliEnrich, ACopyDifferingInOneFileIsNamedAfterward) {
  const auto quest = [](uint32_t gameSeed) {
    test::AdfBuilder builder;
    builder.AddFile("/s/startup-sequence", test::PatternBytes(40, 1));
    builder.AddFile("/game", test::PatternBytes(20000, gameSeed));
    builder.AddFile("/data", test::PatternBytes(5000, 3));
    return builder.Build();
  };
  const test::Bytes dump = quest(2);
  test::TempDir dir;
  const std::string images = (dir.Path() / "images").string();
  const std::string dumpPath = dir.Write("images/dump.adf", dump);
  dir.Write("images/copy.adf", quest(4));
  test::DidBuilder db;
  db.WholeImageDisk(db.Game("Quest"), "Quest (1990)(Soft)", dump);
  const std::string dat = (dir.Path() / "dat.did").string();
  const std::string out = (dir.Path() / "enriched.did").string();
  ASSERT_FALSE(WriteDatabase(db.Database(), dat));

  test::ProgramResult result = test::Cli({"identify", dat, images});
  EXPECT_EQ(result.out.substr(0, result.out.find('\n')), "copy\t<unidentified>");

  result = test::Cli({"enrich", dat, images, out});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, "Quest (1990)(Soft)\t" + dumpPath + "\t3\n");

  result = test::Cli({"identify", out, images});
  EXPECT_EQ(result.out,
            "copy\tQuest (1990)(Soft)[md1] (750)\n"
            "dump\tQuest (1990)(Soft) (1000)\n");
}

// A dump whose file cannot be read is reported and OUT written without it;
// a DID read only in part writes nothing.
TEST(CliEnrich, WhatItLeavesOutAndWhatStopsIt) {
  test::TempDir dir;
  test::AdfBuilder builder;
  const uint32_t header = builder.AddFile("/game", test::PatternBytes(2000, 1));
  test::Bytes damaged = builder.Build();
  test::BreakChecksum(damaged, builder.DataBlocks(header)[0]);
  const std::string damagedPath = dir.Write("images/damaged.adf", damaged);
  test::DidBuilder db;
  db.WholeImageDisk(db.Game("D"), "D", damaged);
  const std::string dat = (dir.Path() / "dat.did").string();
  ASSERT_FALSE(WriteDatabase(db.Database(), dat));
  const std::string images = (dir.Path() / "images").string();
  const std::string out = (dir.Path() / "out.did").string();
  const std::string partial = dir.Write("partial.did", {'s', 'o', 'f', 't', ' ', '(', ' ', 'x'});

  test::ProgramResult result = test::Cli({"enrich", partial, images, out});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_FALSE(std::filesystem::exists(out));
  result = test::Cli({"enrich", dat, images, out});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err.rfind("moswit-cli: " + damagedPath + ": file /game cannot be read", 0), 0u)
      << result.err;
  EXPECT_EQ(test::ReadFileBytes(out), test::ReadFileBytes(dat));
  EXPECT_EQ(test::Cli({"enrich", dat, images}).exitStatus, 2);
}

}  // namespace
}  // namespace moswit
