#include "editors/standardinfo.h"

#include "database/didwriter.h"

namespace moswit {

StandardInfoFields LoadStandardInfo(const DatabaseInfo& database) {
  return {LoadText(database.name), LoadText(database.creator), LoadDateFields(database.date)};
}

std::string StoreStandardInfo(const StandardInfoFields& fields, DatabaseInfo& database) {
  ReleaseDate date;
  std::string error = ReadDateStrictly(fields.date, date);
  if (!error.empty()) return error;
  StoreText(database.creator, fields.creator);
  StoreText(database.name, fields.name);
  database.date = date;
  return {};
}

std::string StoreAndWrite(const StandardInfoFields& fields, DatabaseInfo& database,
                          const std::filesystem::path& path) {
  std::string error = StoreStandardInfo(fields, database);
  if (!error.empty()) return error;
  std::optional<FileError> failed = WriteDatabase(database, path);
  return failed ? FormatFileError(*failed) : std::string();
}

}  // namespace moswit
