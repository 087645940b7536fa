#include <gtest/gtest.h>

#include <string>

#include "database/didwriter.h"
#include "support/didbuilder.h"
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

}  // namespace
}  // namespace moswit
