// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "base/numbertext.h"
#include "image/blocklayout.h"
#include "support/adfbuilder.h"
#include "support/runprogram.h"
#include "support/tempdir.h"

namespace moswit {
namespace {

using test::AdfBuilder;
using test::Bytes;

using test::Cli;

TEST(SectorCli, HeaderThenTheMemoLines) {
  test::TempDir dir;
  AdfBuilder builder;
  const uint32_t header = builder.AddFile("/f", Bytes(100, 1));
  const Bytes image = builder.Build();
  const std::string path = dir.Write("d.adf", image);
  const uint32_t data = builder.DataBlocks(header).at(0);
  const std::string sum = IntToHex(test::GetLong(image, data, kChecksum), 8);

  const auto result = Cli({"sector", path, std::to_string(data)});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, "Sector Info ($" + IntToHex(data, 3) + "):\nBlock type ... File data\n" +
                            "Checksum (S/C) " + sum + "/" + sum + "\nFile Header at $" +
                            IntToHex(header, 3) + "\n");
  EXPECT_EQ(Cli({"sector", dir.Write("short.adf", Bytes(600, 0)), "0001"}).out,
            "Sector Info ($001):\nBlock type ... Bootblock\n");
}

TEST(SectorCli, WrongBlockIsWrongUsageAndAMissingImageStatus1) {
  test::TempDir dir;
  const std::string path = dir.Write("d.adf", AdfBuilder().Build());
  for (const char* block : {"-1", "+5", "12a", "0x10", "", " 7", "00001", "4294967297"}) {
    const auto result = Cli({"sector", path, block});
    EXPECT_EQ(result.exitStatus, 2) << block;
    EXPECT_NE(result.err.find("usage:"), std::string::npos) << block;
  }
  EXPECT_EQ(Cli({"sector", path}).exitStatus, 2);
  const std::string missing = (dir.Path() / "missing.adf").string();
  const auto result = Cli({"sector", missing, "880"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_TRUE(result.out.empty());
  EXPECT_NE(result.err.find(missing), std::string::npos);
  EXPECT_EQ(result.err.find('\n'), result.err.size() - 1);
}

TEST(SectorCli, HighDensityDiskHasBlocksUpTo3519) {
  test::TempDir dir;
  const std::string path = dir.Write("hd.adf", AdfBuilder({.blocks = 3520}).Build());
  EXPECT_EQ(Cli({"sector", path, "3519"}).out, "Sector Info ($DBF):\nBlock type ... Unknown\n");
  // A number past the disk's blocks is told with the blocks it has.
  const std::string dd = dir.Write("dd.adf", AdfBuilder().Build());
  for (const auto& [image, block, last] :
       {std::tuple{path, "3520", "3519"}, std::tuple{dd, "1760", "1759"}}) {
    const auto result = Cli({"sector", image, block});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.err, "moswit-cli: " + image + ": block " + block +
                              " is not on this disk; its blocks are 0 to " + last + "\n");
  }
}

}  // namespace
}  // namespace moswit
