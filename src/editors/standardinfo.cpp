// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/standardinfo.h"

namespace moswit {

StandardInfoFields LoadStandardInfo(const DatabaseInfo& database) {
  return {LoadEditTexts(FieldTable<DatabaseInfo>(), database), LoadDateFields(database.date)};
}

std::string StoreStandardInfo(const StandardInfoFields& fields, DatabaseInfo& database) {
  ReleaseDate date;
  std::string error = ReadDateStrictly(fields.date, date);
  if (!error.empty()) return error;
  StoreEditTexts(FieldTable<DatabaseInfo>(), fields.texts, database);
  database.date = date;
  return {};
}

}  // namespace moswit
