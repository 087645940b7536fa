// SPDX-License-Identifier: GPL-2.0-or-later
// Reads a DID file into a database tree.
//
// The reader is lenient: any byte sequence gives a tree. Records with no
// parent (a version before any game, a file outside a disk) and fields
// deeper than a file or range record are ignored, so malformed files
// never fail and never write outside a record. What it ignores is counted
// (DidSkips): unknown keywords and the words after them, keywords of
// another record, records without a parent, tokens where no record is open,
// a "(" that opens no record and a ")" that closes none; and texts longer
// than a record holds, which are kept cut to 255 bytes. Every text the
// writer produces reads without a skip. A UTF-8 byte order mark at the
// start of the text is passed over.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "base/fileerror.h"
#include "database/didfileidentity.h"
#include "database/didskips.h"
#include "database/records.h"

namespace moswit {

struct DidReadResult {
  std::unique_ptr<DatabaseInfo> database;  // null when the file could not be read
  FileError error;                         // why it could not be read
  DidSkips skips;                          // what the database leaves out
  DidFileIdentity identity;                // the bytes read
};

DidReadResult ReadDatabase(const std::filesystem::path& path);

// The tree of a DID text already in memory; `skips`, when given, gets what
// it leaves out.
std::unique_ptr<DatabaseInfo> ParseDatabase(std::string_view text, DidSkips* skips = nullptr);

}  // namespace moswit
