// SPDX-License-Identifier: GPL-2.0-or-later
// Every command that prints checks its standard output when it ends: a
// failed write is exit status 1 and a line naming the failure, never a
// silent success.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "database/didwriter.h"
#include "support/imageset.h"
#include "support/runprogram.h"
#include "support/tempdir.h"

namespace moswit {
namespace {

// A folder with one image and a DID that knows it.
class OutputTest : public ::testing::Test {
 protected:
  OutputTest() {
    const std::vector<test::NamedImage> images = test::BuilderImageSet();
    image_ = dir_.Write("src/" + images[0].name + ".adf", images[0].bytes);
    did_ = (dir_.Path() / "set.did").string();
    EXPECT_FALSE(WriteDatabase(*test::ImageSetDatabase({images[0]}), did_));
  }

  test::TempDir dir_;
  std::string image_;
  std::string did_;
};

TEST_F(OutputTest, AFailedWriteOfStandardOutputIsAFailure) {
  const std::string src = (dir_.Path() / "src").string();
  const std::vector<std::vector<std::string>> commands = {
      {"--help"},
      {"list", image_},
      {"blocks", image_},
      {"info", image_},
      {"sector", image_, "880"},
      {"compare", image_, image_},
      {"did", did_, "-"},
      {"names", did_},
      {"tree", did_},
      {"identify", "--jobs", "1", did_, src},
      {"report", did_, src},
      {"organize", "--dry-run", "--partial", did_, src, (dir_.Path() / "target").string()},
      {"mkdid", (dir_.Path() / "new.did").string(), image_},
  };
  const std::pair<test::DeadOutput, int> outputs[] = {{test::DeadOutput::kFullDevice, ENOSPC},
                                                      {test::DeadOutput::kClosedPipe, EPIPE}};
  for (const auto& [output, error] : outputs) {
    for (const std::vector<std::string>& args : commands) {
      SCOPED_TRACE(args[0] + (error == EPIPE ? " into a closed pipe" : " into /dev/full"));
      const test::ProgramResult result = test::RunProgramInto(output, MOSWIT_CLI_PATH, args);
      EXPECT_EQ(result.exitStatus, 1);
      const std::string line =
          std::string("moswit-cli: standard output: ") + std::strerror(error) + "\n";
      ASSERT_GE(result.err.size(), line.size()) << result.err;
      EXPECT_EQ(result.err.substr(result.err.size() - line.size()), line) << result.err;
    }
  }
}

}  // namespace
}  // namespace moswit
