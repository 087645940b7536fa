// SPDX-License-Identifier: GPL-2.0-or-later
// Copies and hard links that never replace a file: a copy is written to a
// temporary file beside its destination, read back and compared with what
// the scan identified, and only then renamed into place.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <system_error>

#include "base/fileerror.h"
#include "base/pathtext.h"
#include "collection/noreplace.h"
#include "image/filecheck.h"

namespace moswit {

// How a copy reads back what it wrote and how a hard link is made; tests
// put their own in to make a read-back differ or a link fail.
struct FileSeams {
  std::function<std::optional<FileCheck>(const std::string& path)> readBack = CheckFile;
  std::function<void(const std::string& from, const std::string& to, std::error_code& error)>
      hardLink = [](const std::string& from, const std::string& to, std::error_code& error) {
        std::filesystem::create_hard_link(PathFromText(from), PathFromText(to), error);
      };
};

// Why a source is not copied or linked, after its path and ": ".
constexpr char kChangedSinceScan[] =
    "the file changed after the scan identified it, so it is left out";

// Whether the two files hold the same bytes; nothing, with `error` set,
// when one of them cannot be read.
std::optional<bool> SameContents(const std::string& a, const std::string& b, FileError& error);

// Copies `source` to `destination` (its folder must exist), with the
// source's modification time. kExists when something is at `destination`
// before the copy is renamed there: nothing is written to it. A copy is
// removed (kFailed) when the source as read is not the file `expected`
// describes (when given: what the scan identified), when its size or
// CRC-32 read back differ from what was read, or when it cannot be
// finished.
PlaceOutcome CopyVerified(const std::string& source, const std::string& destination,
                          const FileSeams& seams, FileError& error,
                          const std::optional<FileCheck>& expected = std::nullopt);

// Writes `contents`, the image of a member of the archive `source`, to
// `destination` as CopyVerified copies a file: through a temporary file,
// checked against `expected` (the member as the scan identified it) and
// read back, with the archive's time, never replacing a file.
PlaceOutcome WriteVerified(std::span<const uint8_t> contents, const std::string& source,
                           const std::string& destination, const FileSeams& seams, FileError& error,
                           const std::optional<FileCheck>& expected = std::nullopt);

// Whether the file holds exactly `contents`; nothing, with `error` set, when
// it cannot be read.
std::optional<bool> FileHolds(const std::string& path, std::span<const uint8_t> contents,
                              FileError& error);

// A hard link at `destination` to the file `source` names, symbolic links
// resolved, so a relative link never dangles there. kExists as for the
// copy; kFailed when the system cannot link the two, e.g. on two file
// systems, or when the file linked is not the one `expected` describes
// (then the link is taken away again).
PlaceOutcome LinkNoReplace(const std::string& source, const std::string& destination,
                           const FileSeams& seams, FileError& error,
                           const std::optional<FileCheck>& expected = std::nullopt);

// The temporary files copies are written to are named
// ".moswit-MACHINE-PROCESS-N.tmp" (MACHINE 8 hex digits of the machine's
// name, PROCESS this process's id), so one left by a run that was killed is
// told from one a running copy still writes. Removes those in `folder` left
// by processes of this machine that no longer run; returns how many.
size_t RemoveLeftoverTemporaries(const std::string& folder);

}  // namespace moswit
