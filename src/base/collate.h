// SPDX-License-Identifier: GPL-2.0-or-later
// The locale-aware, case-sensitive order of 8-bit texts in which lists and
// trees are sorted (the C library's strcoll under LC_COLLATE); texts that
// collate alike keep byte order, so the order is total.
#pragma once

#include <cstring>
#include <string>

namespace moswit {

inline bool CollateLess(const std::string& a, const std::string& b) {
  const int order = std::strcoll(a.c_str(), b.c_str());
  return order != 0 ? order < 0 : a < b;
}

}  // namespace moswit
