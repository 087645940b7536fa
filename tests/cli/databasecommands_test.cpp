// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "database/didreader.h"
#include "database/didwriter.h"
#include "support/runprogram.h"
#include "support/tempdir.h"

namespace moswit {
namespace {

std::string DataPath(const std::string& name) {
  return std::string(MOSWIT_DATABASE_DATA) + "/" + name;
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(CliDid, RewritesTheWorkedExampleUnchanged) {
  const std::string example = DataPath("worked_example.did");
  test::ProgramResult result = test::RunProgram(MOSWIT_CLI_PATH, {"did", example, "-"});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, FileText(example));

  test::TempDir dir;
  const std::string out = (dir.Path() / "copy.did").string();
  result = test::RunProgram(MOSWIT_CLI_PATH, {"did", example, out});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(FileText(out), FileText(example));
}

TEST(CliDid, UnreadableOrUnwritableFilesExitWithOne) {
  test::TempDir dir;
  const std::string missing = (dir.Path() / "missing.did").string();
  test::ProgramResult result = test::RunProgram(MOSWIT_CLI_PATH, {"did", missing, "-"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.err, "moswit-cli: " + missing + ": No such file or directory\n");
  EXPECT_EQ(result.out, "");

  const std::string nowhere = (dir.Path() / "no" / "out.did").string();
  result = test::RunProgram(MOSWIT_CLI_PATH, {"did", DataPath("worked_example.did"), nowhere});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.err, "moswit-cli: " + nowhere + ": No such file or directory\n");
}

TEST(CliNames, ListsVersionTagsAndDiskNames) {
  test::ProgramResult result =
      test::RunProgram(MOSWIT_CLI_PATH, {"names", DataPath("standard_names.did")});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out,
            "V\t1\t1\t(En-De)[cr Group X]\n"
            "V\t1\t2\t[cr Group X]\n"
            "D\t1\t1\tExample Game (1991-03)(Example Soft)[cr Group X][1|2][mv]\n"
            "D\t1\t2\tExample Game (1991-03)(Example Soft)[cr Group X][2|2](En-De)\n"
            "D\t1\t3\tExample Game (1991-03)(Example Soft)[cr Group X][2|2]\n");
}

// A DID with parts the reader left out: each command warns on stderr; "did"
// then writes nothing at all and fails, the others print what was read.
TEST(CliDid, PartlyUnderstoodFilesAreWarnedAbout) {
  test::TempDir dir;
  const std::string did = (dir.Path() / "partly.did").string();
  std::ofstream(did, std::ios::binary) << "soft ( name \"G\"\r\noops 1 disk ( dnam \"D\" ) )\r\n";
  const std::string copy = (dir.Path() / "copy.did").string();
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"did", did, copy}, nullptr},
      {{"names", did}, "D\t1\t1\tD\n"},
      {{"tree", did}, "G ( / 0)\n\tD#1: D\n1 games, 0 versions, 1 disks, ~0kb mem used\n"},
  };
  for (const auto& [args, out] : cases) {
    test::ProgramResult result = test::Cli(args);
    EXPECT_EQ(result.exitStatus, out ? 0 : 1) << args[0];
    EXPECT_EQ(result.out, out ? out : "") << args[0];
    EXPECT_EQ(result.err, "moswit-cli: " + did +
                              ": 2 parts of the file were not understood and are left out, the "
                              "first on line 2: \"oops 1 disk ( dnam \"D\" ) )\"\n");
  }
  EXPECT_FALSE(std::filesystem::exists(copy));

  // Asked to, it writes what was understood, with the same warning.
  const test::ProgramResult lenient = test::Cli({"did", "--lenient", did, copy});
  EXPECT_EQ(lenient.exitStatus, 0);
  EXPECT_EQ(lenient.err, test::Cli({"names", did}).err);
  EXPECT_EQ(FileText(copy),
            FormatDatabase(*ParseDatabase("soft ( name \"G\" disk ( dnam \"D\" ) )")));
}

}  // namespace
}  // namespace moswit
