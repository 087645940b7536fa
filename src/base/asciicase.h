// SPDX-License-Identifier: GPL-2.0-or-later
// Upper-casing of a to z only: names on Amiga disks and in DID files are
// 8-bit texts whose other bytes, letters with diacritics included, keep
// their case.
#pragma once

#include <string>
#include <string_view>

namespace moswit {

constexpr char UpperAz(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = UpperAz(c);
  return upper;
}

// Whether the last characters of `text`, upper-cased, are `upperSuffix`
// (e.g. ".ADF").
inline bool EndsWithUpper(std::string_view text, std::string_view upperSuffix) {
  return text.size() >= upperSuffix.size() &&
         UpperCase(text.substr(text.size() - upperSuffix.size())) == upperSuffix;
}

}  // namespace moswit
