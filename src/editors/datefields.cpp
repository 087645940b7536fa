// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/datefields.h"

#include <limits>

#include "base/numbertext.h"

namespace moswit {

std::optional<int32_t> StrictToInt(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  // One past the largest magnitude, so -2147483648 reads and overflow stops early.
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > kLimit) return std::nullopt;
  }
  if (!negative && magnitude == kLimit) return std::nullopt;
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

std::string InvalidIntegerMessage(std::string_view text) {
  std::string message = "'";
  message.append(text);
  message += "' is not a valid integer value";
  return message;
}

std::string ReadDateStrictly(const DateFields& fields, ReleaseDate& date) {
  const std::string* parts[] = {&fields.year, &fields.month, &fields.day};
  int32_t values[3] = {};
  for (size_t i = 0; i < 3; ++i) {
    std::optional<int32_t> value = StrictToInt(*parts[i]);
    if (!value) return InvalidIntegerMessage(*parts[i]);
    values[i] = *value;
  }
  // Cut to the widths the way a two's complement store does: -1 is all ones.
  date.year = static_cast<uint16_t>(static_cast<uint32_t>(values[0]));
  date.month = static_cast<uint8_t>(static_cast<uint32_t>(values[1]));
  date.day = static_cast<uint8_t>(static_cast<uint32_t>(values[2]));
  return {};
}

std::string FailedDateEdit(const DateFields& fields) {
  const std::pair<const std::string*, const char*> parts[] = {
      {&fields.year, "year"}, {&fields.month, "month"}, {&fields.day, "day"}};
  for (const auto& [part, name] : parts) {
    if (!StrictToInt(*part)) return std::string("Release Date (") + name + ")";
  }
  return {};
}

}  // namespace moswit
