// SPDX-License-Identifier: GPL-2.0-or-later
#include "image/crc32.h"

#include "image/crckernel.h"

namespace moswit {

namespace {

using crc::kPolynomial;
using crc::kTables;
using crc::Load64Le;
using crc::Slice8;

inline uint32_t Bytewise(uint32_t c, const uint8_t* p, size_t length) {
  for (size_t i = 0; i < length; ++i) c = kTables[0][(c ^ p[i]) & 0xFFu] ^ (c >> 8);
  return c;
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

// Consumes a multiple of 16 bytes (at least 64) and returns the register.
MOSWIT_CLMUL_TARGET uint32_t UpdateClmul(uint32_t crc, const uint8_t* p, size_t length) {
  using crc::Fold;
  using crc::Load128;
  const __m128i k_fold4 = crc::FoldBy64Bytes();
  const __m128i k_fold1 = crc::FoldBy16Bytes();

  __m128i x0 = _mm_xor_si128(Load128(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
  __m128i x1 = Load128(p + 16);
  __m128i x2 = Load128(p + 32);
  __m128i x3 = Load128(p + 48);
  p += 64;
  length -= 64;

  while (length >= 64) {
    x0 = Fold(x0, k_fold4, Load128(p));
    x1 = Fold(x1, k_fold4, Load128(p + 16));
    x2 = Fold(x2, k_fold4, Load128(p + 32));
    x3 = Fold(x3, k_fold4, Load128(p + 48));
    p += 64;
    length -= 64;
  }

  __m128i x = Fold(x0, k_fold1, x1);
  x = Fold(x, k_fold1, x2);
  x = Fold(x, k_fold1, x3);
  while (length >= 16) {
    x = Fold(x, k_fold1, Load128(p));
    p += 16;
    length -= 16;
  }
  return crc::Reduce(x);
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

namespace {

// Polynomials modulo P in the reflected form of the register: bit 31 is
// the coefficient of x^0, bit 0 that of x^31.
constexpr uint32_t kOne = 0x80000000u;

constexpr uint32_t MultiplyModP(uint32_t a, uint32_t b) {
  uint32_t product = 0;
  for (uint32_t bit = kOne; bit != 0; bit >>= 1) {
    if (a & bit) product ^= b;
    b = (b & 1u) ? (b >> 1) ^ kPolynomial : b >> 1;  // b times x
  }
  return product;
}

// x^(8 * length) mod P, by squaring.
constexpr uint32_t PowerOfByteShift(uint64_t length) {
  uint32_t result = kOne;
  uint32_t square = kOne >> 8;  // x^8
  for (; length != 0; length >>= 1) {
    if (length & 1u) result = MultiplyModP(result, square);
    square = MultiplyModP(square, square);
  }
  return result;
}

// Multiplying by a fixed power is linear, so it is the sum of its values
// for each byte of the register on its own.
constexpr CrcShift::Tables ShiftTables(uint64_t length) {
  const uint32_t power = PowerOfByteShift(length);
  CrcShift::Tables tables{};
  for (unsigned k = 0; k < 4; ++k) {
    for (uint32_t v = 0; v < 256; ++v) tables[k][v] = MultiplyModP(power, v << (8 * k));
  }
  return tables;
}

}  // namespace

uint32_t CrcCombine(uint32_t crcA, uint32_t crcB, uint64_t lengthB) {
  return MultiplyModP(PowerOfByteShift(lengthB), crcA) ^ crcB;
}

CrcShift::CrcShift(uint64_t lengthB) : tables_(ShiftTables(lengthB)) {}

constinit const CrcShift kCrcShift512{ShiftTables(512)};
constinit const CrcShift kCrcShift488{ShiftTables(488)};
constinit const CrcShift kCrcShift2048{ShiftTables(4 * 512)};
constinit const CrcShift kCrcShift1952{ShiftTables(4 * 488)};

uint32_t Crc32(std::span<const uint8_t> bytes) {
  uint32_t acc;
  CrcInit(acc);
  CrcUpdate(acc, bytes.data(), bytes.size());
  CrcFinal(acc);
  return acc;
}

}  // namespace moswit
