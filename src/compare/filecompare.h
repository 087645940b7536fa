// SPDX-License-Identifier: GPL-2.0-or-later
// The files of several images side by side: one row per path found on any
// of them, matched without regard to the case of a to z.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "compare/compareimage.h"

namespace moswit {

struct FileComparison {
  // As on the lowest-numbered image that holds the path (the first of the
  // given images, which come in ascending number).
  std::string path;
  // Per image, in the given order: its first file of this path in walk
  // order, or nullptr when it has none. Points into the images' file lists.
  std::vector<const FileEntry*> files;
  // Every image has the file, with the size and CRC-32 of the captioned one.
  bool equal = false;
};

// The rows sorted by path with the locale's case-sensitive collation
// (strcoll); paths that collate alike keep byte order.
std::vector<FileComparison> CompareFiles(std::span<const CompareImage> images);

}  // namespace moswit
