// SPDX-License-Identifier: GPL-2.0-or-later
// The File and Range editors' rules: the 24 three-state boxes of
// AttributeFlags, the view-only identity texts and the record's
// `description`, loaded from and stored into one record, or several records
// of one disk at once (multi-edit), where a box whose bit differs between
// the records shows greyed and, left greyed, keeps each record's bit.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "database/attributes.h"
#include "database/records.h"

namespace moswit {

struct AttributeBox {
  AttributeFlags bit;
  const char* name;
  const char* caption;
};

// The four columns of GB_Details, each headed by a label.
struct AttributeColumn {
  const char* name;
  const char* caption;
  std::span<const AttributeBox> boxes;
};

inline constexpr AttributeBox kPrimaryBoxes[] = {
    {kAttrBoot, "C_Boot", "Boot"},       {kAttrPreGame, "C_PreGame", "Pre-Game"},
    {kAttrGame, "C_Game", "Game"},       {kAttrAddendum, "C_Addendum", "Addendum"},
    {kAttrUnused, "C_Unused", "Unused"},
};
inline constexpr AttributeBox kSecondaryBoxes[] = {
    {kAttrCode, "C_Code", "Code"},
    {kAttrSubcode, "C_Subcode", "Subcode"},
    {kAttrGraphics, "C_Graphics", "Graphics"},
    {kAttrSound, "C_Sound", "Sound"},
    {kAttrCustom, "C_Custom", "Custom"},
    {kAttrSavegame, "C_Savegame", "Savegame"},
    {kAttrHighscores, "C_Highscores", "Highscores"},
};
inline constexpr AttributeBox kFlagBoxes[] = {
    {kAttrExclude, "C_Exclude", "Exclude"},
    {kAttrShared, "C_Shared", "Shared"},
    {kAttrOptional, "C_Optional", "Optional"},
    {kAttrWb, "C_WB", "WB"},
    {kAttrDynamic, "C_Dynamic", "Dynamic"},
    {kAttrDynSize, "C_Dynsize", "DynSize"},
    {kAttrLoad, "C_Load", "Load"},
};
inline constexpr AttributeBox kDescriptorBoxes[] = {
    {kAttrReleasetro, "C_Releasetro", "Releasetro"},
    {kAttrCracktro, "C_Cracktro", "Cracktro"},
    {kAttrTrainer, "C_Trainer", "Trainer"},
    {kAttrHdInstall, "C_HDInstall", "HD-Install"},
    {kAttrDocs, "C_Docs", "Docs"},
};
inline constexpr std::array<AttributeColumn, 4> kAttributeColumns = {{
    {"L_Primary", "Primary Type", kPrimaryBoxes},
    {"L_Secondary", "Secondary", kSecondaryBoxes},
    {"L_Flags", "Flags", kFlagBoxes},
    {"L_Descriptors", "Descriptors", kDescriptorBoxes},
}};

// The hint of every box.
inline constexpr char kAttributeHint[] =
    "file doesn't have to exist but is used by the game if exists";

// The bits the boxes stand for; the others are never touched by an editor.
constexpr AttributeFlags kBoxBits = 0x9F7F07FFu;

// The boxes as two masks over kBoxBits: a greyed box's bit is in `greyed`,
// a checked box's in `checked`, an unchecked box's in neither.
struct AttributeBoxes {
  AttributeFlags checked = 0;
  AttributeFlags greyed = 0;
  bool operator==(const AttributeBoxes&) const = default;
};

// One record: each box checked when its bit is set.
AttributeBoxes BoxesOf(AttributeFlags attributes);
// Several records: the first gives each bit, a later one that differs makes
// it mixed (greyed). No records: every box unchecked.
AttributeBoxes BoxesOf(std::span<const AttributeFlags> attributes);
// Greyed keeps the bit, checked sets it, unchecked clears it.
AttributeFlags ApplyBoxes(const AttributeBoxes& boxes, AttributeFlags attributes);

// What the editor's controls hold: the three view-only identity edits
// (File: ED_FileName, ED_Size, ED_Crc32; Range: ED_Start, ED_End,
// ED_Crc32), ED_Description and the boxes.
struct AttributeFields {
  std::array<std::string, 3> identity;
  std::string description;
  AttributeBoxes boxes;
};

inline constexpr char kMultiFiles[] = "<editing multiple files>";
inline constexpr char kMulti[] = "<multi>";

// One record. Storing reads the identity edits back (a file's size by its
// digits, CRCs and range offsets as hexadecimal), so unchanged edits store
// the values they show.
AttributeFields LoadFileFields(const FileRecord& file);
void StoreFileFields(const AttributeFields& fields, FileRecord& file);
AttributeFields LoadRangeFields(const RangeRecord& range);
void StoreRangeFields(const AttributeFields& fields, RangeRecord& range);

// Several records of one disk: those of the disk's list that are in
// `selected`, walked in list order. Loading shows "<editing multiple
// files>" / "<multi>" and an empty description; storing leaves the
// identities alone and sets each `description` only when a text was typed.
AttributeFields LoadMultiFields(const RecordList<FileRecord>& files,
                                std::span<const FileRecord* const> selected);
AttributeFields LoadMultiFields(const RecordList<RangeRecord>& ranges,
                                std::span<const RangeRecord* const> selected);
void StoreMultiFields(const AttributeFields& fields, RecordList<FileRecord>& files,
                      std::span<const FileRecord* const> selected);
void StoreMultiFields(const AttributeFields& fields, RecordList<RangeRecord>& ranges,
                      std::span<const RangeRecord* const> selected);

// One row of the view-only identity: its label and one or two edits.
struct IdentityRow {
  const char* label;
  const char* caption;
  std::array<const char*, 2> edits;  // the second may be null
};

// What tells the File editor from the Range editor: its window, its
// identity rows (three edits in all, in AttributeFields::identity order)
// and the disk's list its records stand in.
template <typename Record>
struct AttributeKind;

template <>
struct AttributeKind<FileRecord> {
  static constexpr const char* kWindow = "TF_FileEdit";
  static constexpr const char* kTitle = "File Editor";
  static constexpr IdentityRow kIdentity[2] = {
      {"ST_Filename", "Filename", {"ED_FileName", nullptr}},
      {"ST_SizeCRC32", "Filesize / CRC32", {"ED_Size", "ED_Crc32"}},
  };
  static constexpr RecordList<FileRecord> DiskRecord::*kList = &DiskRecord::files;
  static AttributeFields Load(const FileRecord& file) { return LoadFileFields(file); }
  static void Store(const AttributeFields& fields, FileRecord& file) {
    StoreFileFields(fields, file);
  }
};

template <>
struct AttributeKind<RangeRecord> {
  static constexpr const char* kWindow = "TF_RangeEdit";
  static constexpr const char* kTitle = "Range Editor";
  static constexpr IdentityRow kIdentity[2] = {
      {"ST_StartEnd", "Range Start / End", {"ED_Start", "ED_End"}},
      {"ST_SizeCRC", "CRC32", {"ED_Crc32", nullptr}},
  };
  static constexpr RecordList<RangeRecord> DiskRecord::*kList = &DiskRecord::ranges;
  static AttributeFields Load(const RangeRecord& range) { return LoadRangeFields(range); }
  static void Store(const AttributeFields& fields, RangeRecord& range) {
    StoreRangeFields(fields, range);
  }
};

}  // namespace moswit
