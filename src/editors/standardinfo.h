// SPDX-License-Identifier: GPL-2.0-or-later
// The "Standard Info" group of the DID Editor: the database's name, creator
// and date, and the Save that stores them before writing the DID file.
#pragma once

#include <string>

#include "database/didfields.h"
#include "database/records.h"
#include "editors/datefields.h"

namespace moswit {

struct StandardInfoFields {
  // The edits of the info record's field table: ED_Name, ED_Creator and the
  // date's ED_RelYear, ED_RelMonth and ED_RelDay.
  EditTexts texts;
  bool operator==(const StandardInfoFields&) const = default;
};

StandardInfoFields LoadStandardInfo(const DatabaseInfo& database);

// Stores all fields, or none: the date is read strictly first, and when a
// part is not a whole number the result is its message and the database is
// left as it was. Empty on success.
std::string StoreStandardInfo(const StandardInfoFields& fields, DatabaseInfo& database);

}  // namespace moswit
