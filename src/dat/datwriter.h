// SPDX-License-Identifier: GPL-2.0-or-later
// Writing DATs: Logiqx XML as collection managers read it, one game per
// disk image, each with one ROM: the image's name with ".adf", its size
// and its CRC-32.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/fileerror.h"

namespace moswit {

struct DatEntry {
  std::string name;  // UTF-8, without ".adf"
  uint64_t size = 0;
  uint32_t crc = 0;
};

struct DatHeader {
  std::string name;  // UTF-8
  std::string description;
};

// The DAT's text, UTF-8, with every name XML-escaped. A control character
// XML cannot hold (any below 32 but tab) becomes '?'.
std::string FormatDat(const DatHeader& header, const std::vector<DatEntry>& entries);

// Writes FormatDat's text to `path` (a path text), replacing what is there.
std::optional<FileError> WriteDat(const std::string& path, const DatHeader& header,
                                  const std::vector<DatEntry>& entries);

}  // namespace moswit
