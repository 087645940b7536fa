// SPDX-License-Identifier: GPL-2.0-or-later
#include "diskcontents/filelistrows.h"

#include <gtest/gtest.h>

#include "diskcontents/addtodisk.h"
#include "image/crc32.h"
#include "inspector/rangedefinition.h"
#include "inspector/viewerslots.h"
#include "support/adfbuilder.h"

namespace moswit {
namespace {

using test::AdfBuilder;
using test::Bytes;

ImagePtr PatternImage(size_t size) {
  const Bytes bytes = test::PatternBytes(size, 11);
  return LoadImageFromMemory("/images/disk.adf", bytes.data(), bytes.size());
}

TEST(MakeRange, LabelLengthAndCrcOfTheBytesCovered) {
  const ImagePtr full = PatternImage(901120);
  const ImagePtr cut = PatternImage(1000);
  // Image, start offset, end offset; label and length.
  const std::tuple<const tADF*, uint32_t, uint32_t, const char*, uint32_t> cases[] = {
      {full.get(), 2 * 512, 5 * 512 + 511, "@00000400-00000BFF", 2048},
      {full.get(), 5 * 512, 2 * 512 + 511, "@00000400-00000BFF", 2048},  // end before start
      {full.get(), 0, 0, "@00000000-00000000", 1},  // no block clicked before either step
      {full.get(), 1759 * 512, 1759 * 512 + 511, "@000DBE00-000DBFFF", 512},
      {cut.get(), 0, 5 * 512 + 511, "@00000000-000003E7", 1000},
      {cut.get(), 3 * 512, 1 * 512 + 511, "@00000200-000003E7", 488},
  };
  for (const auto& [image, start, end, label, length] : cases) {
    const std::optional<RangeEntry> range = MakeRange(*image, start, end);
    ASSERT_TRUE(range) << label;
    EXPECT_EQ(range->Label, label);
    EXPECT_EQ(range->Length, length) << label;
    EXPECT_EQ(range->LastByte - range->FirstByte + 1, length) << label;
    EXPECT_EQ(range->Crc, Crc32({image->Data.data() + range->FirstByte, length})) << label;
  }
  EXPECT_FALSE(MakeRange(*cut, 2 * 512, 4 * 512 + 511));  // wholly past the end
}

TEST(RangeDefinition, TwoClicksMakeARangeAndAMissingClickKeepsTheOldValue) {
  const ImagePtr image = PatternImage(901120);
  RangeDefinition define;
  EXPECT_FALSE(define.Click(*image, std::nullopt));
  EXPECT_EQ(define.IconImage(), 1);
  EXPECT_EQ(define.Click(*image, std::nullopt)->Label, "@00000000-00000000");
  EXPECT_EQ(define.IconImage(), 0);
  define.ClickStart(2);
  EXPECT_EQ(define.ClickEnd(*image, 5)->Label, "@00000400-00000BFF");
  define.ClickStart(std::nullopt);
  EXPECT_EQ(define.ClickEnd(*image, 3)->Label, "@00000400-000007FF");
  define.ClickStart(4);  // the end stays at block 3, before the start
  EXPECT_EQ(define.ClickEnd(*image, std::nullopt)->Label, "@00000600-000009FF");
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

TEST(ViewerSlots, FilesAreReadAgainRangesShownInPlaceAndSlotsRunOut) {
  AdfBuilder builder;
  const Bytes contents = test::PatternBytes(1000, 4);
  const uint32_t header = builder.AddFile("/f", contents);
  const Bytes bytes = builder.Build();
  const ImagePtr image = LoadImageFromMemory("/images/disk.adf", bytes.data(), bytes.size());
  FileList files(1, FileEntry{"/f", 1000, 0, 0, header});
  RangeList ranges;
  ranges.Append(*MakeRange(*image, 1024, 2047));
  const std::vector<FileListRow> rows = MakeFileListRows(files, ranges);

  ViewerSlots slots;
  const std::optional<HexViewerSource> file = OpenHexViewer(slots, *image, false, rows[0]);
  ASSERT_TRUE(file);
  EXPECT_EQ(Bytes(file->data, file->data + file->length), contents);
  EXPECT_EQ(file->status, "/images/disk.adf [/f]");
  const std::optional<HexViewerSource> range = OpenHexViewer(slots, *image, false, rows[1]);
  ASSERT_TRUE(range);
  EXPECT_EQ(range->slot, 1u);
  EXPECT_EQ(range->data, image->Data.data() + 1024);
  EXPECT_EQ(range->length, 1024u);

  for (size_t i = 2; i < kViewerSlotCount; ++i) OpenHexViewer(slots, *image, false, rows[1]);
  EXPECT_FALSE(OpenHexViewer(slots, *image, false, rows[0]));
  slots.Close(0);
  EXPECT_EQ(slots.Buffer(0).size(), 1000u);  // until the Inspector is activated
  slots.ReleaseClosed();
  EXPECT_TRUE(slots.Buffer(0).empty());
  EXPECT_EQ(slots.FirstFree(), 0u);
  EXPECT_TRUE(slots.AnyOpen());
  for (size_t i = 1; i < kViewerSlotCount; ++i) slots.Close(i);
  EXPECT_FALSE(slots.AnyOpen());
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
