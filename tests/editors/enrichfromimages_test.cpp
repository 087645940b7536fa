// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editors/enrichfromimages.h"
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

// Disks known by a dump below the folder get its files (or, without a
// filesystem, its ranges) as mkdid makes them; all else about them stays,
// and a second run adds nothing.
TEST(EnrichDisks, DisksKnownByADumpGetItsRecords) {
  test::TempDir dir;
  const auto write = [&dir](const std::string& relative, const test::Bytes& bytes) {
    dir.Write(relative, bytes);
    return WithTrailingSeparator(dir.Path().string()) + relative;  // as listed
  };
  const test::Bytes quest = DosImage("Quest", 1);
  const test::Bytes twin = DosImage("Twin", 10);
  const test::Bytes custom = test::PatternBytes(kFloppyBlocks * kBlockSize, 20);
  const test::Bytes known = DosImage("Known", 30);
  const std::string questPath = write("a/Quest.adf", quest);
  write("b/Quest again.adf", quest);  // the same bytes again: not read for records
  const std::string twinPath = write("a/Twin.adf", twin);
  const std::string customPath = write("c/Custom.adz", test::Gzip(custom));
  write("a/Known.adf", known);
  write("a/Other.adf", DosImage("Other", 40));
  test::Bytes broken = {0x1F, 0x8B};  // gzip that does not go on as gzip
  broken.resize(300, 0xEE);
  const std::string junk = write("a/Junk.adz", broken);

  test::DidBuilder db;
  DiskRecord& questDisk = db.WholeImageDisk(db.Game("Quest"), "Quest (1990)(Soft)", quest);
  questDisk.comment = "from a DAT";
  GameRecord& twins = db.Game("Twin");  // two names for one dump: both learn its files
  DiskRecord& twin1 = db.WholeImageDisk(twins, "Twin (Disk 1)", twin);
  DiskRecord& twin2 = db.WholeImageDisk(twins, "Twin (alt)", twin);
  DiskRecord& customDisk = db.WholeImageDisk(db.Game("Custom"), "Custom", custom);
  // Known file by file already, or not below the folder: left alone.
  db.WholeImageDisk(db.Game("Known"), "Known", known).files.Append().path = "/Known";
  db.WholeImageDisk(db.Game("Absent"), "Absent", DosImage("Absent", 60));
  const RangeRecord questWhole = questDisk.ranges[0];
  // The second time only the disk without a filesystem still wants its image.
  const auto run = [&](size_t wantedFound) {
    const ImagesFound found =
        FindWholeImages(dir.Path().string(), WantedWholeImages(db.Database()));
    EXPECT_EQ(found.listed, 7u);
    EXPECT_EQ(found.images.size(), wantedFound);
    EXPECT_EQ(found.unreadable.size(), 1u);
    EXPECT_EQ(found.unreadable.at(0).path, junk);
    return EnrichDisks(db.Database(), found.images).disks;
  };

  const std::vector<DiskEnriched> enriched = run(3);
  const DiskRecord questRecords = MkdidRecords(quest);
  const DiskRecord customRecords = MkdidRecords(custom);
  const DiskEnriched expected[] = {{nullptr, &questDisk, questPath, 3},
                                   {nullptr, &twin1, twinPath, 3},
                                   {nullptr, &twin2, twinPath, 3},
                                   {nullptr, &customDisk, customPath, 162}};
  ASSERT_EQ(enriched.size(), std::size(expected));
  for (size_t i = 0; i < enriched.size(); ++i) {
    EXPECT_EQ(enriched[i].disk, expected[i].disk) << i;
    EXPECT_EQ(enriched[i].path, expected[i].path) << i;
    EXPECT_EQ(enriched[i].added, expected[i].added) << i;
  }
  EXPECT_EQ(questDisk.name.Value(), "Quest (1990)(Soft)");
  EXPECT_EQ(questDisk.comment.Value(), "from a DAT");
  EXPECT_EQ(questDisk.files, questRecords.files);
  ASSERT_EQ(questDisk.ranges.Size(), 1u);
  EXPECT_EQ(questDisk.ranges[0], questWhole);
  EXPECT_EQ(twin2.files, twin1.files);
  // The whole-image range first, then the tracks and telling blocks.
  ASSERT_EQ(customDisk.ranges.Size(), customRecords.ranges.Size() + 1);
  EXPECT_EQ(customDisk.ranges[1], customRecords.ranges[0]);

  EXPECT_TRUE(run(1).empty());
  EXPECT_EQ(customDisk.ranges.Size(), customRecords.ranges.Size() + 1);
}

}  // namespace
}  // namespace moswit
