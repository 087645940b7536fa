// SPDX-License-Identifier: GPL-2.0-or-later
// Writes a database tree as a DID file: one field, or one whole file or
// range record, per line, every line ending in CR LF. What is written, and
// when, is the field tables' (database/didfields.h).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "base/fileerror.h"
#include "database/didfileidentity.h"
#include "database/records.h"

namespace moswit {

// The whole DID text of the database.
std::string FormatDatabase(const DatabaseInfo& database);

// The size and CRC-32 of FormatDatabase's text, formatted a game at a time
// so that a large database's text is never held whole.
DidDigest DigestDatabase(const DatabaseInfo& database);

// Saves the database at `path`; returns nothing, or the path and the
// platform's message when it failed. The text goes to a temporary file
// in the same folder, which is flushed and then renamed over the target, so
// a failed save leaves the previous file as it was. After a save,
// `written` (when given) is the identity of the file just written.
std::optional<FileError> WriteDatabase(const DatabaseInfo& database,
                                       const std::filesystem::path& path,
                                       DidFileIdentity* written = nullptr);

}  // namespace moswit
