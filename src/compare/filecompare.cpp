// SPDX-License-Identifier: GPL-2.0-or-later
#include "compare/filecompare.h"

#include <algorithm>
#include <unordered_map>

#include "base/asciicase.h"
#include "base/collate.h"

namespace moswit {

std::vector<FileComparison> CompareFiles(std::span<const CompareImage> images) {
  std::vector<FileComparison> rows;
  // One look-up per file instead of a search of every other image's list.
  std::unordered_map<std::string, size_t> rowOf;
  for (size_t k = 0; k < images.size(); ++k) {
    for (const FileEntry& file : images[k].files) {
      const auto [it, added] = rowOf.try_emplace(UpperCase(file.Path), rows.size());
      if (added) {
        rows.push_back({file.Path, std::vector<const FileEntry*>(images.size()), false});
      }
      // a second path on one image that differs only in case is not compared
      const FileEntry*& slot = rows[it->second].files[k];
      if (!slot) slot = &file;
    }
  }
  for (FileComparison& row : rows) {
    const FileEntry* first = *std::find_if(row.files.begin(), row.files.end(),
                                           [](const FileEntry* f) { return f != nullptr; });
    row.equal = std::all_of(row.files.begin(), row.files.end(), [first](const FileEntry* f) {
      return f && f->Size == first->Size && f->Crc == first->Crc;
    });
  }
  std::stable_sort(rows.begin(), rows.end(), [](const FileComparison& a, const FileComparison& b) {
    return CollateLess(a.path, b.path);
  });
  return rows;
}

}  // namespace moswit
