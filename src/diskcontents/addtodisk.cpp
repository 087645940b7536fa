// SPDX-License-Identifier: GPL-2.0-or-later
#include "diskcontents/addtodisk.h"

#include <array>

#include "base/numbertext.h"
#include "database/wildcard.h"

namespace moswit {

namespace {

struct Preset {
  std::string_view pattern;
  AttributeFlags attributes;
};

// The first match wins, so the specific devices entry stands before "/devs/*".
constexpr std::array<Preset, 5> kPresets = {{
    {"/s/startup-sequence", kAttrBoot},
    {"/c/*", kAttrPreGame | kAttrExclude | kAttrShared},
    {"/libs/*", kAttrGame | kAttrSubcode | kAttrExclude | kAttrShared},
    {"/devs/system-configuration", kAttrPreGame | kAttrExclude | kAttrOptional},
    {"/devs/*", kAttrUnused | kAttrExclude | kAttrShared | kAttrOptional},
}};

}  // namespace

std::string DiskEditorCaption(const GameRecord& game, const DiskRecord& disk) {
  std::string caption(game.name.Value());
  caption += " / Disk #" + IntToDec(static_cast<uint32_t>(game.disks.PositionOf(&disk))) + ": ";
  caption.append(disk.comment.Value());
  return caption;
}

AttributeFlags PresetAttributes(std::string_view path) {
  for (const Preset& preset : kPresets) {
    if (WildcardMatch(preset.pattern, path)) return preset.attributes;
  }
  return kAttrGame;
}

void AddRowsToDisk(std::span<const FileListRow* const> rows, DiskRecord& disk) {
  for (const FileListRow* row : rows) {
    if (row == nullptr) continue;
    if (row->file) {
      FileRecord& record = AppendFile(disk);
      record.path = row->file->Path;
      record.size = row->file->Size;
      record.crc32 = row->file->Crc;
      record.attributes = PresetAttributes(row->file->Path);
    } else if (row->range) {
      RangeRecord& record = AppendRange(disk);
      record.firstByte = row->range->FirstByte;
      record.lastByte = row->range->LastByte;
      record.crc32 = row->range->Crc;
      record.attributes = kRangeAttributes;
    }
  }
}

}  // namespace moswit
