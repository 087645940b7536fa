// SPDX-License-Identifier: GPL-2.0-or-later
#include "collection/destinationname.h"

#include "base/codepage.h"

namespace moswit {

std::string CleanFileName(std::string_view name) {
  std::string clean(name);
  for (char& c : clean) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte == 0x7F || IsUndefinedInCp1252(byte) ||
        std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
      c = '_';
    }
  }
  while (!clean.empty() && (clean.back() == '.' || clean.back() == ' ')) clean.pop_back();
  if (clean.empty()) clean = "_";
  return clean;
}

std::string DestinationName(const DiskEntry& entry, std::string_view ending) {
  if (entry.status == DiskStatus::kHave) {
    return Utf8FromCp1252(CleanFileName(entry.name)) + std::string(ending);
  }
  return std::string(kPartialFolder) + "/" +
         Utf8FromCp1252(CleanFileName(entry.name + entry.codes)) + std::string(ending);
}

}  // namespace moswit
