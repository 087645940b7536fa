// SPDX-License-Identifier: GPL-2.0-or-later
// DID texts are 8-bit bytes of one code page, Windows-1252, since DIDs come
// from Windows systems. Everything else speaks Unicode: file names (UTF-8 on
// every system Moswit writes to), terminals, the windows, DAT files. Text is
// converted where it crosses from one to the other and nowhere in between,
// so every byte of a DID survives a round trip.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace moswit {

// The five bytes Windows-1252 leaves undefined: 0x81, 0x8D, 0x8F, 0x90, 0x9D.
bool IsUndefinedInCp1252(uint8_t byte);

// The letter a byte stands for. The five undefined bytes stand for the C1
// controls of the same value (as Windows converts them), so they too come
// back as the byte they were.
char32_t Cp1252Letter(uint8_t byte);

// The byte that holds `letter`, if Windows-1252 has one.
std::optional<uint8_t> Cp1252Byte(char32_t letter);

// A DID text in UTF-8, letter for letter.
std::string Utf8FromCp1252(std::string_view text);

struct Cp1252Text {
  std::string text;     // the bytes of the DID text
  size_t replaced = 0;  // letters Windows-1252 cannot hold, each now kReplacement
};

// What replaces a letter that Windows-1252 cannot hold.
constexpr char kCp1252Replacement = '?';

// UTF-8 as a DID text. A letter Windows-1252 cannot hold becomes
// kCp1252Replacement and is counted. A byte that does not begin a valid
// UTF-8 sequence (a name written in a Latin-1 locale) is taken as the
// Windows-1252 letter of that byte, so such a name keeps its letters.
Cp1252Text Cp1252FromUtf8(std::string_view utf8);

// Appends the UTF-8 of `letter` (below 0x110000) to `out`.
void AppendUtf8(char32_t letter, std::string& out);

// Decodes the UTF-8 sequence at `text[at]`: its letter and length, or
// nothing when the bytes there are no valid, shortest-form sequence of a
// letter other than a surrogate.
struct Utf8Letter {
  char32_t letter = 0;
  size_t length = 0;
};
std::optional<Utf8Letter> DecodeUtf8(std::string_view text, size_t at);

}  // namespace moswit
