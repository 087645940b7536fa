// SPDX-License-Identifier: GPL-2.0-or-later
// The three date edits of the record editors (year, month, day) and the two
// ways of reading them: strictly, as the DID Editor and the Game editor do,
// where a text that is not a whole number stops the store with a message,
// and leniently, as the Version editor does, where only the digits count.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "database/didfields.h"
#include "database/records.h"

namespace moswit {

struct DateFields {
  std::string year;
  std::string month;
  std::string day;
  bool operator==(const DateFields&) const = default;
};

// The texts of the table's date edits (DateEditNames of its date row), for
// the strict read; a missing part is empty.
template <typename Record>
DateFields DateTexts(std::span<const DidField<Record>> table, const EditTexts& texts) {
  DateFields date;
  for (const DidField<Record>& field : table) {
    if (field.form != DidForm::kDate || field.edit.edit == nullptr) continue;
    const auto names = DateEditNames(field.edit);
    std::string* parts[] = {&date.year, &date.month, &date.day};
    for (size_t k = 0; k < 3; ++k) {
      const auto text = texts.find(names[k]);
      if (text != texts.end()) *parts[k] = text->second;
    }
  }
  return date;
}

// A whole decimal number with an optional sign and nothing else around it,
// within the range of a 32-bit signed integer; nothing otherwise (the empty
// text included).
std::optional<int32_t> StrictToInt(std::string_view text);

// "'abc' is not a valid integer value": the message of a failed strict read.
std::string InvalidIntegerMessage(std::string_view text);

// Reads all three parts strictly and cuts them to their widths (so 70000 as
// the year is 4464 and -1 as the day is 255). On success `date` takes the
// values and the result is empty; otherwise the result is the message for
// the first part that failed and `date` is left as it was.
std::string ReadDateStrictly(const DateFields& fields, ReleaseDate& date);

// The edit a strict read stops at, as the window labels it: "Release Date
// (year)", "(month)" or "(day)"; empty when all three read.
std::string FailedDateEdit(const DateFields& fields);

}  // namespace moswit
