// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/diskfields.h"

#include <algorithm>
#include <unordered_set>

#include "base/collate.h"
#include "base/numbertext.h"
#include "diskcontents/rangeentry.h"

namespace moswit {

namespace {

// The records of `list` that are in `chosen`, in list order, at
// most kMaxSelected.
template <typename T>
std::vector<T*> InListOrder(const RecordList<T>& list,
                            const std::unordered_set<RecordRef>& chosen) {
  std::vector<T*> records;
  for (T& record : list) {
    if (records.size() == kMaxSelected) break;
    if (chosen.count(&record) != 0) records.push_back(&record);
  }
  return records;
}

}  // namespace

DiskFields LoadDisk(const DiskRecord& disk) {
  return {LoadEditTexts(FieldTable<DiskRecord>(), disk), disk.nameMustMatch == 1};
}

void StoreDisk(const DiskFields& fields, DiskRecord& disk) {
  StoreEditTexts(FieldTable<DiskRecord>(), fields.texts, disk);
  disk.nameMustMatch = fields.matchName ? 1 : 0;
}

std::vector<DiskListRow> MakeDiskListRows(const DiskRecord& disk) {
  std::vector<DiskListRow> rows;
  rows.reserve(disk.files.Size() + disk.ranges.Size());
  for (FileRecord& file : disk.files) {
    rows.push_back({LoadText(file.path), IntToDec(file.size), IntToHex(file.crc32, 8),
                    LoadText(file.description), &file, nullptr});
  }
  for (RangeRecord& range : disk.ranges) {
    rows.push_back({RangeLabel(range.firstByte, range.lastByte),
                    IntToDec(range.lastByte - range.firstByte + 1), IntToHex(range.crc32, 8),
                    LoadText(range.description), nullptr, &range});
  }
  std::stable_sort(rows.begin(), rows.end(), [](const DiskListRow& a, const DiskListRow& b) {
    return CollateLess(a.name, b.name);
  });
  return rows;
}

DiskSelection SelectedRecords(const DiskRecord& disk, std::span<const DiskListRow* const> rows) {
  const std::unordered_set<RecordRef> chosen = [&] {
    std::unordered_set<RecordRef> set;
    for (const DiskListRow* row : rows) {
      if (row == nullptr) continue;
      if (row->file) set.insert(row->file);
      if (row->range) set.insert(row->range);
    }
    return set;
  }();
  return {InListOrder(disk.files, chosen), InListOrder(disk.ranges, chosen)};
}

std::vector<RecordRef> RowRecords(std::span<const DiskListRow* const> rows) {
  std::vector<RecordRef> records;
  for (const DiskListRow* row : rows) {
    if (row == nullptr) continue;
    if (row->file) records.push_back(row->file);
    if (row->range) records.push_back(row->range);
  }
  return records;
}

void DeleteRows(DiskRecord& disk, std::span<const DiskListRow* const> rows) {
  for (const DiskListRow* row : rows) {
    if (row == nullptr) continue;
    if (row->file) disk.files.Dispose(row->file);
    if (row->range) disk.ranges.Dispose(row->range);
  }
}

}  // namespace moswit
