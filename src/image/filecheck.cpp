// SPDX-License-Identifier: GPL-2.0-or-later
#include "image/filecheck.h"

#include <cerrno>
#include <vector>

#include "base/pathtext.h"
#include "base/platformfile.h"
#include "image/crc32.h"

namespace moswit {

std::optional<FileCheck> CheckFile(const std::string& path) {
  ReadOnlyFile file;
  if (file.Open(PathFromText(path)) != 0) return std::nullopt;
  // Reused from file to file: fresh pages for every file would cost as much
  // as the reading.
  thread_local std::vector<char> buffer(size_t{1} << 20);
  FileCheck check;
  CrcInit(check.crc);
  for (;;) {
    const int64_t got = file.ReadAt(check.size, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (got == 0) break;
    CrcUpdate(check.crc, buffer.data(), static_cast<size_t>(got));
    check.size += static_cast<uint64_t>(got);
  }
  CrcFinal(check.crc);
  return check;
}

}  // namespace moswit
