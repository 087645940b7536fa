// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editors/enrichfromimages.h"
#include "image/crc32.h"
#include "scan/imagelist.h"
#include "support/adfbuilder.h"
#include "support/didbuilder.h"
#include "support/tempdir.h"
#include "support/zipwriter.h"

namespace moswit {
namespace {

test::Bytes DosImage(const std::string& volume, uint32_t seed) {
  test::AdfBuilder::Options options;
  options.volume = volume;
  test::AdfBuilder builder(options);
  builder.AddFile("/s/startup-sequence", test::PatternBytes(40, seed));
  builder.AddFile("/c/dir", test::PatternBytes(900, seed + 1));
  builder.AddFile("/" + volume, test::PatternBytes(9000, seed + 2));
  return builder.Build();
}

// The records mkdid makes of the image.
DiskRecord MkdidRecords(const test::Bytes& bytes) {
  ImagePtr image = LoadImageFromMemory("x.adf", bytes.data(), bytes.size());
  DiskRecord records;
  EXPECT_EQ(AppendImageRecords(*image, records), "");
  return records;
}

TEST(WantedWholeImages, RangesFromByteZeroOfDisksWithoutFiles) {
  test::DidBuilder db;
  GameRecord& game = db.Game("G");
  const test::Bytes image = test::PatternBytes(2048, 1);
  db.WholeImageDisk(game, "twice", image);
  db.WholeImageDisk(game, "again", image);
  db.WholeImageDisk(game, "with a file", test::PatternBytes(1024, 2)).files.Append();
  DiskRecord& odd = db.Disk(game, "odd ranges");
  odd.ranges.Append() = {512, 1023, 7, 0, {}};
  odd.ranges.Append() = {0, UINT32_MAX, 8, 0, {}};
  odd.ranges.Append() = {0, 511, 9, 0, {}};

  const std::vector<WholeImage> expected = {{512, 9}, {2048, Crc32(image)}};
  EXPECT_EQ(WantedWholeImages(db.Database()), expected);
}

class Enrich : public ::testing::Test {
 protected:
  void Run() {
    found_ = FindWholeImages(dir_.Path().string(), WantedWholeImages(db_.Database()));
    enrichment_ = EnrichDisks(db_.Database(), found_.images);
  }
  // The path the listing gives the image written.
  std::string Write(const std::string& relative, const test::Bytes& bytes) {
    dir_.Write(relative, bytes);
    return WithTrailingSeparator(dir_.Path().string()) + relative;
  }

  test::TempDir dir_;
  test::DidBuilder db_;
  ImagesFound found_;
  Enrichment enrichment_;
};

// Disks known by a dump below the folder get its files (or, without a
// filesystem, its ranges) as mkdid makes them; all else about them stays.
TEST_F(Enrich, DisksKnownByADumpGetItsRecords) {
  const test::Bytes quest = DosImage("Quest", 1);
  const test::Bytes twin = DosImage("Twin", 10);
  const test::Bytes custom = test::PatternBytes(kFloppyBlocks * kBlockSize, 20);
  const test::Bytes known = DosImage("Known", 30);
  const std::string questPath = Write("a/Quest.adf", quest);
  Write("b/Quest again.adf", quest);  // the same bytes again: not read for records
  const std::string twinPath = Write("a/Twin.adf", twin);
  const std::string customPath = Write("c/Custom.adz", test::Gzip(custom));
  Write("a/Known.adf", known);
  Write("a/Other.adf", DosImage("Other", 40));
  test::Bytes broken = {0x1F, 0x8B};  // gzip that does not go on as gzip
  broken.resize(300, 0xEE);
  const std::string junk = Write("a/Junk.adz", broken);

  GameRecord& game = db_.Game("Quest", "Soft", {1990, 0, 0});
  db_.Version(game, {1});
  DiskRecord& questDisk = db_.WholeImageDisk(game, "Quest (1990)(Soft)", quest);
  questDisk.comment = "from a DAT";
  // Two names for one dump: both learn its files.
  GameRecord& twins = db_.Game("Twin");
  DiskRecord& twin1 = db_.WholeImageDisk(twins, "Twin (Disk 1)", twin);
  DiskRecord& twin2 = db_.WholeImageDisk(twins, "Twin (alt)", twin);
  DiskRecord& customDisk = db_.WholeImageDisk(db_.Game("Custom"), "Custom", custom);
  // Known file by file already, or not below the folder: left alone.
  DiskRecord& knownDisk = db_.WholeImageDisk(db_.Game("Known"), "Known", known);
  knownDisk.files.Append().path = "/Known";
  db_.WholeImageDisk(db_.Game("Absent"), "Absent", DosImage("Absent", 60));
  const RangeRecord questWhole = questDisk.ranges[0];

  Run();

  ASSERT_EQ(found_.images.size(), 3u);
  EXPECT_EQ(found_.images[0].path, questPath);
  EXPECT_EQ(found_.images[1].path, twinPath);
  EXPECT_EQ(found_.images[2].path, customPath);
  EXPECT_EQ(found_.listed, 7u);
  ASSERT_EQ(found_.unreadable.size(), 1u);
  EXPECT_EQ(found_.unreadable[0].path, junk);

  const DiskRecord questRecords = MkdidRecords(quest);
  const DiskRecord customRecords = MkdidRecords(custom);
  ASSERT_EQ(enrichment_.disks.size(), 4u);
  const struct {
    const DiskRecord* disk;
    std::string path;
    size_t added;
  } expected[] = {{&questDisk, questPath, questRecords.files.Size()},
                  {&twin1, twinPath, 3},
                  {&twin2, twinPath, 3},
                  {&customDisk, customPath, customRecords.ranges.Size()}};
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(enrichment_.disks[i].disk, expected[i].disk);
    EXPECT_EQ(enrichment_.disks[i].path, expected[i].path);
    EXPECT_EQ(enrichment_.disks[i].added, expected[i].added);
  }
  EXPECT_TRUE(enrichment_.leftOut.empty());

