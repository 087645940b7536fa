#include "image/crc32.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define MOSWIT_CRC_CLMUL 1
#include <immintrin.h>
#endif

namespace moswit {

namespace {

constexpr uint32_t kPolynomial = 0xEDB88320u;

// kTables[0][i] is the CRC register after feeding byte i into a zero
// register; kTables[k][i] is the same followed by k zero bytes. Slicing
// by 16 looks up each of 16 input bytes in the table for its distance from
// the end of the block and combines the results.
using CrcTables = std::array<std::array<uint32_t, 256>, 16>;

constexpr CrcTables MakeTables() {
  CrcTables tables{};
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

constexpr CrcTables kTables = MakeTables();

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

inline uint32_t Bytewise(uint32_t c, const uint8_t* p, size_t length) {
  for (size_t i = 0; i < length; ++i) c = kTables[0][(c ^ p[i]) & 0xFFu] ^ (c >> 8);
  return c;
}

// The eight table lookups for the 8 bytes of `v`, the first of which is
// `distance` + 7 bytes from the end of the block.
inline uint32_t Slice8(uint64_t v, size_t distance) {
  return kTables[distance + 7][v & 0xFFu] ^ kTables[distance + 6][(v >> 8) & 0xFFu] ^
         kTables[distance + 5][(v >> 16) & 0xFFu] ^ kTables[distance + 4][(v >> 24) & 0xFFu] ^
         kTables[distance + 3][(v >> 32) & 0xFFu] ^ kTables[distance + 2][(v >> 40) & 0xFFu] ^
         kTables[distance + 1][(v >> 48) & 0xFFu] ^ kTables[distance][v >> 56];
}

// The last 0 to 7 bytes: their lookups are independent of each other, so
// they overlap instead of forming a chain as in the bytewise loop.
inline uint32_t SliceTail(uint32_t c, const uint8_t* p, size_t length) {
  uint64_t v = 0;
  for (size_t i = 0; i < length; ++i) v |= uint64_t{p[i]} << (8 * i);
  v ^= c;
  // Register bytes beyond the data move down unchanged.
  uint32_t r = length < 4 ? static_cast<uint32_t>(uint64_t{c} >> (8 * length)) : 0u;
  for (size_t i = 0; i < length; ++i) r ^= kTables[length - 1 - i][(v >> (8 * i)) & 0xFFu];
  return r;
}

uint32_t UpdateSlicing(uint32_t c, const uint8_t* p, size_t length) {
  if (length >= 16) {
    // The lookups for the second half of a 16-byte block do not depend on
    // the register, so they are done one block ahead: the chain through the
    // register then holds only the eight lookups of the first half.
    uint32_t high = Slice8(Load64Le(p + 8), 0);
    while (length >= 32) {
      const uint32_t next_high = Slice8(Load64Le(p + 24), 0);
      c = high ^ Slice8(Load64Le(p) ^ c, 8);
      high = next_high;
      p += 16;
      length -= 16;
    }
    c = high ^ Slice8(Load64Le(p) ^ c, 8);
    p += 16;
    length -= 16;
  }
  if (length >= 8) {
    c = Slice8(Load64Le(p) ^ c, 0);
    p += 8;
    length -= 8;
  }
  return SliceTail(c, p, length);
}

#ifdef MOSWIT_CRC_CLMUL

// Folding needs 64 bytes to fill its four lanes; from there on it is already
// about twice as fast as slicing despite the fixed cost of the reduction.
constexpr size_t kClmulMinLength = 64;

// Folding: the data is kept as four 128-bit lanes; each step multiplies a
// lane (carry-less) by x^(512±32) mod P and adds the next 64 bytes, which
// leaves the CRC unchanged. The lanes are then folded into one, reduced to
// 64 bits and finally to 32 bits by Barrett reduction. In the bit-reflected
// domain every constant below is (x^n mod P), reflected, shifted left by 1.
__attribute__((target("pclmul,sse4.1"))) inline __m128i Fold(__m128i lane, __m128i k,
                                                              __m128i next) {
  const __m128i low = _mm_clmulepi64_si128(lane, k, 0x00);
  const __m128i high = _mm_clmulepi64_si128(lane, k, 0x11);
  return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

// Consumes a multiple of 16 bytes (at least 64) and returns the register.
__attribute__((target("pclmul,sse4.1"))) uint32_t UpdateClmul(uint32_t crc, const uint8_t* p,
                                                             size_t length) {
  const auto load = [](const uint8_t* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  };
  // x^(4·128+32) and x^(4·128−32): fold a lane 64 bytes forward.
  const __m128i k_fold4 = _mm_set_epi64x(0x1c6e41596, 0x154442bd4);
  // x^(128+32) and x^(128−32): fold a lane 16 bytes forward.
  const __m128i k_fold1 = _mm_set_epi64x(0x0ccaa009e, 0x1751997d0);
  // x^64: 96 bits down to 64.
  const __m128i k_64 = _mm_set_epi64x(0, 0x163cd6124);
  // The polynomial P and floor(x^64 / P), both reflected, for Barrett.
  const __m128i k_barrett = _mm_set_epi64x(0x1f7011641, 0x1db710641);
  const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);

  __m128i x0 = _mm_xor_si128(load(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
  __m128i x1 = load(p + 16);
  __m128i x2 = load(p + 32);
  __m128i x3 = load(p + 48);
  p += 64;
  length -= 64;

  while (length >= 64) {
    x0 = Fold(x0, k_fold4, load(p));
    x1 = Fold(x1, k_fold4, load(p + 16));
    x2 = Fold(x2, k_fold4, load(p + 32));
    x3 = Fold(x3, k_fold4, load(p + 48));
    p += 64;
    length -= 64;
  }

  __m128i x = Fold(x0, k_fold1, x1);
  x = Fold(x, k_fold1, x2);
  x = Fold(x, k_fold1, x3);
  while (length >= 16) {
    x = Fold(x, k_fold1, load(p));
    p += 16;
    length -= 16;
  }

  // 128 bits to 96: the low half times x^(128-32) plus the high half.
  x = _mm_xor_si128(_mm_clmulepi64_si128(x, k_fold1, 0x10), _mm_srli_si128(x, 8));
  // 96 bits to 64: the low 32 bits times x^64 plus the rest.
  x = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x, low32), k_64, 0x00),
                    _mm_srli_si128(x, 4));
  // Barrett reduction to 32 bits.
  __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x, low32), k_barrett, 0x10);
  t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), k_barrett, 0x00);
  return static_cast<uint32_t>(_mm_extract_epi32(_mm_xor_si128(x, t), 1));
}

