// SPDX-License-Identifier: GPL-2.0-or-later
// The Disk editor's rules: its properties (volume name, comment, whether
// identification insists on the name), the rows of its file and range list,
// the records a selection names, and the delete from the list.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "database/didfields.h"
#include "database/recordref.h"
#include "database/records.h"

namespace moswit {

struct DiskFields {
  EditTexts texts;         // the edits of the disk's field table: ED_Name, ED_Comment
  bool matchName = false;  // CB_MatchName
};

DiskFields LoadDisk(const DiskRecord& disk);
// Empty texts become absent, longer ones are cut to 255 bytes.
void StoreDisk(const DiskFields& fields, DiskRecord& disk);

// One row of FR_FileList. Exactly one of `file` and `range` is set: rows are
// told apart by the record they show, never by their caption (a file's path
// may begin with "@" too).
struct DiskListRow {
  std::string name;  // the path, or "@" + first + "-" + last byte in hex
  std::string size;  // decimal; a range's last - first + 1, 32-bit
  std::string crc;   // eight upper-case hex digits
  std::string description;
  FileRecord* file = nullptr;
  RangeRecord* range = nullptr;
};

// The files in list order, then the ranges, sorted by name with the
// locale's collation (names that collate alike keep byte order, then list
// order).
std::vector<DiskListRow> MakeDiskListRows(const DiskRecord& disk);

// At most this many records of each kind go to one File or Range editor.
constexpr size_t kMaxSelected = 4096;

// The records of the selected rows, in the order of the disk's lists (not
// of the rows), each once, at most kMaxSelected of each kind.
struct DiskSelection {
  std::vector<FileRecord*> files;
  std::vector<RangeRecord*> ranges;
};
DiskSelection SelectedRecords(const DiskRecord& disk, std::span<const DiskListRow* const> rows);

// The records a delete of the rows disposes, so that their editors can be
// closed before.
std::vector<RecordRef> RowRecords(std::span<const DiskListRow* const> rows);
// "Delete from list": unlinks each row's record from the disk's files or
// ranges, in row order, and disposes it. The rows point at freed records
// afterwards and are to be made anew.
void DeleteRows(DiskRecord& disk, std::span<const DiskListRow* const> rows);

}  // namespace moswit