  EXPECT_EQ(questDisk.name.Value(), "Quest (1990)(Soft)");
  EXPECT_EQ(questDisk.comment.Value(), "from a DAT");
  EXPECT_EQ(questDisk.files, questRecords.files);
  ASSERT_EQ(questDisk.ranges.Size(), 1u);
  EXPECT_EQ(questDisk.ranges[0], questWhole);
  EXPECT_EQ(twin2.files, twin1.files);
  // The whole-image range first, then the tracks and telling blocks.
  ASSERT_EQ(customDisk.ranges.Size(), customRecords.ranges.Size() + 1);
  EXPECT_EQ(customDisk.ranges[1], customRecords.ranges[0]);
  EXPECT_EQ(knownDisk.files.Size(), 1u);

  // Everything is known now: a second run adds nothing.
  Run();
  EXPECT_TRUE(enrichment_.disks.empty());
  EXPECT_EQ(customDisk.ranges.Size(), customRecords.ranges.Size() + 1);
}

TEST_F(Enrich, ADumpWithAFileThatCannotBeReadIsLeftOut) {
  test::AdfBuilder builder;
  const uint32_t header = builder.AddFile("/game", test::PatternBytes(2000, 1));
  test::Bytes damaged = builder.Build();
  test::BreakChecksum(damaged, builder.DataBlocks(header)[0]);
  const std::string path = Write("Damaged.adf", damaged);
  DiskRecord& disk = db_.WholeImageDisk(db_.Game("D"), "D", damaged);

  Run();
  EXPECT_TRUE(enrichment_.disks.empty());
  ASSERT_EQ(enrichment_.leftOut.size(), 1u);
  EXPECT_EQ(enrichment_.leftOut[0].path, path);
  EXPECT_EQ(enrichment_.leftOut[0].reason.rfind("file /game cannot be read", 0), 0u);
  EXPECT_TRUE(disk.files.Empty());
  EXPECT_EQ(disk.ranges.Size(), 1u);
  EXPECT_NE(EnrichSummary(enrichment_, found_).find(path + ": file /game"), std::string::npos);
}

TEST_F(Enrich, AStopEndsTheReadingBetweenImages) {
  const test::Bytes quest = DosImage("Quest", 1);
  Write("Quest.adf", quest);
  db_.WholeImageDisk(db_.Game("Q"), "Q", quest);
  const std::atomic<bool> stop{true};
  found_ = FindWholeImages(dir_.Path().string(), WantedWholeImages(db_.Database()), &stop);
  EXPECT_TRUE(found_.stopped);
  EXPECT_TRUE(found_.images.empty());
}

}  // namespace
}  // namespace moswit
