// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/standardinfo.h"

namespace moswit {

StandardInfoFields LoadStandardInfo(const DatabaseInfo& database) {
  return {LoadEditTexts(FieldTable<DatabaseInfo>(), database)};
}

std::string StoreStandardInfo(const StandardInfoFields& fields, DatabaseInfo& database) {
  ReleaseDate date;
  const auto table = FieldTable<DatabaseInfo>();
  std::string error = ReadDateStrictly(DateTexts(table, fields.texts), date);
  if (!error.empty()) return error;
  StoreEditTexts(table, fields.texts, database);
  database.date = date;
  return {};
}

}  // namespace moswit
