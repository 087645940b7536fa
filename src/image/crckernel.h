// SPDX-License-Identifier: GPL-2.0-or-later
// The building blocks of the CRC-32 code, shared by CrcUpdate (crc32.cpp)
// and the block pass (blockcrcs.cpp): the slicing tables and, on x86-64,
// folding by carry-less multiplication. All of it works on the raw register
// (CrcInit's value before the first byte, complemented by CrcFinal after).
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define MOSWIT_CRC_CLMUL 1
#define MOSWIT_CLMUL_TARGET __attribute__((target("pclmul,sse4.1")))
#include <immintrin.h>
#endif

namespace moswit::crc {

constexpr uint32_t kPolynomial = 0xEDB88320u;

// kTables[0][i] is the CRC register after feeding byte i into a zero
// register; kTables[k][i] is the same followed by k zero bytes. Slicing
// by 16 looks up each of 16 input bytes in the table for its distance from
// the end of the block and combines the results.
using Tables = std::array<std::array<uint32_t, 256>, 16>;

constexpr Tables MakeTables() {
  Tables tables{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1u) ? (c >> 1) ^ kPolynomial : (c >> 1);
    tables[0][i] = c;
  }
  for (size_t k = 1; k < tables.size(); ++k) {
    for (size_t i = 0; i < 256; ++i) {
      const uint32_t prev = tables[k - 1][i];
      tables[k][i] = (prev >> 8) ^ tables[0][prev & 0xFFu];
    }
  }
  return tables;
}

inline constexpr Tables kTables = MakeTables();

inline uint64_t Load64Le(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) {
    uint64_t r = 0;
    for (int i = 0; i < 8; ++i) r |= uint64_t{p[i]} << (8 * i);
    v = r;
  }
  return v;
}

// The eight table lookups for the 8 bytes of `v`, the first of which is
// `distance` + 7 bytes from the end of the block.
inline uint32_t Slice8(uint64_t v, size_t distance) {
  return kTables[distance + 7][v & 0xFFu] ^ kTables[distance + 6][(v >> 8) & 0xFFu] ^
         kTables[distance + 5][(v >> 16) & 0xFFu] ^ kTables[distance + 4][(v >> 24) & 0xFFu] ^
         kTables[distance + 3][(v >> 32) & 0xFFu] ^ kTables[distance + 2][(v >> 40) & 0xFFu] ^
         kTables[distance + 1][(v >> 48) & 0xFFu] ^ kTables[distance][v >> 56];
}

#ifdef MOSWIT_CRC_CLMUL

// Folding: the data is kept as 128-bit lanes; each step multiplies a lane
// (carry-less) by x^(d+32) and x^(d-32) mod P, d the distance in bits it
// moves forward, and adds the data there, which leaves the CRC unchanged.
// In the bit-reflected domain every constant is (x^n mod P), reflected,
// shifted left by 1; the low half holds x^(d+32).
MOSWIT_CLMUL_TARGET inline __m128i FoldBy64Bytes() {
  return _mm_set_epi64x(0x1c6e41596, 0x154442bd4);
}
MOSWIT_CLMUL_TARGET inline __m128i FoldBy48Bytes() {
  return _mm_set_epi64x(0x174359406, 0x3db1ecdc);
}
MOSWIT_CLMUL_TARGET inline __m128i FoldBy32Bytes() {
  return _mm_set_epi64x(0x15a546366, 0xf1da05aa);
}
MOSWIT_CLMUL_TARGET inline __m128i FoldBy16Bytes() {
  return _mm_set_epi64x(0x0ccaa009e, 0x1751997d0);
}

MOSWIT_CLMUL_TARGET inline __m128i Load128(const uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

MOSWIT_CLMUL_TARGET inline __m128i Fold(__m128i lane, __m128i k, __m128i next) {
  const __m128i low = _mm_clmulepi64_si128(lane, k, 0x00);
  const __m128i high = _mm_clmulepi64_si128(lane, k, 0x11);
  return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

// Four lanes holding 64 consecutive bytes, the last lane last, folded into
// one at once.
MOSWIT_CLMUL_TARGET inline __m128i FoldLanes(__m128i x0, __m128i x1, __m128i x2, __m128i x3) {
  return _mm_xor_si128(Fold(x0, FoldBy48Bytes(), Fold(x2, FoldBy16Bytes(), x3)),
                       Fold(x1, FoldBy32Bytes(), _mm_setzero_si128()));
}

// The register after the last 16 bytes of data, held folded in `x`.
MOSWIT_CLMUL_TARGET inline uint32_t Reduce(__m128i x) {
  // x^64: 96 bits down to 64.
  const __m128i k_64 = _mm_set_epi64x(0, 0x163cd6124);
  // The polynomial P and floor(x^64 / P), both reflected, for Barrett.
  const __m128i k_barrett = _mm_set_epi64x(0x1f7011641, 0x1db710641);
  const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);
  // 128 bits to 96: the low half times x^(128-32) plus the high half.
  x = _mm_xor_si128(_mm_clmulepi64_si128(x, FoldBy16Bytes(), 0x10), _mm_srli_si128(x, 8));
  // 96 bits to 64: the low 32 bits times x^64 plus the rest.
  x = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x, low32), k_64, 0x00),
                    _mm_srli_si128(x, 4));
  __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x, low32), k_barrett, 0x10);
  t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), k_barrett, 0x00);
  return static_cast<uint32_t>(_mm_extract_epi32(_mm_xor_si128(x, t), 1));
}

// Reduce by table lookups instead of multiplications: the folded lane is
// the last 16 bytes of data with the register at zero. Where many short
// pieces are folded this keeps four multiplications per piece off the
// multiplier, the bottleneck.
MOSWIT_CLMUL_TARGET inline uint32_t ReduceBySlicing(__m128i x) {
  return Slice8(static_cast<uint64_t>(_mm_cvtsi128_si64(x)), 8) ^
         Slice8(static_cast<uint64_t>(_mm_extract_epi64(x, 1)), 0);
}

#endif  // MOSWIT_CRC_CLMUL

}  // namespace moswit::crc
