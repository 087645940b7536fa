// SPDX-License-Identifier: GPL-2.0-or-later
// Number texts used by DID files and the editors: lenient readers that skip
// every character that is not a digit, and fixed-width writers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace moswit {

// Every decimal digit in order, other characters skipped; wraps modulo 2^32.
uint32_t DecToInt(std::string_view text);

// Unsigned decimal, no sign, no leading zeros; 0 gives "0".
std::string IntToDec(uint32_t value);

// Exactly `digits` upper-case hex digits of the little-endian number at
// `data`: the last digit is the low nibble of the first byte. Reads
// (digits + 1) / 2 bytes.
std::string MemToHex(const void* data, unsigned digits);

// MemToHex over the little-endian bytes of `value`, whatever the host order:
// IntToHex(0xABCD, 8) is "0000ABCD", IntToHex(880, 3) is "370".
std::string IntToHex(uint32_t value, unsigned digits);

// Every character 0-9, A-F or a-f in order, others skipped; wraps modulo 2^32.
uint32_t HexToInt(std::string_view text);

}  // namespace moswit
