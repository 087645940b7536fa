// Reads a DID file into a database tree.
//
// The reader is lenient: any byte sequence gives a tree. Records with no
// parent (a "version" before any "soft", a "file" outside a "disk") and
// fields deeper than a "file" or "range" are ignored, so malformed files
// never fail and never write outside a record.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "database/records.h"
#include "image/fileerror.h"

namespace moswit {

struct DidReadResult {
  std::unique_ptr<DatabaseInfo> database;  // null when the file could not be read
  FileError error;                         // why it could not be read
};

DidReadResult ReadDatabase(const std::filesystem::path& path);

// The tree of a DID text already in memory.
std::unique_ptr<DatabaseInfo> ParseDatabase(std::string_view text);

}  // namespace moswit
