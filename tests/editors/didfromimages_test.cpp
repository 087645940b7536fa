// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/standardname.h"
#include "diskcontents/addtodisk.h"
#include "editors/didfromimages.h"
#include "image/crc32.h"
#include "support/adfbuilder.h"
#include "support/filenames.h"
#include "support/runprogram.h"
#include "support/tempdir.h"

namespace moswit {
namespace {

ImagePtr Load(const test::Bytes& bytes) {
  ImagePtr image = LoadImageFromMemory("test.adf", bytes.data(), bytes.size());
  EXPECT_TRUE(image);
  return image;
}

test::Bytes DosImage(const std::string& volume, const std::vector<std::string>& paths,
                     uint32_t seed) {
  test::AdfBuilder::Options options;
  options.volume = volume;
  test::AdfBuilder builder(options);
  for (const std::string& path : paths) {
    builder.AddFile(path, test::PatternBytes(700 + 300 * seed, seed));
    ++seed;
  }
  return builder.Build();
}

uint32_t CrcOf(const tADF& image, const RangeRecord& range) {
  return Crc32(std::span<const uint8_t>(image.Data.data() + range.firstByte,
                                        range.lastByte - range.firstByte + 1));
}

// Disks without files get one range per track over the whole image and two
// single blocks with differing bytes; so do disks of excluded files, which
// the index would not list.
TEST(FillDiskFromImage, RangesWhereNoFileNominatesTheDisk) {
  test::Bytes custom = test::PatternBytes(1000 * kBlockSize, 7);
  std::fill(custom.begin(), custom.begin() + kBlockSize, 0xAA);  // a uniform boot block
  struct Case {
    const char* what;
    test::Bytes bytes;
    const char* name;
    size_t files;
    size_t tracks;
    uint32_t lastTrackEnd;
    uint32_t blocks[2];
  };
  const Case cases[] = {
      {"empty filesystem", DosImage("Blank", {}, 1), "Blank", 0, 160, 901119, {0, 880}},
      {"non-DOS, short", custom, "", 0, 91, 511999, {1, 2}},
      {"excluded files",
       DosImage("Tools", {"/c/dir", "/devs/x.device"}, 3),
       "Tools",
       2,
       0,
       0,
       {0, 880}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ImagePtr image = Load(c.bytes);
    DiskRecord disk;
    ASSERT_EQ(FillDiskFromImage(*image, disk), "");
    EXPECT_EQ(disk.name.Value(), c.name);
    ASSERT_EQ(disk.files.Size(), c.files);
    for (const FileRecord& file : disk.files) {
      EXPECT_EQ(file.attributes, PresetAttributes(file.path.Value()));
    }
    ASSERT_EQ(disk.ranges.Size(), c.tracks + 2);
    for (size_t t = 0; t < c.tracks; ++t) {
      const RangeRecord& track = disk.ranges[t];
      EXPECT_EQ(track.firstByte, t * kTrackBytes);
      EXPECT_EQ(track.lastByte, t + 1 == c.tracks ? c.lastTrackEnd : track.firstByte + 5631);
    }
    for (size_t b = 0; b < 2; ++b) {
      const RangeRecord& block = disk.ranges[c.tracks + b];
      EXPECT_EQ(block.firstByte, c.blocks[b] * kBlockSize);
      EXPECT_EQ(block.lastByte, c.blocks[b] * kBlockSize + 511);
    }
    for (const RangeRecord& range : disk.ranges) {
      EXPECT_EQ(range.attributes, kAttrGame);
      EXPECT_EQ(range.crc32, CrcOf(*image, range));
    }
  }
}

TEST(FillDiskFromImage, ImageOfUniformBlocksIsLeftOut) {
  DiskRecord disk;
  ImagePtr zeros = Load(test::Bytes(kFloppyBlocks * kBlockSize, 0));
  EXPECT_NE(FillDiskFromImage(*zeros, disk), "");
}

class BuildDid : public ::testing::Test {
 protected:
  std::string Image(const std::string& relative, uint32_t seed) {
    return dir_.Write(relative, DosImage("V" + std::to_string(seed), {"/f"}, seed));
  }
  test::TempDir dir_;
};

TEST_F(BuildDid, SetsByNameWithTheirDisksInOrder) {
  const std::string quest3 =
      Image("a/Quest (1990)(Soft)" + test::DiskNumberInName(3, 3) + ".adf", 1);
  const std::string other = Image("a/Other.adf", 2);
  const std::string quest1 =
      Image("b/Quest (1990)(Soft)" + test::DiskNumberInName(1, 3) + ".adf", 3);
  const std::string again =
      Image("c/Quest (1990)(Soft)" + test::DiskNumberInName(1, 3) + ".adf", 4);
  const std::string absent = (dir_.Path() / "absent.adf").string();

  const std::vector<ImageRow> images =
      ImagesOfArguments({(dir_.Path() / "a").string(), quest1, again, absent, quest1});
  std::vector<std::string> paths;
  for (const ImageRow& image : images) paths.push_back(image.path);
  ASSERT_EQ(paths, (std::vector<std::string>{other, quest3, quest1, again, absent, quest1}));
  const DidFromImages built = BuildDidFromImages(images, "out.did");

  ASSERT_EQ(built.leftOut.size(), 1u);
  EXPECT_EQ(built.leftOut[0].path, absent);
  EXPECT_EQ(built.leftOut[0].reason, "No such file or directory");

  // Other; Quest with disks 1 and 3 and an empty disk 2; a second Quest
  // for the second disk 1, its disks 2 and 3 empty.
  const DatabaseInfo& database = *built.database;
  ASSERT_EQ(database.games.Size(), 3u);
  EXPECT_EQ(database.games[1].disks.Size(), 3u);
  EXPECT_EQ(database.games[1].disks[1].comment.Value(), kMissingDiskComment);
  EXPECT_EQ(database.games[2].disks.Size(), 3u);
  ASSERT_EQ(built.missing.size(), 3u);
  EXPECT_EQ(built.missing[0].setName + " " + std::to_string(built.missing[0].number) + "/" +
                std::to_string(built.missing[0].count),
            "Quest (1990)(Soft) 2/3");

  const std::vector<std::pair<std::string, std::string>> expected = {
      {other, "Other (-)()"},
      {quest3, "Quest (1990)(Soft)[3|3]"},
      {quest1, "Quest (1990)(Soft)[1|3]"},
      {again, "Quest (1990)(Soft)[1|3]"},
  };
  ASSERT_EQ(built.written.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(built.written[i].path, expected[i].first);
    EXPECT_EQ(StandardName(*built.written[i].game, *built.written[i].disk), expected[i].second);
  }
  EXPECT_EQ(built.written[3].game, &database.games[2]);
  EXPECT_TRUE(built.tooLarge.empty());
}

// A set whose names count more than the 255 disks a version lists is told
// once, and each of its images is a game of its own.
TEST_F(BuildDid, SetsOfMoreThan255DisksAreTold) {
  const std::vector<std::string> paths = {
      Image("Big (Disk 1 of 300).adf", 1), Image("Big (Disk 2 of 300).adf", 2),
      Image("Huge (1990)(Soft)[01-256].adf", 3), Image("Fits (Disk 1 of 255).adf", 4)};
  const DidFromImages built = BuildDidFromImages(ImagesOfArguments(paths), "out.did");
  ASSERT_EQ(built.tooLarge.size(), 2u);
  EXPECT_EQ(built.tooLarge[0].setName + "/" + std::to_string(built.tooLarge[0].count), "Big/300");
  EXPECT_EQ(built.tooLarge[1].setName + "/" + std::to_string(built.tooLarge[1].count),
            "Huge (1990)(Soft)/256");
  EXPECT_EQ(built.database->games.Size(), 4u);
  EXPECT_EQ(built.database->games[3].disks.Size(), 255u);

  const test::ProgramResult result =
      test::RunProgram(MOSWIT_CLI_PATH, {"mkdid", (dir_.Path() / "m.did").string(), paths[0]});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.err,
            "moswit-cli: Big: a set of 300 disks; a DID lists at most 255 disks of a set, so each "
            "of its images is a game of its own\n");
}

}  // namespace
}  // namespace moswit
