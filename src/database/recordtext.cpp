// SPDX-License-Identifier: GPL-2.0-or-later
#include "database/recordtext.h"

#include <cstring>
#include <utility>

namespace moswit {

void RecordText::Store(std::string_view value) {
  if (value.size() > kMaxLength) value = value.substr(0, kMaxLength);
  if (value.empty()) {
    data_.reset();
    return;
  }
  auto data = std::make_unique_for_overwrite<char[]>(value.size() + 1);
  data[0] = static_cast<char>(static_cast<unsigned char>(value.size()));
  char* out = data.get() + 1;
  char* end = out + value.size();
  std::memcpy(out, value.data(), value.size());
  // Found with memchr: most texts hold none of them.
  for (const auto& [from, to] : {std::pair{'"', '\''}, {'\r', ' '}, {'\n', ' '}}) {
    for (char* at = out; (at = static_cast<char*>(
                              std::memchr(at, from, static_cast<size_t>(end - at)))) != nullptr;) {
      *at++ = to;
    }
  }
  data_ = std::move(data);
}

void StoreText(RecordText& text, std::string_view value) { text.Store(value); }

std::string LoadText(const RecordText& text) { return std::string(text.Value()); }

std::string JoinLines(std::span<const std::string> lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (!text.empty()) text.push_back(' ');
    text += line;
  }
  return text;
}

}  // namespace moswit
