// SPDX-License-Identifier: GPL-2.0-or-later
#include "diskcontents/filelistrows.h"

#include <algorithm>
#include <cstring>

#include "base/numbertext.h"

namespace moswit {

std::vector<FileListRow> MakeFileListRows(const FileList& files, const RangeList& ranges) {
  std::vector<FileListRow> rows;
  rows.reserve(files.size() + ranges.Size());
  for (const FileEntry& file : files) {
    rows.push_back({file.Path, IntToDec(file.Size), IntToHex(file.Crc, 8),
                    file.Status != 0 ? kIconFailed : kIconGood, &file, nullptr});
  }
  for (const RangeEntry& range : ranges) {
    rows.push_back(
        {range.Label, IntToDec(range.Length), IntToHex(range.Crc, 8), kIconGood, nullptr, &range});
  }
  std::stable_sort(rows.begin(), rows.end(), [](const FileListRow& a, const FileListRow& b) {
    const int order = std::strcoll(a.name.c_str(), b.name.c_str());
    if (order != 0) return order < 0;
    return a.name < b.name;
  });
  return rows;
}

}  // namespace moswit
