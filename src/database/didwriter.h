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

// Why a DID is not written at `path`: not empty when something other than
// a regular file is there (a folder, device, pipe or socket; symbolic links
// followed). A DID goes to a regular file or a name not yet taken.
constexpr char kNotRegularFile[] = "not a regular file; a DID is written only to a regular file";
std::string DidTargetTrouble(const std::filesystem::path& path);

// Saves the database at `path`; returns nothing, or the path and the
// platform's message when it failed. Nothing is written when `path` names
// anything but a regular file or nothing (DidTargetTrouble). The text goes
// to a temporary file in the same folder, which is synced and read back
// before it replaces the file, so a failed save leaves the previous file as
// it was. A symbolic link is followed and stays; a file with more than one
// name (hard links) is written in place, so every name keeps it. After a
// save, `written` (when given) is the identity of the file just written.
std::optional<FileError> WriteDatabase(const DatabaseInfo& database,
                                       const std::filesystem::path& path,
                                       DidFileIdentity* written = nullptr);

}  // namespace moswit
