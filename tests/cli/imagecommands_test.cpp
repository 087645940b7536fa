// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <sstream>

#include "image/blocklayout.h"
#include "support/adfbuilder.h"
#include "support/runprogram.h"
#include "support/tempdir.h"
#include "support/zipwriter.h"

namespace moswit {
namespace {

using test::AdfBuilder;
using test::Bytes;

using test::Cli;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class CliTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
};

TEST_F(CliTest, ListPrintsOneTabSeparatedLinePerFile) {
  AdfBuilder builder;
  const uint32_t header =
      builder.AddFile("/s/startup-sequence", Bytes{'1', '2', '3', '4', '5', '6', '7', '8', '9'});
  const auto result = Cli({"list", dir_.Write("d.adf", builder.Build())});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out,
            "/s/startup-sequence\t9\tCBF43926\t00000000\t" + std::to_string(header) + "\n");
}

TEST_F(CliTest, ListShowsTheStatusOfABrokenFile) {
  AdfBuilder::Options options;
  options.firstFree = 898;
  AdfBuilder builder(options);
  builder.AddFile("/f", test::PatternBytes(1000, 1));
  Bytes image = builder.Build();
  test::BreakChecksum(image, 900);
  const auto result = Cli({"list", dir_.Write("d.adf", image)});
  EXPECT_EQ(result.out, "/f\t1000\t03840017\t03840017\t898\n");
}

TEST_F(CliTest, ListTakesTheFfsFlagFromTheImage) {
  AdfBuilder::Options options;
  options.ffs = true;
  AdfBuilder builder(options);
  builder.AddFile("/f", Bytes(1000, 'x'));
  const auto result =
      Cli({"list", dir_.Write("d.zip", test::MakeZip({{"d.adf", builder.Build()}}))});
  ASSERT_EQ(Lines(result.out).size(), 1u);
  EXPECT_NE(result.out.find("\t00000000\t"), std::string::npos) << result.out;
}

TEST_F(CliTest, BlocksPrintsAll1760Positions) {
  AdfBuilder builder;
  builder.AddFile("/f", Bytes(10, 1));
  Bytes image = builder.Build();
  test::BreakChecksum(image, kRootBlock);
  image.resize(1200 * 512);
  const auto lines = Lines(Cli({"blocks", dir_.Write("d.adf", image)}).out);
  ASSERT_EQ(lines.size(), 1760u);
  EXPECT_EQ(lines[0], "0\t00000000");
  EXPECT_EQ(lines[880], "880\t00000011");
  EXPECT_EQ(lines[882], "882\t00000003");
  EXPECT_EQ(lines[1199], "1199\t00000000");
  EXPECT_EQ(lines[1200], "1200\t0000000D");
  EXPECT_EQ(lines[1759], "1759\t0000000D");
}

// Every form of a disk, a high-density one too, lists as the plain image;
// blocks prints a line per block of the disk's geometry.
TEST_F(CliTest, FormsListAsThePlainImageAndBlocksFollowTheGeometry) {
  for (const uint32_t blocks : {1760u, 3520u}) {
    AdfBuilder builder({.ffs = true, .blocks = blocks});
    builder.AddFile("/game", test::PatternBytes(300'000, 2));
    const std::vector<test::ImageForm> forms = test::ImageForms(builder.Build());
    const std::string plain = Cli({"list", dir_.Write("d.adf", forms[0].bytes)}).out;
    EXPECT_EQ(Lines(plain).size(), 1u);
    for (const test::ImageForm& form : forms) {
      EXPECT_EQ(Cli({"list", dir_.Write("d" + form.ending, form.bytes)}).out, plain) << form.ending;
    }
    EXPECT_EQ(Lines(Cli({"blocks", dir_.Write("d.adz", forms[1].bytes)}).out).size(), blocks);
  }
}

TEST_F(CliTest, InfoShowsNameSizeAndFlags) {
  AdfBuilder::Options options;
  options.volume = "My\tDisk";
  options.ffs = true;
  options.international = true;
  const auto result = Cli({"info", dir_.Write("d.adf", AdfBuilder(options).Build())});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out,
            "Name\tMy_Disk\nSize\t901120\nBlocks\t1760\nDOS\t1\nFFS\t1\nDirC\t0\nIntl\t1\n"
            "Bootable\t1\n");
}

TEST_F(CliTest, UnreadableImageIsOneLineAndStatus1) {
  for (const std::string& path :
       {(dir_.Path() / "missing.adf").string(), dir_.Write("short.adf", Bytes{1, 2})}) {
    for (const char* command : {"list", "blocks", "info"}) {
      const auto result = Cli({command, path});
      EXPECT_EQ(result.exitStatus, 1) << command;
      EXPECT_TRUE(result.out.empty());
      ASSERT_EQ(Lines(result.err).size(), 1u) << result.err;
      EXPECT_NE(result.err.find(path), std::string::npos);
    }
  }
  EXPECT_NE(Cli({"info", dir_.Write("short.adf", Bytes{1, 2})}).err.find("Read beyond end of file"),
            std::string::npos);
}

TEST_F(CliTest, WrongUsageGivesTheUsageAndStatus2) {
  const std::vector<std::vector<std::string>> wrong = {
      {}, {"nonsense"}, {"list"}, {"list", "a", "b"}};
  for (const auto& args : wrong) {
    const auto result = Cli(args);
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_NE(result.err.find("usage:"), std::string::npos);
  }
  const auto help = Cli({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  for (const char* command : {"list", "blocks", "info"}) {
    EXPECT_NE(help.out.find(command), std::string::npos) << command;
  }
}

}  // namespace
}  // namespace moswit
