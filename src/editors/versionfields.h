// SPDX-License-Identifier: GPL-2.0-or-later
// What the Version editor's controls hold, and how they move to and from a
// VersionRecord. Every number is read from its digits alone and cut to its
// field's width, so storing never fails.
#pragma once

#include <string>

#include "database/didfields.h"
#include "database/packedfields.h"
#include "database/records.h"

namespace moswit {

struct VersionFields {
  // The edits of the version's field table: "Standard Info" and "Credits"
  // (which override the game's values where present), the texts of
  // "Version Details", the memory amounts ED_MemC, ED_MemS, ED_MemF, the
  // disk order ED_DiskOrder and the release date's ED_RelYear, ED_RelMonth
  // and ED_RelDay (read from their digits alone).
  EditTexts texts;
  std::string comment;  // M_Comment, its lines separated by line breaks

  // "Version Details"
  std::string parent;  // ED_Parent
  // The controls of the version's packed table: trainer counts, chipset,
  // fixes and languages.
  PackedControls details;

  PackedControls compat;  // group VE_Compat, the controls of CompatInfo's packed table
  bool operator==(const VersionFields&) const = default;
};

VersionFields LoadVersion(const VersionRecord& version);

// Writes every field from its control. The trainer counts, the chipset, the
// fixes, the languages and each CompatInfo field are rebuilt from their
// controls alone; a chipset other than ECS or AGA stores OCS.
void StoreVersion(const VersionFields& fields, VersionRecord& version);

}  // namespace moswit
