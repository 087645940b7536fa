// SPDX-License-Identifier: GPL-2.0-or-later
// What the DID reader passed over without understanding it, and the warning
// the DID Editor, the Renamer and moswit-cli show for it.
//
// The reader takes any bytes; a file that is not a DID at all still gives a
// (mostly empty) database. Counting what it left out lets a window say so
// before that database is written over the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace moswit {

struct DidSkips {
  // The longest piece of the first line kept; the warning shows less.
  static constexpr size_t kTextLimit = 200;

  uint64_t count = 0;      // tokens passed over
  uint64_t firstLine = 0;  // 1-based line of the first; 0 when nothing was
  std::string firstText;   // that line as read, cut to kTextLimit bytes

  bool Any() const { return count != 0; }
  // Counts one more; the first one's line is kept.
  void Note(uint64_t line, std::string_view lineText);
  bool operator==(const DidSkips&) const = default;
};

// "PATH: 137 parts of the file were not understood and are left out, the
// first on line 1: "..."": the line cut to a short excerpt, its control and
// non-ASCII bytes shown as "?". Empty when nothing was skipped.
std::string DidSkipWarning(std::string_view path, const DidSkips& skips);

}  // namespace moswit
