// SPDX-License-Identifier: GPL-2.0-or-later
#include "compare/comparetables.h"

#include <algorithm>

#include "base/numbertext.h"
#include "compare/filecompare.h"
#include "compare/rangecompare.h"

namespace moswit {

namespace {

constexpr char kMissing[] = "--";

CompareTable FileTable(std::span<const CompareImage> images) {
  CompareTable table;
  table.columns.push_back({"Filename", 174, ColumnAlignment::kLeft});
  for (const CompareImage& image : images) {
    const std::string number = ImageNumberText(image.number);
    table.columns.push_back({number + "-size", 50, ColumnAlignment::kRight});
    table.columns.push_back({number + "-crc32", 68, ColumnAlignment::kRight});
  }
  for (FileComparison& compared : CompareFiles(images)) {
    TableRow row{std::move(compared.path), {}, compared.equal};
    row.subItems.reserve(2 * images.size());
    for (const FileEntry* file : compared.files) {
      row.subItems.push_back(file ? IntToDec(file->Size) : kMissing);
      row.subItems.push_back(file ? IntToHex(file->Crc, 8) : kMissing);
    }
    table.rows.push_back(std::move(row));
  }
  return table;
}

CompareTable RangeTable(std::span<const CompareImage> images,
                        const std::vector<RangeSection>& sections) {
  CompareTable table;
  table.columns.push_back({"Start", 78, ColumnAlignment::kLeft});
  table.columns.push_back({"End", 66, ColumnAlignment::kLeft});
  for (const CompareImage& image : images) {
    table.columns.push_back(
        {ImageNumberText(image.number) + "-crc32", 68, ColumnAlignment::kRight});
  }
  for (const RangeSection& section : sections) {
    TableRow row{IntToHex(section.first, 8), {IntToHex(section.last, 8)}, section.equal};
    row.subItems.reserve(1 + images.size());
    for (uint32_t crc : section.crcs) row.subItems.push_back(IntToHex(crc, 8));
    table.rows.push_back(std::move(row));
  }
  return table;
}

}  // namespace

CompareTables BuildCompareTables(std::span<const CompareImage> images) {
  images = images.first(std::min(images.size(), kMaxComparedImages));
  return {FileTable(images), RangeTable(images, CompareRanges(images))};
}

CompareTables BuildCompareTables(std::span<const CompareImage> images,
                                 std::vector<RangeSection> sections) {
  images = images.first(std::min(images.size(), kMaxComparedImages));
  return {FileTable(images), RangeTable(images, sections)};
}

std::string ImageListCaption(uint8_t number, const std::string& path) {
  return ImageNumberText(number) + ": " + path;
}

}  // namespace moswit
