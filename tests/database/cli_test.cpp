#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/runprogram.h"
#include "support/tempdir.h"

namespace moswit {
namespace {

std::string DataPath(const std::string& name) { return std::string(MOSWIT_DATABASE_DATA) + "/" + name; }

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

}  // namespace
}  // namespace moswit
