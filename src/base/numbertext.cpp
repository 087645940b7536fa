// SPDX-License-Identifier: GPL-2.0-or-later
#include "base/numbertext.h"

#include <array>

namespace moswit {

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";
}

uint32_t DecToInt(std::string_view text) {
  uint32_t value = 0;
  for (char c : text) {
    if (c >= '0' && c <= '9') value = value * 10u + static_cast<uint32_t>(c - '0');
  }
  return value;
}

std::string IntToDec(uint32_t value) {
  std::array<char, 10> digits{};
  size_t n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10u);
    value /= 10u;
  } while (value != 0);
  std::string text(n, '0');
  for (size_t i = 0; i < n; ++i) text[i] = digits[n - 1 - i];
  return text;
}

std::string MemToHex(const void* data, unsigned digits) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::string text(digits, '0');
  // Fill from the right: even positions from the end take the low nibble.
  for (unsigned i = 0; i < digits; ++i) {
    unsigned char b = bytes[i / 2];
    unsigned nibble = (i % 2 == 0) ? (b & 0x0Fu) : (b >> 4);
    text[digits - 1 - i] = kHexDigits[nibble];
  }
  return text;
}

std::string IntToHex(uint32_t value, unsigned digits) {
  unsigned char bytes[4] = {
      static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
      static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
  if (digits > 8) {
    std::string text(digits - 8, '0');
    return text + MemToHex(bytes, 8);
  }
  return MemToHex(bytes, digits);
}

uint32_t HexToInt(std::string_view text) {
  uint32_t value = 0;
  for (char c : text) {
    uint32_t digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<uint32_t>(c - 'A' + 10);
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<uint32_t>(c - 'a' + 10);
    } else {
      continue;
    }
    value = (value << 4) | digit;
  }
  return value;
}

}  // namespace moswit