bool DetectClmul() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
}

bool HaveClmul() {
  static const bool have = DetectClmul();
  return have;
}

#endif  // MOSWIT_CRC_CLMUL

}  // namespace

void CrcInit(uint32_t& accumulator) { accumulator = 0xFFFFFFFFu; }

void CrcUpdateBytewise(uint32_t& accumulator, const void* data, size_t length) {
  accumulator = Bytewise(accumulator, static_cast<const uint8_t*>(data), length);
}

void CrcUpdatePortable(uint32_t& accumulator, const void* data, size_t length) {
  accumulator = UpdateSlicing(accumulator, static_cast<const uint8_t*>(data), length);
}

void CrcUpdate(uint32_t& accumulator, const void* data, size_t length) {
  const auto* p = static_cast<const uint8_t*>(data);
  uint32_t c = accumulator;
#ifdef MOSWIT_CRC_CLMUL
  if (length >= kClmulMinLength && HaveClmul()) {
    const size_t folded = length & ~size_t{15};
    c = UpdateClmul(c, p, folded);
    p += folded;
    length -= folded;
  }
#endif
  accumulator = UpdateSlicing(c, p, length);
}

bool CrcUsesClmul() {
#ifdef MOSWIT_CRC_CLMUL
  return HaveClmul();
#else
  return false;
#endif
}

void CrcFinal(uint32_t& accumulator) { accumulator = ~accumulator; }

uint32_t Crc32(std::span<const uint8_t> bytes) {
  uint32_t acc;
  CrcInit(acc);
  CrcUpdate(acc, bytes.data(), bytes.size());
  CrcFinal(acc);
  return acc;
}

}  // namespace moswit
