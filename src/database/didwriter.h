// Writes a database tree as a DID file: one field, or one whole "file" or
// "range" record, per line, every line ending in CR LF.
#pragma once

#include <filesystem>
#include <string>

#include "database/records.h"

namespace moswit {

// The whole DID text of the database.
std::string FormatDatabase(const DatabaseInfo& database);

// Saves the database at `path` and returns the empty text, or the platform's
// message (with the path) when it failed. The text goes to a temporary file
// in the same folder, which is flushed and then renamed over the target, so
// a failed save leaves the previous file as it was.
std::string WriteDatabase(const DatabaseInfo& database, const std::filesystem::path& path);

}  // namespace moswit
