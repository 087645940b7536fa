// SPDX-License-Identifier: GPL-2.0-or-later
// The rows of the Inspector's list FR_FileList: the image's files, then the
// user's ranges, sorted by name with the locale's collation.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "diskcontents/rangeentry.h"
#include "image/filesystem.h"

namespace moswit {

// Indexes into FR_Imgs.
constexpr int kIconGood = 0;
constexpr int kIconFailed = 1;

struct FileListRow {
  std::string name;  // a file's Path or a range's Label
  std::string size;  // decimal
  std::string crc;   // eight hex digits; a failed read shows its BlockStatus
  int icon = kIconGood;
  // The entry the row shows: exactly one is set.
  const FileEntry* file = nullptr;
  const RangeEntry* range = nullptr;
};

// Files are told from ranges by their name: paths start with "/", range
// labels with "@".
inline bool IsFileRowName(std::string_view name) { return !name.empty() && name[0] == '/'; }

// Every file in list order, then every range, then sorted ascending by name
// with strcoll (case-sensitive, the locale's LC_COLLATE); names that collate
// alike keep byte order. The rows point into `files` and `ranges`.
std::vector<FileListRow> MakeFileListRows(const FileList& files, const RangeList& ranges);

}  // namespace moswit
