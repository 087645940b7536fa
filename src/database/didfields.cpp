// SPDX-License-Identifier: GPL-2.0-or-later
#include "database/didfields.h"

#include <algorithm>
#include <array>
#include <type_traits>

#include "base/numbertext.h"
#include "database/packedfields.h"

namespace moswit {

namespace {

using enum DidForm;
using enum DidWritten;
using enum EditGroup;

template <typename Record, size_t N>
using Rows = std::array<DidField<Record>, N>;

template <typename T, size_t... N>
constexpr std::array<T, (N + ...)> Join(const std::array<T, N>&... parts) {
  std::array<T, (N + ...)> all{};
  size_t at = 0;
  ((std::copy(parts.begin(), parts.end(), all.begin() + static_cast<std::ptrdiff_t>(at)), at += N),
   ...);
  return all;
}

constexpr char kDateCaption[] = "Release Date (yyyy-mm-dd)";

// Each row: keyword, member, form, when written, hex digits, the edit
// {objectName, label, caption, group, place}, and a default.
// clang-format off
// The credits, shared by games and versions (a version's override the
// game's). The editors show Sound Effects before Music.
template <typename Record>
constexpr Rows<Record, 6> Credits() {
  return {{
      {"devl", &Record::developer, kText, kIfPresent, 0, {"ED_Developer", "ST_Developer", "Developer Team", kCredits, 0}},
      {"code", &Record::code, kText, kIfPresent, 0, {"ED_Code", "ST_Code", "Code", kCredits, 1}},
      {"grfx", &Record::graphics, kText, kIfPresent, 0, {"ED_Graphics", "ST_Graphics", "Graphics", kCredits, 2}},
      {"musi", &Record::music, kText, kIfPresent, 0, {"ED_Music", "ST_Music", "Music", kCredits, 4}},
      {"sdfx", &Record::soundFx, kText, kIfPresent, 0, {"ED_SoundFX", "ST_SoundFX", "Sound Effects", kCredits, 3}},
      {"dsgn", &Record::design, kText, kIfPresent, 0, {"ED_Design", "ST_Design", "Design (Level etc.)", kCredits, 5}},
  }};
}

// The comment is written after the credits in games and after the version
// name in versions; the editors show it in a memo of their own.
template <typename Record>
constexpr DidField<Record> Comment() {
  return {"cmmt", &Record::comment, kText, kIfPresent};
}

constexpr Rows<DatabaseInfo, 3> kInfoFields = {{
    {"name", &DatabaseInfo::name, kText, kAlways, 0, {"ED_Name", "ST_Name", "Name", kStandardInfo, 0}},
    {"creator", &DatabaseInfo::creator, kText, kAlways, 0, {"ED_Creator", "ST_Creator", "Creator(s)", kStandardInfo, 1}},
    {"date", &DatabaseInfo::date, kDate, kAlways, 0, {"ED_Rel", "ST_RelDate", kDateCaption, kStandardInfo, 2}},
}};

constexpr auto kGameFields =
    Join(Rows<GameRecord, 3>{{
             {"name", &GameRecord::name, kText, kIfPresent, 0, {"ED_Name", "ST_Name", "Name", kStandardInfo, 0}},
             {"rdat", &GameRecord::releaseDate, kDate, kIfNotZero, 0, {"ED_Rel", "ST_RelDate", kDateCaption, kStandardInfo, 2}},
             {"publ", &GameRecord::publisher, kText, kIfPresent, 0, {"ED_Publisher", "ST_Publisher", "Publisher", kStandardInfo, 1}},
         }},
         Credits<GameRecord>(), Rows<GameRecord, 1>{{Comment<GameRecord>()}});

constexpr auto kVersionFields =
    Join(Rows<VersionRecord, 3>{{
             {"gnam", &VersionRecord::gameName, kText, kIfPresent, 0, {"ED_Name", "ST_Name", "Name", kStandardInfo, 0}},
             {"rdat", &VersionRecord::releaseDate, kDate, kIfNotZero, 0, {"ED_Rel", "ST_RD", kDateCaption, kStandardInfo, 2}},
             {"publ", &VersionRecord::publisher, kText, kIfPresent, 0, {"ED_Publisher", "ST_Publisher", "Publisher", kStandardInfo, 1}},
         }},
         Credits<VersionRecord>(),
         Rows<VersionRecord, 18>{{
             {"vnam", &VersionRecord::versionName, kText, kIfPresent, 0, {"ED_VersionName", "ST_VersionName", "Version Name", kDetails, 0}},
             Comment<VersionRecord>(),
             {"prot", &VersionRecord::protection, kText, kIfPresent, 0, {"ED_Protection", "ST_Protection", "Copy Protection", kDetails, 1}},
             {"crck", &VersionRecord::crackedBy, kText, kIfPresent, 0, {"ED_Cracked", "ST_Cracked", "Cracked by", kDetails, 2}},
             {"rels", &VersionRecord::releasedBy, kText, kIfPresent, 0, {"ED_Released", "ST_Released", "Released by", kDetails, 3}},
             {"fixd", &VersionRecord::fixes, kHex, kIfNotZero, 2},
             {"fixr", &VersionRecord::fixedBy, kText, kIfPresent, 0, {"ED_Fixed", "ST_Fixed", "Fixed by", kDetails, 4}},
             {"trnd", &VersionRecord::trainer, kHex, kIfNotZero, 4},
             {"trnr", &VersionRecord::trainedBy, kText, kIfPresent, 0, {"ED_Trained", "ST_Trained", "Trainer", kDetails, 7}},
             {"mdfd", &VersionRecord::modification, kText, kIfPresent, 0, {"ED_Modification", "ST_Modification", "Modification", kDetails, 5}},
             {"mdfr", &VersionRecord::modifiedBy, kText, kIfPresent, 0, {"ED_Modified", "ST_Modified", "Modified by", kDetails, 6}},
             {"gchp", &VersionRecord::chipset, kHex, kAlways, 2},
             {"memc", &VersionRecord::memChip, kDecimal, kIfNotZero, 0, {"ED_MemC", nullptr, nullptr, kMemory, 0}},
             {"mems", &VersionRecord::memSlow, kDecimal, kIfNotZero, 0, {"ED_MemS", nullptr, nullptr, kMemory, 1}},
             {"memf", &VersionRecord::memFast, kDecimal, kIfNotZero, 0, {"ED_MemF", nullptr, nullptr, kMemory, 2}},
             {"lang", &VersionRecord::languages, kHex, kIfNotDefault, 8, {}, kDefaultLanguages},
             {"dord", &VersionRecord::diskOrder, kDiskOrder, kAlways, 0, {"ED_DiskOrder", "ST_DiskOrder", "Disk Order", kVersionDisks, 0}},
             {"comp", &VersionRecord::compat, kCompat, kAlways},
         }});

constexpr Rows<DiskRecord, 3> kDiskFields = {{
    {"dnam", &DiskRecord::name, kText, kIfNameMayDiffer, 0, {"ED_Name", "ST_Name", "Disk Name", kProperties, 0}},
    {"dnmm", &DiskRecord::name, kText, kIfNameMustMatch},
    {"cmmt", &DiskRecord::comment, kText, kIfPresent, 0, {"ED_Comment", "ST_Comment", "Comment", kProperties, 1}},
}};

constexpr Rows<FileRecord, 5> kFileFields = {{
    {"fnam", &FileRecord::path, kText, kIfPresent},
    {"desc", &FileRecord::description, kText, kIfPresent},
    {"size", &FileRecord::size, kDecimal, kAlways},
    {"crcv", &FileRecord::crc32, kHex, kAlways, 8},
    {kInfoKeyword, &FileRecord::attributes, kHex, kAlways, 8},
}};

constexpr Rows<RangeRecord, 5> kRangeFields = {{
    {"desc", &RangeRecord::description, kText, kIfPresent},
    {"rbeg", &RangeRecord::firstByte, kHex, kAlways, 8},
    {"rend", &RangeRecord::lastByte, kHex, kAlways, 8},
    {"crcv", &RangeRecord::crc32, kHex, kAlways, 8},
    {kInfoKeyword, &RangeRecord::attributes, kHex, kAlways, 8},
}};
// clang-format on

std::string PadLeft(std::string text, size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

// Characters 1-4 the year, 5-6 the month, 7-8 the day; missing parts are 0.
ReleaseDate ParseDate(std::string_view value) {
  auto piece = [value](size_t from, size_t length) {
    return from < value.size() ? DecToInt(value.substr(from, length)) : 0u;
  };
  ReleaseDate date;
  date.year = static_cast<uint16_t>(piece(0, 4));
  date.month = static_cast<uint8_t>(piece(4, 2));
  date.day = static_cast<uint8_t>(piece(6, 2));
  return date;
}

// yyyymmdd. A year below 1000 is padded to four digits so that the reader,
// which takes the year from the first four characters, gets the same date;
// the all-zero date stays "00000".
std::string FormatDate(const ReleaseDate& date) {
  if (date.year == 0 && date.month == 0 && date.day == 0) return "00000";
  return PadLeft(IntToDec(date.year), 4) + PadLeft(IntToDec(date.month), 2) +
         PadLeft(IntToDec(date.day), 2);
}

// Pairs of hex digits into entries 0, 1, 2, ...; an odd last digit stands
// alone. Pairs beyond the 256 entries are dropped. Nothing is cleared first.
void ParseDiskOrder(std::string_view value, DiskOrder& order) {
  size_t entry = 0;
  for (size_t i = 0; i < value.size() && entry < order.size(); i += 2, ++entry) {
    order[entry] = static_cast<uint8_t>(HexToInt(value.substr(i, 2)));
  }
}

// Only the version's disks, the entries before the first 0: entries after a
// 0 would join the version when the file is read back.
std::string FormatDiskOrder(const DiskOrder& order) {
  const size_t count = DiskCount(order);
  if (count == 0) return "00";
  std::string text;
  text.reserve(count * 2);
  for (size_t k = 0; k < count; ++k) text += IntToHex(order[k], 2);
  return text;
}

// Calls `piece(member, digits)` for each member of CompatInfo in file order:
// the members of its packed table, each with two hex digits per byte.
template <typename Piece>
void ForEachCompatPiece(Piece piece) {
  const auto table = PackedTable<CompatInfo>();
  for (size_t i = 0; i < table.size(); ++i) {
    if (i > 0 && table[i].member == table[i - 1].member) continue;
    std::visit(
        [&](auto member) {
          using T = std::remove_reference_t<decltype(CompatInfo{}.*member)>;
          piece(member, static_cast<unsigned>(2 * sizeof(T)));
        },
        table[i].member);
  }
}

// Each piece from its fixed position; a piece beyond the value's end is 0.
CompatInfo ParseCompat(std::string_view value) {
  CompatInfo compat;
  size_t at = 0;
  ForEachCompatPiece([&](auto member, unsigned digits) {
    const uint32_t number = at < value.size() ? HexToInt(value.substr(at, digits)) : 0u;
    using T = std::remove_reference_t<decltype(compat.*member)>;
    compat.*member = static_cast<T>(number);
    at += digits;
  });
  return compat;
}

std::string FormatCompat(const CompatInfo& compat) {
  std::string text;
  text.reserve(50);
  ForEachCompatPiece(
      [&](auto member, unsigned digits) { text += IntToHex(compat.*member, digits); });
  return text;
}

template <typename T>
constexpr bool kIsNumber = std::is_integral_v<T>;

}  // namespace

template <>
std::span<const DidField<DatabaseInfo>> FieldTable<DatabaseInfo>() {
  return kInfoFields;
}
template <>
std::span<const DidField<GameRecord>> FieldTable<GameRecord>() {
  return kGameFields;
}
template <>
std::span<const DidField<VersionRecord>> FieldTable<VersionRecord>() {
  return kVersionFields;
}
template <>
std::span<const DidField<DiskRecord>> FieldTable<DiskRecord>() {
  return kDiskFields;
}
template <>
std::span<const DidField<FileRecord>> FieldTable<FileRecord>() {
  return kFileFields;
}
template <>
std::span<const DidField<RangeRecord>> FieldTable<RangeRecord>() {
  return kRangeFields;
}

template <typename Record>
void StoreValue(const DidField<Record>& field, std::string_view value, Record& record) {
  std::visit(
      [&](auto member) {
        auto& target = record.*member;
        using T = std::remove_reference_t<decltype(target)>;
        if constexpr (std::is_same_v<T, RecordText>) {
          target = value;
        } else if constexpr (std::is_same_v<T, ReleaseDate>) {
          target = ParseDate(value);
        } else if constexpr (std::is_same_v<T, DiskOrder>) {
          ParseDiskOrder(value, target);
        } else if constexpr (std::is_same_v<T, CompatInfo>) {
          target = ParseCompat(value);
        } else {
          target = static_cast<T>(field.form == kHex ? HexToInt(value) : DecToInt(value));
        }
      },
      field.member);
  if constexpr (std::is_same_v<Record, DiskRecord>) {
    if (field.written == kIfNameMayDiffer) record.nameMustMatch = 0;
    if (field.written == kIfNameMustMatch) record.nameMustMatch = 1;
  }
}

template <typename Record>
void SetDefaults(std::span<const DidField<Record>> table, Record& record) {
  for (const DidField<Record>& field : table) {
    if (field.written != kIfNotDefault) continue;
    std::visit(
        [&](auto member) {
          using T = std::remove_reference_t<decltype(record.*member)>;
          if constexpr (kIsNumber<T>) record.*member = static_cast<T>(field.byDefault);
        },
        field.member);
  }
}

template <typename Record>
bool IsWritten(const DidField<Record>& field, const Record& record) {
  if (field.written == kAlways) return true;
  return std::visit(
      [&](auto member) {
        const auto& source = record.*member;
        using T = std::remove_cvref_t<decltype(source)>;
        switch (field.written) {
          case kAlways:
            return true;
          case kIfPresent:
            if constexpr (std::is_same_v<T, RecordText>) return source.Present();
            return true;
          case kIfNotZero:
            if constexpr (std::is_same_v<T, ReleaseDate>) return source.year != 0;
            if constexpr (kIsNumber<T>) return source != 0;
            return true;
          case kIfNotDefault:
            if constexpr (kIsNumber<T>) return source != field.byDefault;
            return true;
          case kIfNameMayDiffer:
          case kIfNameMustMatch:
            // The flag travels with the name keyword: without a name it
            // would be lost, so an empty name is written for it.
            // Nested, so other records never see the member: clang
            // instantiates the inner test per record before T is known.
            if constexpr (std::is_same_v<Record, DiskRecord>) {
              if constexpr (std::is_same_v<T, RecordText>) {
                if (field.written == kIfNameMustMatch) return record.nameMustMatch != 0;
                return source.Present() && record.nameMustMatch == 0;
              }
            }
            return true;
        }
        return true;
      },
      field.member);
}

template <typename Record>
void AppendValue(const DidField<Record>& field, const Record& record, std::string& out) {
  std::visit(
      [&](auto member) {
        const auto& source = record.*member;
        using T = std::remove_cvref_t<decltype(source)>;
        if constexpr (std::is_same_v<T, RecordText>) {
          out += source.Value();
        } else if constexpr (std::is_same_v<T, ReleaseDate>) {
          out += FormatDate(source);
        } else if constexpr (std::is_same_v<T, DiskOrder>) {
          out += FormatDiskOrder(source);
        } else if constexpr (std::is_same_v<T, CompatInfo>) {
          out += FormatCompat(source);
        } else {
          out += field.form == kHex ? IntToHex(source, field.digits) : IntToDec(source);
        }
      },
      field.member);
}

std::string DiskOrderText(const DiskOrder& order) {
  std::string text;
  for (uint8_t entry : order) {
    if (entry == 0) continue;
    if (!text.empty()) text += ", ";
    text += IntToDec(entry);
  }
  return text;
}

DiskOrder ReadDiskOrder(std::string_view text) {
  DiskOrder order{};
  size_t next = 0;
  size_t i = 0;
  while (i < text.size() && next < order.size()) {
    if (text[i] < '0' || text[i] > '9') {
      ++i;
      continue;
    }
    size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    order[next++] = static_cast<uint8_t>(DecToInt(text.substr(start, i - start)));
  }
  return order;
}

std::array<std::string, 3> DateEditNames(const FieldEdit& edit) {
  const std::string name = edit.edit;
  return {name + "Year", name + "Month", name + "Day"};
}

namespace {

// The digits of each part, cut to its width; a part not among the texts
// leaves the date as it is.
void StoreDateTexts(const std::array<std::string, 3>& names, const EditTexts& texts,
                    ReleaseDate& date) {
  const auto year = texts.find(names[0]);
  const auto month = texts.find(names[1]);
  const auto day = texts.find(names[2]);
  if (year == texts.end() || month == texts.end() || day == texts.end()) return;
  date.year = static_cast<uint16_t>(DecToInt(year->second));
  date.month = static_cast<uint8_t>(DecToInt(month->second));
  date.day = static_cast<uint8_t>(DecToInt(day->second));
}

}  // namespace

template <typename Record>
EditTexts LoadEditTexts(std::span<const DidField<Record>> table, const Record& record) {
  EditTexts texts;
  for (const DidField<Record>& field : table) {
    if (field.edit.edit == nullptr) continue;
    std::visit(
        [&](auto member) {
          const auto& source = record.*member;
          using T = std::remove_cvref_t<decltype(source)>;
          if constexpr (std::is_same_v<T, RecordText>) {
            texts[field.edit.edit] = LoadText(source);
          } else if constexpr (std::is_same_v<T, ReleaseDate>) {
            const auto names = DateEditNames(field.edit);
            texts[names[0]] = IntToDec(source.year);
            texts[names[1]] = IntToDec(source.month);
            texts[names[2]] = IntToDec(source.day);
          } else if constexpr (std::is_same_v<T, DiskOrder>) {
            texts[field.edit.edit] = DiskOrderText(source);
          } else if constexpr (kIsNumber<T>) {
            texts[field.edit.edit] =
                field.form == kHex ? IntToHex(source, field.digits) : IntToDec(source);
          }
        },
        field.member);
  }
  return texts;
}

template <typename Record>
void StoreEditTexts(std::span<const DidField<Record>> table, const EditTexts& texts,
                    Record& record) {
  for (const DidField<Record>& field : table) {
    if (field.edit.edit == nullptr) continue;
    if (field.form == kDate) {
      StoreDateTexts(DateEditNames(field.edit), texts,
                     record.*std::get<ReleaseDate Record::*>(field.member));
      continue;
    }
    const auto text = texts.find(field.edit.edit);
    if (text == texts.end()) continue;
    std::visit(
        [&](auto member) {
          auto& target = record.*member;
          using T = std::remove_reference_t<decltype(target)>;
          if constexpr (std::is_same_v<T, RecordText>) {
            StoreText(target, text->second);
          } else if constexpr (std::is_same_v<T, DiskOrder>) {
            target = ReadDiskOrder(text->second);
          } else if constexpr (kIsNumber<T>) {
            target = static_cast<T>(field.form == kHex ? HexToInt(text->second)
                                                       : DecToInt(text->second));
          }
        },
        field.member);
  }
}

template <typename Record>
std::vector<const DidField<Record>*> GroupFields(std::span<const DidField<Record>> table,
                                                 EditGroup group) {
  std::vector<const DidField<Record>*> fields;
  for (const DidField<Record>& field : table) {
    if (field.edit.edit != nullptr && field.edit.group == group) fields.push_back(&field);
  }
  std::stable_sort(fields.begin(), fields.end(),
                   [](const auto* a, const auto* b) { return a->edit.place < b->edit.place; });
  return fields;
}

#define MOSWIT_DID_RECORD(Record)                                                              \
  template void StoreValue(const DidField<Record>&, std::string_view, Record&);                \
  template void SetDefaults(std::span<const DidField<Record>>, Record&);                       \
  template bool IsWritten(const DidField<Record>&, const Record&);                             \
  template void AppendValue(const DidField<Record>&, const Record&, std::string&);             \
  template EditTexts LoadEditTexts(std::span<const DidField<Record>>, const Record&);          \
  template void StoreEditTexts(std::span<const DidField<Record>>, const EditTexts&, Record&);  \
  template std::vector<const DidField<Record>*> GroupFields(std::span<const DidField<Record>>, \
                                                            EditGroup);
MOSWIT_DID_RECORD(DatabaseInfo)
MOSWIT_DID_RECORD(GameRecord)
MOSWIT_DID_RECORD(VersionRecord)
MOSWIT_DID_RECORD(DiskRecord)
MOSWIT_DID_RECORD(FileRecord)
MOSWIT_DID_RECORD(RangeRecord)
#undef MOSWIT_DID_RECORD

}  // namespace moswit
