// SPDX-License-Identifier: GPL-2.0-or-later
// The size and CRC-32 of a file's bytes: what a scan keeps of each image
// file it identified, and what a copy of that file must read back as.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace moswit {

struct FileCheck {
  uint64_t size = 0;
  uint32_t crc = 0;
  bool operator==(const FileCheck&) const = default;
};

// The size and CRC-32 of the file at `path`; nothing when it cannot be read.
std::optional<FileCheck> CheckFile(const std::string& path);

}  // namespace moswit
