// SPDX-License-Identifier: GPL-2.0-or-later
#include "base/codepage.h"

#include <array>

namespace moswit {
namespace {

// Bytes 0x80 to 0x9F; the rest of the page is Latin-1. The undefined five
// hold their own value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

}  // namespace

bool IsUndefinedInCp1252(uint8_t byte) {
  return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

char32_t Cp1252Letter(uint8_t byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
  return byte;
}

std::optional<uint8_t> Cp1252Byte(char32_t letter) {
  if (letter < 0x80 || (letter >= 0xA0 && letter < 0x100)) return static_cast<uint8_t>(letter);
  for (size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == letter) return static_cast<uint8_t>(0x80 + i);
  }
  return std::nullopt;
}

void AppendUtf8(char32_t letter, std::string& out) {
  if (letter < 0x80) {
    out.push_back(static_cast<char>(letter));
  } else if (letter < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (letter >> 6)));
    out.push_back(static_cast<char>(0x80 | (letter & 0x3F)));
  } else if (letter < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (letter >> 12)));
    out.push_back(static_cast<char>(0x80 | ((letter >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (letter & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (letter >> 18)));
    out.push_back(static_cast<char>(0x80 | ((letter >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((letter >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (letter & 0x3F)));
  }
}

std::optional<Utf8Letter> DecodeUtf8(std::string_view text, size_t at) {
  if (at >= text.size()) return std::nullopt;
  const auto lead = static_cast<uint8_t>(text[at]);
  if (lead < 0x80) return Utf8Letter{lead, 1};
  size_t length = 0;
  char32_t letter = 0;
  char32_t least = 0;  // the smallest letter of that length: no overlong forms
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    letter = lead & 0x1F;
    least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    letter = lead & 0x0F;
    least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    letter = lead & 0x07;
    least = 0x10000;
  } else {
    return std::nullopt;
  }
  if (text.size() - at < length) return std::nullopt;
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<uint8_t>(text[at + i]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    letter = (letter << 6) | (next & 0x3F);
  }
  if (letter < least || letter > 0x10FFFF || (letter >= 0xD800 && letter < 0xE000)) {
    return std::nullopt;
  }
  return Utf8Letter{letter, length};
}

std::string Utf8FromCp1252(std::string_view text) {
  std::string utf8;
  utf8.reserve(text.size());
  for (const char c : text) AppendUtf8(Cp1252Letter(static_cast<uint8_t>(c)), utf8);
  return utf8;
}

Cp1252Text Cp1252FromUtf8(std::string_view utf8) {
  Cp1252Text out;
  out.text.reserve(utf8.size());
  size_t at = 0;
  while (at < utf8.size()) {
    // ASCII, most of every text, is the same in both.
    size_t ascii = at;
    while (ascii < utf8.size() && static_cast<uint8_t>(utf8[ascii]) < 0x80) ++ascii;
    if (ascii > at) {
      out.text.append(utf8.substr(at, ascii - at));
      at = ascii;
      continue;
    }
    const std::optional<Utf8Letter> decoded = DecodeUtf8(utf8, at);
    if (!decoded) {
      out.text.push_back(utf8[at]);
      ++at;
      continue;
    }
    at += decoded->length;
    if (const std::optional<uint8_t> byte = Cp1252Byte(decoded->letter)) {
      out.text.push_back(static_cast<char>(*byte));
    } else {
      out.text.push_back(kCp1252Replacement);
      ++out.replaced;
    }
  }
  return out;
}

}  // namespace moswit
