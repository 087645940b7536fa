// SPDX-License-Identifier: GPL-2.0-or-later
// Image file names as a collector gives them on each system.
#pragma once

#include <string>

namespace moswit::test {

// The part of an image's file name that numbers disk k of a set of n (2 to
// 9): the standard name's "[k|n]", or on Windows, where '|' cannot be in a
// file name, "[k_n]", as organize names its copies and the name reader
// takes as well.
inline std::string DiskNumberInName(unsigned k, unsigned n) {
#ifdef _WIN32
  const char bar = '_';
#else
  const char bar = '|';
#endif
  return "[" + std::to_string(k) + bar + std::to_string(n) + "]";
}

}  // namespace moswit::test
