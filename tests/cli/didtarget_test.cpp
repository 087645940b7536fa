// SPDX-License-Identifier: GPL-2.0-or-later
// A DID is written only to a regular file or a name not taken yet: `did`
// `mkdid`, `enrich` and `import-dat` refuse anything else with exit status 2 and the reason,
// before anything is written.
#include <gtest/gtest.h>

#include <filesystem>

#include "database/didwriter.h"
#include "support/adfbuilder.h"
#include "support/didbuilder.h"
#include "support/runprogram.h"
#include "support/tempdir.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace moswit {
namespace {

namespace fs = std::filesystem;

TEST(CliDidTarget, OnlyARegularFileOrANewNameTakesADid) {
  test::TempDir dir;
  const std::string did = (dir.Path() / "in.did").string();
  ASSERT_FALSE(WriteDatabase(*test::RandomDatabase(3), did));
  test::AdfBuilder builder;
  builder.AddFile("/f", test::PatternBytes(3000, 1));
  const std::string image = dir.Write("Game.adf", builder.Build());

  fs::create_directory(dir.Path() / "folder");
  std::vector<std::string> targets = {(dir.Path() / "folder").string()};
#ifndef _WIN32
  const fs::path fifo = dir.Path() / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink(fifo, dir.Path() / "to fifo");
  targets.push_back(fifo.string());
  targets.push_back((dir.Path() / "to fifo").string());
#endif
  for (const std::string& target : targets) {
    const fs::file_type type = fs::status(target).type();
    const std::vector<std::string> commands[] = {{"did", did, target},
                                                 {"did", "--lenient", did, target},
                                                 {"mkdid", target, image},
                                                 {"enrich", did, dir.Path().string(), target},
                                                 {"import-dat", target, did}};
    for (const std::vector<std::string>& args : commands) {
      SCOPED_TRACE(args[0] + " " + target);
      const test::ProgramResult result = test::Cli(args);
      EXPECT_EQ(result.exitStatus, 2);
      EXPECT_EQ(result.out, "");
      EXPECT_EQ(result.err, "moswit-cli: " + target + ": " + kNotRegularFile + "\n");
      EXPECT_EQ(fs::status(target).type(), type);
    }
  }
  // Nothing was written beside them either.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), targets.size() + 2);
}

}  // namespace
}  // namespace moswit
