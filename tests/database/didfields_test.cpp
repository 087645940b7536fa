// SPDX-License-Identifier: GPL-2.0-or-later
#include "database/didfields.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace moswit {
namespace {

// A value as the writer writes it, of the field's form, that no record
// starts with.
template <typename Record>
std::string TellingValue(const DidField<Record>& field) {
  switch (field.form) {
    case DidForm::kText:
      return "a \x01 text \xE4";
    case DidForm::kDate:
      return "19910305";
    case DidForm::kDecimal:
      return field.keyword == "size" ? "4000000000" : "40000";
    case DidForm::kHex:
      return std::string("A5C3E7F1").substr(0, field.digits);
    case DidForm::kDiskOrder:
      return "030102";
    case DidForm::kCompat:
      return "0AAA2810AA2A000200020000000AAA500811608002150B0F02";
  }
  return {};
}

// Every field of the table stores its value and writes it back unchanged.
template <typename Record>
void ExpectRoundTrip() {
  for (const DidField<Record>& field : FieldTable<Record>()) {
    SCOPED_TRACE(std::string(field.keyword));
    const std::string value = TellingValue(field);
    Record record;
    StoreValue(field, value, record);
    ASSERT_TRUE(IsWritten(field, record));
    std::string written;
    AppendValue(field, record, written);
    EXPECT_EQ(written, value);
  }
}

TEST(DidFields, EveryFieldReadsBackWhatItWrites) {
  ExpectRoundTrip<DatabaseInfo>();
  ExpectRoundTrip<GameRecord>();
  ExpectRoundTrip<VersionRecord>();
  ExpectRoundTrip<DiskRecord>();
  ExpectRoundTrip<FileRecord>();
  ExpectRoundTrip<RangeRecord>();

  // A disk's name goes under the keyword its match flag chooses; reading
  // either keyword sets the flag.
  const auto table = FieldTable<DiskRecord>();
  for (const bool mustMatch : {false, true}) {
    DiskRecord disk;
    StoreValue(*FindField(table, mustMatch ? "dnmm" : "dnam"), "", disk);
    EXPECT_EQ(disk.nameMustMatch, mustMatch ? 1 : 0);
    EXPECT_EQ(IsWritten(*FindField(table, "dnam"), disk), false);  // no name
    EXPECT_EQ(IsWritten(*FindField(table, "dnmm"), disk), mustMatch);
  }
}

template <typename Record>
void ExpectUnique() {
  std::set<std::string_view> keywords;
  std::set<std::string> edits;
  for (const DidField<Record>& field : FieldTable<Record>()) {
    // A disk's name has two keywords and one edit.
    EXPECT_TRUE(keywords.insert(field.keyword).second) << field.keyword;
    if (field.edit.edit != nullptr) {
      EXPECT_TRUE(edits.insert(field.edit.edit).second) << field.edit.edit;
    }
  }
}

TEST(DidFields, KeywordsAndEditsAreNamedOncePerRecord) {
  ExpectUnique<DatabaseInfo>();
  ExpectUnique<GameRecord>();
  ExpectUnique<VersionRecord>();
  ExpectUnique<DiskRecord>();
  ExpectUnique<FileRecord>();
  ExpectUnique<RangeRecord>();
}

TEST(DidFields, EditTextsShowTextsAndNumbersAndStoreThemBack) {
  VersionRecord version;
  version.crackedBy = "Group";
  version.memChip = 512;
  EditTexts texts = LoadEditTexts(FieldTable<VersionRecord>(), version);
  EXPECT_EQ(texts["ED_Cracked"], "Group");
  EXPECT_EQ(texts["ED_MemC"], "512");
  EXPECT_EQ(texts["ED_Name"], "");
  EXPECT_EQ(texts["ED_RelYear"] + "-" + texts["ED_RelMonth"] + "-" + texts["ED_RelDay"], "0-0-0");

  texts["ED_Cracked"] = "";
  texts["ED_MemC"] = "1,024 KB";
  texts["ED_MemF"] = "70000";
  texts.erase("ED_Name");
  version.gameName = "Kept";
  StoreEditTexts(FieldTable<VersionRecord>(), texts, version);
  EXPECT_FALSE(version.crackedBy.Present());
  EXPECT_EQ(version.memChip, 1024);
  EXPECT_EQ(version.memFast, 70000 & 0xFFFF);
  EXPECT_EQ(version.gameName.Value(), "Kept");  // not among the texts: left alone
}

// A hex field given an edit shows and reads its hex digits, a disk order its
// entries; a field written unless at its default compares with its own.
TEST(DidFields, EveryFormHasItsEditTextAndItsOwnDefault) {
  using enum DidForm;
  const DidField<VersionRecord> rows[] = {
      {"fixd", &VersionRecord::fixes, kHex, DidWritten::kIfNotDefault, 2, {"ED_Fixes"}, 0x05},
      {"dord", &VersionRecord::diskOrder, kDiskOrder, DidWritten::kAlways, 0, {"ED_DiskOrder"}},
  };
  const std::span<const DidField<VersionRecord>> table = rows;
  VersionRecord version;
  SetDefaults(table, version);
  EXPECT_EQ(version.fixes, 0x05);
  EXPECT_FALSE(IsWritten(rows[0], version));
  version.fixes = 0x3C;
  EXPECT_TRUE(IsWritten(rows[0], version));
  version.diskOrder[0] = 3;
  version.diskOrder[1] = 1;
  EditTexts texts = LoadEditTexts(table, version);
  EXPECT_EQ(texts["ED_Fixes"], "3C");
  EXPECT_EQ(texts["ED_DiskOrder"], "3, 1");

  texts["ED_Fixes"] = "a1";
  texts["ED_DiskOrder"] = "2 4";
  StoreEditTexts(table, texts, version);
  EXPECT_EQ(version.fixes, 0xA1);
  EXPECT_EQ(DiskCount(version.diskOrder), 2u);
  EXPECT_EQ(version.diskOrder[1], 4);
}

}  // namespace
}  // namespace moswit
