// SPDX-License-Identifier: GPL-2.0-or-later
#include "diskcontents/filelistrows.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace moswit
