// SPDX-License-Identifier: GPL-2.0-or-later
// Copies and hard links that never replace a file: a copy is written to a
// temporary file beside its destination, read back and compared with the
// source, and only then renamed into place.
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

namespace moswit {

struct FileCheck {
  uint64_t size = 0;
  uint32_t crc = 0;
  bool operator==(const FileCheck&) const = default;
};

// The size and CRC-32 of the file; nothing when it cannot be read.
std::optional<FileCheck> CheckFile(const std::string& path);

// How a copy reads back what it wrote and how a hard link is made; tests
// put their own in to make a read-back differ or a link fail.
struct FileSeams {
  std::function<std::optional<FileCheck>(const std::string& path)> readBack = CheckFile;
  std::function<void(const std::string& from, const std::string& to, std::error_code& error)>
      hardLink = [](const std::string& from, const std::string& to, std::error_code& error) {
        std::filesystem::create_hard_link(PathFromText(from), PathFromText(to), error);
      };
};

// Whether the two files hold the same bytes; nothing, with `error` set,
// when one of them cannot be read.
std::optional<bool> SameContents(const std::string& a, const std::string& b, FileError& error);

// Copies `source` to `destination` (its folder must exist). kExists when
// something is at `destination` before the copy is renamed there: nothing
// is written to it. A copy whose size or CRC-32 read back differ from the
// source's is removed (kFailed), as is one that cannot be finished.
PlaceOutcome CopyVerified(const std::string& source, const std::string& destination,
                          const FileSeams& seams, FileError& error);

// Writes `contents` to `destination` as CopyVerified copies a file: through
// a temporary file, read back and compared, never replacing one.
PlaceOutcome WriteVerified(std::span<const uint8_t> contents, const std::string& destination,
                           const FileSeams& seams, FileError& error);

// Whether the file holds exactly `contents`; nothing, with `error` set, when
// it cannot be read.
std::optional<bool> FileHolds(const std::string& path, std::span<const uint8_t> contents,
                              FileError& error);

// A hard link at `destination` to `source`. kExists as for the copy;
// kFailed when the system cannot link the two, e.g. on two file systems.
PlaceOutcome LinkNoReplace(const std::string& source, const std::string& destination,
                           const FileSeams& seams, FileError& error);

}  // namespace moswit
