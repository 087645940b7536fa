// SPDX-License-Identifier: GPL-2.0-or-later
// The fields of a DID file, one table per record kind: keyword, member,
// value form and when it is written, and the edit that shows it in the
// record's editor. The DID reader and writer and the editors' load and store
// all go through these tables, so adding a field to a record is adding its
// row, and the reader and writer cannot disagree. Every DID keyword is
// written here and nowhere else.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "database/records.h"

namespace moswit {

// The record keywords. "info" also names the attribute field of files and
// ranges.
inline constexpr std::string_view kInfoKeyword = "info";
inline constexpr std::string_view kGameKeyword = "soft";
inline constexpr std::string_view kVersionKeyword = "version";
inline constexpr std::string_view kDiskKeyword = "disk";
inline constexpr std::string_view kFileKeyword = "file";
inline constexpr std::string_view kRangeKeyword = "range";

// How a value stands in the file.
enum class DidForm : uint8_t {
  kText,       // between double quotes
  kDate,       // yyyymmdd; the all-zero date is "00000"
  kDecimal,    // unsigned, no padding
  kHex,        // exactly `digits` upper-case hexadecimal digits
  kDiskOrder,  // two hex digits per disk of the version; "00" for none
  kCompat,     // the CompatInfo fields as hex digits, 50 in all
};

// When the writer writes a field.
enum class DidWritten : uint8_t {
  kAlways,
  kIfPresent,        // a text that is present
  kIfNotZero,        // a number other than 0; a date whose year is not 0
  kIfNotDefault,     // a number other than the row's default
  kIfNameMayDiffer,  // a disk's name that is present and need not match
  kIfNameMustMatch,  // a disk's name that must match, written even empty
};

// The editor group a field's edit stands in.
enum class EditGroup : uint8_t {
  kNone,
  kStandardInfo,  // Name, Publisher (games, versions) or Creator (info); the date
  kCredits,       // the credits of games and versions
  kDetails,       // the version's texts in "Version Details"
  kMemory,        // the version's "Req. Mem (C/S/F)" edits
  kProperties,    // the disk's name and comment
  kVersionDisks,  // the version's disk order, below its languages
};

// The line edit that shows a text or number field in its record's editor.
struct FieldEdit {
  const char* edit = nullptr;   // objectName; null: no editor shows the field
  const char* label = nullptr;  // objectName of its label; null: none of its own
  const char* caption = nullptr;
  EditGroup group = EditGroup::kNone;
  uint8_t place = 0;  // its position within the group
};

template <typename Record>
using DidMember =
    std::variant<RecordText Record::*, ReleaseDate Record::*, uint8_t Record::*, uint16_t Record::*,
                 uint32_t Record::*, DiskOrder Record::*, CompatInfo Record::*>;

template <typename Record>
struct DidField {
  std::string_view keyword;
  DidMember<Record> member;
  DidForm form;
  DidWritten written;
  uint8_t digits = 0;  // kHex only
  FieldEdit edit = {};
  // kIfNotDefault: the value a record takes when the file leaves the field
  // out, which is then not written.
  uint32_t byDefault = 0;
};

// The table of a record kind (DatabaseInfo for "info", GameRecord for
// "soft", then VersionRecord, DiskRecord, FileRecord, RangeRecord), in the
// order the writer writes the fields.
template <typename Record>
std::span<const DidField<Record>> FieldTable();

// The row of `keyword` (compared exactly, case and all); null for none.
template <typename Record>
const DidField<Record>* FindField(std::span<const DidField<Record>> table,
                                  std::string_view keyword) {
  // The reader asks once per token, and nearly every keyword has four bytes:
  // those compare as one 32-bit word.
  const auto word = [](std::string_view text) {
    uint32_t value;
    std::memcpy(&value, text.data(), sizeof value);
    return value;
  };
  if (keyword.size() == 4) {
    const uint32_t wanted = word(keyword);
    for (const DidField<Record>& field : table) {
      if (field.keyword.size() == 4 && word(field.keyword) == wanted) return &field;
    }
    return nullptr;
  }
  for (const DidField<Record>& field : table) {
    if (field.keyword == keyword) return &field;
  }
  return nullptr;
}

// Reads a value leniently into the record: texts cut to 255 bytes, numbers
// from their digits alone and cut to the member's width, a date's parts
// from fixed positions. Reading "dnam" or "dnmm" also sets nameMustMatch.
template <typename Record>
void StoreValue(const DidField<Record>& field, std::string_view value, Record& record);

// Gives every kIfNotDefault field of the table its default, as a record
// read from a file starts.
template <typename Record>
void SetDefaults(std::span<const DidField<Record>> table, Record& record);

// Whether the writer writes the field for this record.
template <typename Record>
bool IsWritten(const DidField<Record>& field, const Record& record);

// Appends the field's value as the writer writes it (a text without its
// quotes) to `out`.
template <typename Record>
void AppendValue(const DidField<Record>& field, const Record& record, std::string& out);

// Every non-zero entry, in entry order, joined by ", " ("3, 1, 2"); empty
// when there is none.
std::string DiskOrderText(const DiskOrder& order);

// Every run of decimal digits, in order, into the next entry from entry 0,
// each cut to 8 bits (300 gives 44); any other character only separates.
// Numbers past the 256th are dropped.
DiskOrder ReadDiskOrder(std::string_view text);

// The three edits of a date field, year, month and day: its edit's name with
// "Year", "Month" and "Day" added.
std::array<std::string, 3> DateEditNames(const FieldEdit& edit);

// The texts of a record's line edits, by the edit's objectName: texts as
// stored (absent ones empty), numbers in decimal or in their hex digits, a
// disk order as DiskOrderText writes it, a date's parts in decimal (an
// unknown part "0") in the edits DateEditNames gives.
using EditTexts = std::map<std::string, std::string, std::less<>>;

// The edits of the table's fields that have one.
template <typename Record>
EditTexts LoadEditTexts(std::span<const DidField<Record>> table, const Record& record);

// Stores every field of the table that has an edit in `texts`: an empty
// text makes a text absent, a longer one is cut to 255 bytes, a number is
// read from its (hex) digits alone and cut to its width, a disk order read
// as ReadDiskOrder reads it, a date's parts from their digits alone, each
// cut to its width. Fields whose edit is not
// in `texts` are left as they are.
template <typename Record>
void StoreEditTexts(std::span<const DidField<Record>> table, const EditTexts& texts,
                    Record& record);

// The fields shown in an editor group, in their places.
template <typename Record>
std::vector<const DidField<Record>*> GroupFields(std::span<const DidField<Record>> table,
                                                 EditGroup group);

}  // namespace moswit
