// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editors/diskfields.h"

namespace moswit {
namespace {

FileRecord& AddFile(DiskRecord& disk, const char* path, uint32_t size, uint32_t crc) {
  FileRecord& file = AppendFile(disk);
  file.path = path;
  file.size = size;
  file.crc32 = crc;
  return file;
}

RangeRecord& AddRange(DiskRecord& disk, uint32_t first, uint32_t last, uint32_t crc) {
  RangeRecord& range = AppendRange(disk);
  range.firstByte = first;
  range.lastByte = last;
  range.crc32 = crc;
  return range;
}

std::vector<const DiskListRow*> Pointers(const std::vector<DiskListRow>& rows) {
  std::vector<const DiskListRow*> pointers;
  for (const DiskListRow& row : rows) pointers.push_back(&row);
  return pointers;
}

// Files and ranges in one sorted list, each row knowing its record.
TEST(DiskListRows, TextsAndKindsOfFilesAndRanges) {
  DiskRecord disk;
  FileRecord& game = AddFile(disk, "/game", 1234, 0xDEADBEEF);
  game.description = "main";
  FileRecord& at = AddFile(disk, "@looks-like-a-range", 1, 2);
  RangeRecord& boot = AddRange(disk, 0x400, 0x5FF, 0x1A2B);
  RangeRecord& reversed = AddRange(disk, 0x200, 0x1FF, 0);  // wraps to 0
  RangeRecord& whole = AddRange(disk, 0, 0xFFFFFFFF, 0);    // wraps to 0 too
  AppendFile(disk);                                         // no path

  const std::vector<DiskListRow> rows = MakeDiskListRows(disk);
  ASSERT_EQ(rows.size(), 6u);
  struct Want {
    const char* name;
    const char* size;
    const char* crc;
    RecordRef record;
  };
  const Want want[] = {
      {"", "0", "00000000", &disk.files[2]},
      {"/game", "1234", "DEADBEEF", &game},
      {"@00000000-FFFFFFFF", "0", "00000000", &whole},
      {"@00000200-000001FF", "0", "00000000", &reversed},
      {"@00000400-000005FF", "512", "00001A2B", &boot},
      {"@looks-like-a-range", "1", "00000002", &at},
  };
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].name, want[i].name) << i;
    EXPECT_EQ(rows[i].size, want[i].size) << i;
    EXPECT_EQ(rows[i].crc, want[i].crc) << i;
    const RecordRef record = rows[i].file ? RecordRef(rows[i].file) : RecordRef(rows[i].range);
    EXPECT_EQ(record, want[i].record) << i;
    EXPECT_TRUE((rows[i].file == nullptr) != (rows[i].range == nullptr)) << i;
  }
  EXPECT_EQ(rows[1].description, "main");
  EXPECT_NE(rows[5].file, nullptr);  // a file, whatever its name starts with
}

TEST(DiskListRows, SelectionFollowsTheDiskListsAndIsCapped) {
  DiskRecord disk;
  for (int i = 0; i < 3; ++i) AddFile(disk, i == 0 ? "/z" : i == 1 ? "/m" : "/a", 1, 1);
  AddRange(disk, 0x400, 0x5FF, 0);
  AddRange(disk, 0, 0x1FF, 0);
  const std::vector<DiskListRow> rows = MakeDiskListRows(disk);  // sorted: /a /m /z @0 @400
  // Rows in any order, one twice: the records come in list order, once.
  const std::vector<const DiskListRow*> chosen = {&rows[0], &rows[4], &rows[2], &rows[3], &rows[0]};
  const DiskSelection selection = SelectedRecords(disk, chosen);
  EXPECT_EQ(selection.files, (std::vector<FileRecord*>{&disk.files[0], &disk.files[2]}));
  EXPECT_EQ(selection.ranges, (std::vector<RangeRecord*>{&disk.ranges[0], &disk.ranges[1]}));
  EXPECT_TRUE(SelectedRecords(disk, {}).files.empty());

  DiskRecord big;
  for (size_t i = 0; i < kMaxSelected + 10; ++i) AddFile(big, "/f", 1, static_cast<uint32_t>(i));
  const std::vector<DiskListRow> bigRows = MakeDiskListRows(big);
  const DiskSelection capped = SelectedRecords(big, Pointers(bigRows));
  ASSERT_EQ(capped.files.size(), kMaxSelected);
  EXPECT_EQ(capped.files.back(), &big.files[kMaxSelected - 1]);
}

// A file named like a range label is deleted from the files.
TEST(DiskListRows, DeleteTakesEachRowsRecordFromItsOwnList) {
  DiskRecord disk;
  AddFile(disk, "/keep", 1, 1);
  AddFile(disk, "@00000000-000001FF", 2, 2);
  AddRange(disk, 0, 0x1FF, 3);
  AddRange(disk, 0x200, 0x3FF, 4);
  const std::vector<DiskListRow> rows = MakeDiskListRows(disk);
  std::vector<const DiskListRow*> doomed;
  for (const DiskListRow& row : rows) {
    if ((row.file && row.name[0] == '@') || (row.range && row.range->crc32 == 4))
      doomed.push_back(&row);
  }
  ASSERT_EQ(doomed.size(), 2u);
  const std::vector<RecordRef> records = RowRecords(doomed);
  EXPECT_EQ(records,
            (std::vector<RecordRef>{
                doomed[0]->file ? RecordRef(&disk.files[1]) : RecordRef(&disk.ranges[1]),
                doomed[1]->file ? RecordRef(&disk.files[1]) : RecordRef(&disk.ranges[1])}));
  DeleteRows(disk, doomed);
  ASSERT_EQ(disk.files.Size(), 1u);
  EXPECT_EQ(disk.files[0].path.Value(), "/keep");
  ASSERT_EQ(disk.ranges.Size(), 1u);
  EXPECT_EQ(disk.ranges[0].crc32, 3u);
}

}  // namespace
}  // namespace moswit
