// Image file names as a collector gives them on each system.
#pragma once

#include <string>

namespace moswit::test {

// The part of an image's file name that numbers disk k of a set of n (2 to
// 9): the standard name's "[k|n]", or on Windows, where '|' cannot be in a
// file name, " (Disk k of n)", which the name reader takes as well.
inline std::string DiskNumberInName(unsigned k, unsigned n) {
#ifdef _WIN32
  return " (Disk " + std::to_string(k) + " of " + std::to_string(n) + ")";
#else
  return "[" + std::to_string(k) + "|" + std::to_string(n) + "]";
#endif
}

}  // namespace moswit::test
