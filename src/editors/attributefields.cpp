// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/attributefields.h"

#include <unordered_set>

#include "base/numbertext.h"
#include "database/recordtext.h"

namespace moswit {

namespace {

// Selections are looked up by address: only records still in the list are
// touched, in list order.
template <typename T>
AttributeBoxes SelectedBoxes(const RecordList<T>& list, std::span<const T* const> selected) {
  const std::unordered_set<const T*> chosen(selected.begin(), selected.end());
  std::vector<AttributeFlags> attributes;
  for (const T& record : list) {
    if (chosen.count(&record) != 0) attributes.push_back(record.attributes);
  }
  return BoxesOf(attributes);
}

template <typename T>
void StoreSelected(const AttributeFields& fields, RecordList<T>& list,
                   std::span<const T* const> selected) {
  const std::unordered_set<const T*> chosen(selected.begin(), selected.end());
  for (T& record : list) {
    if (chosen.count(&record) == 0) continue;
    record.attributes = ApplyBoxes(fields.boxes, record.attributes);
    if (!fields.description.empty()) StoreText(record.description, fields.description);
  }
}

}  // namespace

AttributeBoxes BoxesOf(AttributeFlags attributes) { return {attributes & kBoxBits, 0}; }

AttributeBoxes BoxesOf(std::span<const AttributeFlags> attributes) {
  if (attributes.empty()) return {};
  AttributeFlags mixed = 0;
  for (AttributeFlags value : attributes) mixed |= value ^ attributes.front();
  mixed &= kBoxBits;
  return {attributes.front() & kBoxBits & ~mixed, mixed};
}

AttributeFlags ApplyBoxes(const AttributeBoxes& boxes, AttributeFlags attributes) {
  const AttributeFlags decided = kBoxBits & ~boxes.greyed;
  return (attributes & ~decided) | (boxes.checked & decided);
}

AttributeFields LoadFileFields(const FileRecord& file) {
  return {{LoadText(file.path), IntToDec(file.size), IntToHex(file.crc32, 8)},
          LoadText(file.description),
          BoxesOf(file.attributes)};
}

void StoreFileFields(const AttributeFields& fields, FileRecord& file) {
  StoreText(file.path, fields.identity[0]);
  file.size = DecToInt(fields.identity[1]);
  file.crc32 = HexToInt(fields.identity[2]);
  StoreText(file.description, fields.description);
  file.attributes = ApplyBoxes(fields.boxes, file.attributes);
}

AttributeFields LoadRangeFields(const RangeRecord& range) {
  return {{IntToHex(range.firstByte, 8), IntToHex(range.lastByte, 8), IntToHex(range.crc32, 8)},
          LoadText(range.description),
          BoxesOf(range.attributes)};
}

void StoreRangeFields(const AttributeFields& fields, RangeRecord& range) {
  range.firstByte = HexToInt(fields.identity[0]);
  range.lastByte = HexToInt(fields.identity[1]);
  range.crc32 = HexToInt(fields.identity[2]);
  StoreText(range.description, fields.description);
  range.attributes = ApplyBoxes(fields.boxes, range.attributes);
}

AttributeFields LoadMultiFields(const RecordList<FileRecord>& files,
                                std::span<const FileRecord* const> selected) {
  return {{kMultiFiles, kMulti, kMulti}, {}, SelectedBoxes(files, selected)};
}

AttributeFields LoadMultiFields(const RecordList<RangeRecord>& ranges,
                                std::span<const RangeRecord* const> selected) {
  return {{kMulti, kMulti, kMulti}, {}, SelectedBoxes(ranges, selected)};
}

void StoreMultiFields(const AttributeFields& fields, RecordList<FileRecord>& files,
                      std::span<const FileRecord* const> selected) {
  StoreSelected(fields, files, selected);
}

void StoreMultiFields(const AttributeFields& fields, RecordList<RangeRecord>& ranges,
                      std::span<const RangeRecord* const> selected) {
  StoreSelected(fields, ranges, selected);
}

}  // namespace moswit
