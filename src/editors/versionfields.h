// SPDX-License-Identifier: GPL-2.0-or-later
// What the Version editor's controls hold, and how they move to and from a
// VersionRecord. Every number is read from its digits alone and cut to its
// field's width, so storing never fails.
#pragma once

#include <string>
#include <string_view>

#include "database/didfields.h"
#include "database/records.h"
#include "editors/compatfields.h"
#include "editors/datefields.h"

namespace moswit {

struct VersionFields {
  // The edits of the version's field table: "Standard Info" and "Credits"
  // (which override the game's values where present), the texts of
  // "Version Details" and the memory amounts ED_MemC, ED_MemS, ED_MemF.
  EditTexts texts;
  std::string comment;  // M_Comment, its lines separated by line breaks

  // "Version Details"
  DateFields releaseDate;             // ED_RelYear, ED_RelMonth, ED_RelDay
  std::string trainerOpts;            // ED_TrainerOpts
  std::string trainerKeys;            // ED_TrainerKeys
  std::string parent;                 // ED_Parent
  ChipsetKind chipset = kChipsetOcs;  // RB_OCS, RB_ECS, RB_AGA
  bool fixAga = false;                // CB_AGAFix
  bool fixHd = false;                 // CB_HDFix
  bool fix680x0 = false;              // CB_680x0Fix
  // CB_En, CB_De, CB_Pl, CB_Dk, CB_Se, CB_No, CB_Nl, CB_Be, CB_OtherLang
  bool langEn = false;
  bool langDe = false;
  bool langPl = false;
  bool langDk = false;
  bool langSe = false;
  bool langNo = false;
  bool langNl = false;
  bool langBe = false;
  bool langOther = false;
  std::string diskOrder;  // ED_DiskOrder

  CompatFields compat;  // group VE_Compat
  bool operator==(const VersionFields&) const = default;
};

VersionFields LoadVersion(const VersionRecord& version);

// Writes every field from its control. Fixes, languages and each CompatInfo
// field are rebuilt from their controls alone; a chipset other than ECS or
// AGA stores OCS.
void StoreVersion(const VersionFields& fields, VersionRecord& version);

// Every non-zero entry, in entry order, joined by ", " ("3, 1, 2"); empty
// when there is none.
std::string DiskOrderText(const DiskOrder& order);

// Every run of decimal digits, in order, into the next entry from entry 0,
// each cut to 8 bits (300 gives 44); any other character only separates.
// Numbers past the 256th are dropped.
DiskOrder ReadDiskOrder(std::string_view text);

}  // namespace moswit
