// SPDX-License-Identifier: GPL-2.0-or-later
#include "database/didskips.h"

namespace moswit {

namespace {

constexpr size_t kExcerptLength = 60;

// The line as one short run of printable ASCII: tabs become blanks, other
// control and 8-bit bytes "?", so any terminal and message box shows it.
std::string Excerpt(std::string_view line) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!line.empty() && blank(line.front())) line.remove_prefix(1);
  while (!line.empty() && blank(line.back())) line.remove_suffix(1);
  const bool cut = line.size() > kExcerptLength;
  if (cut) line = line.substr(0, kExcerptLength);
  std::string text;
  text.reserve(line.size() + 3);
  for (char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    text += c == '\t' ? ' ' : (byte >= 32 && byte < 127 ? c : '?');
  }
  if (cut) text += "...";
  return text;
}

}  // namespace

void DidSkips::Note(uint64_t line, std::string_view lineText) {
  if (count++ != 0) return;
  firstLine = line;
  firstText = lineText.substr(0, kTextLimit);
}

std::string DidSkipWarning(std::string_view path, const DidSkips& skips) {
  if (!skips.Any()) return {};
  std::string text(path);
  text += ": ";
  text += std::to_string(skips.count);
  text += skips.count == 1 ? " part of the file was not understood and is left out, on line "
                           : " parts of the file were not understood and are left out, the "
                             "first on line ";
  text += std::to_string(skips.firstLine);
  text += ": \"" + Excerpt(skips.firstText) + "\"";
  return text;
}

}  // namespace moswit
