// SPDX-License-Identifier: GPL-2.0-or-later
#include "diskcontents/filelistrows.h"

#include <gtest/gtest.h>

#include <vector>

#include "diskcontents/addtodisk.h"
#include "support/adfbuilder.h"

namespace moswit {
namespace {

ImagePtr PatternImage(size_t size) {
  const test::Bytes bytes = test::PatternBytes(size, 11);
  return LoadImageFromMemory("/images/disk.adf", bytes.data(), bytes.size());
}

TEST(FileListRows, FilesAndRangesSortedByNameAndDeleted) {
  FileList files(3);
  files[0] = {"/s/startup-sequence", 9, 0xCBF43926, 0, 900};
  files[1] = {"/b", 1000, 0x03840017, 0x03840017, 901};
  files[2] = {"/C/dir", 0, 0, 0, 902};
  const ImagePtr image = PatternImage(4096);
  RangeList ranges;
  const RangeEntry* first = &ranges.Append(*MakeRange(*image, 1024, 1535));
  ranges.Append(*MakeRange(*image, 512, 1023));
  ranges.Append(*MakeRange(*image, 0, 511));
  EXPECT_TRUE(ranges.Remove(first));
  EXPECT_FALSE(ranges.Remove(first));

  const std::vector<FileListRow> rows = MakeFileListRows(files, ranges);
  std::vector<std::string> names;
  for (const FileListRow& row : rows) names.push_back(row.name);
  EXPECT_EQ(names, (std::vector<std::string>{"/C/dir", "/b", "/s/startup-sequence",
                                             "@00000000-000001FF", "@00000200-000003FF"}));
  EXPECT_EQ(std::tie(rows[1].size, rows[1].crc), std::tie("1000", "03840017"));
  EXPECT_EQ(rows[1].icon, kIconFailed);
  EXPECT_EQ(rows[1].file, &files[1]);
  EXPECT_EQ(rows[2].icon, kIconGood);
  EXPECT_EQ(rows[4].range, &*ranges.begin());
  EXPECT_FALSE(IsFileRowName(rows[4].name));
}

TEST(AddToDisk, RecordsWithPresetAttributesInRowOrder) {
  const char* paths[] = {"/c/dir",
                         "/libs/icon.library",
                         "/devs/system-configuration",
                         "/devs/keymaps/d",
                         "/s/startup-sequence",
                         "/c",
                         "/S/Startup-Sequence"};
  const AttributeFlags want[] = {0x00030002, 0x00030024, 0x00050002, 0x80070000,
                                 0x00000001, 0x00000004, 0x00000001};
  FileList files;
  for (const char* path : paths) files.push_back({path, 10, 0x17, 0x17, 900});
  const RangeEntry range{"@00000400-00000BFF", 0x400, 0xBFF, 2048, 0xCAFEBABE};
  std::vector<FileListRow> rows;
  for (const FileEntry& file : files) rows.push_back({file.Path, "", "", 1, &file, nullptr});
  rows.push_back({range.Label, "", "", 0, nullptr, &range});
  std::vector<const FileListRow*> selected;
  for (const FileListRow& row : rows) selected.push_back(&row);

  GameRecord game;
  game.name = "Space Run";
  AppendDisk(game);
  DiskRecord& disk = AppendDisk(game);
  disk.comment = "Side B";
  EXPECT_EQ(DiskEditorCaption(game, disk), "Space Run / Disk #2: Side B");
  EXPECT_EQ(DiskEditorCaption(game, game.disks[0]), "Space Run / Disk #1: ");
  AddRowsToDisk(selected, disk);
  ASSERT_EQ(disk.files.Size(), 7u);
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(disk.files[i].path.Value(), paths[i]);
    EXPECT_EQ(disk.files[i].attributes, want[i]) << paths[i];
    EXPECT_EQ(disk.files[i].crc32, 0x17u);  // a failed read keeps its status
  }
  ASSERT_EQ(disk.ranges.Size(), 1u);
  EXPECT_EQ(std::tie(disk.ranges[0].firstByte, disk.ranges[0].lastByte, disk.ranges[0].crc32),
            std::tie(range.FirstByte, range.LastByte, range.Crc));
  EXPECT_EQ(disk.ranges[0].attributes, kAttrGame);
}

}  // namespace
}  // namespace moswit
