// SPDX-License-Identifier: GPL-2.0-or-later
// The two tables of the Compare dialog, ready to be moved into its list
// views: the columns with title, width and alignment, and the rows with
// caption, sub-item texts and the equal flag (row image 0 when equal, 1 when
// differing).
#pragma once

#include <span>
#include <string>
#include <vector>

#include "compare/compareimage.h"
#include "compare/rangecompare.h"

namespace moswit {

enum class ColumnAlignment { kLeft, kRight };

struct TableColumn {
  std::string title;
  int width = 0;  // pixels
  ColumnAlignment alignment = ColumnAlignment::kLeft;
};

struct TableRow {
  std::string caption;
  std::vector<std::string> subItems;  // one per column after the first
  bool equal = false;
};

struct CompareTable {
  std::vector<TableColumn> columns;
  std::vector<TableRow> rows;
};

struct CompareTables {
  CompareTable files;   // "File Stats"
  CompareTable ranges;  // "Range Stats"
};

// Compares the ticked images, given in ascending number; only the first
// kMaxComparedImages take part. Without images both tables have their fixed
// columns and no rows.
CompareTables BuildCompareTables(std::span<const CompareImage> images);

// The same tables with the range sections already cut and CRC'd (by a
// RangeComparer); the images' bytes are not read.
CompareTables BuildCompareTables(std::span<const CompareImage> images,
                                 std::vector<RangeSection> sections);

// The caption of an image in the list of images to tick: "03: " + path.
std::string ImageListCaption(uint8_t number, const std::string& path);

}  // namespace moswit
