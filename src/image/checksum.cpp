// SPDX-License-Identifier: GPL-2.0-or-later
#include "image/checksum.h"

#include <bit>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#endif

#include "image/blocklayout.h"

namespace moswit {

uint32_t SwapLong(uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0x0000FF00u) | ((value << 8) & 0x00FF0000u) |
         (value << 24);
}

namespace {

// Sum of the big-endian longs of `area` (at most 1024 bytes, whole longs),
// modulo 2^32, without swapping each long: the bytes are summed per lane
// (byte 0 of every long, byte 1, ...) and the lanes weighted at the end.
// With at most 256 longs a lane sum stays below 2^16, so two lanes share one
// 32-bit accumulator without carrying into each other.
uint32_t SumOfLongs(const uint8_t* area, size_t longs) {
  uint32_t evenLanes = 0;  // bytes 0 and 2 of each long, in the halves
  uint32_t oddLanes = 0;   // bytes 1 and 3
  for (size_t i = 0; i < longs; ++i) {
    uint32_t word;
    std::memcpy(&word, area + 4 * i, 4);
    if constexpr (std::endian::native == std::endian::big) word = SwapLong(word);
    evenLanes += word & 0x00FF00FFu;
    oddLanes += (word >> 8) & 0x00FF00FFu;
  }
  // The word read little-endian holds byte 0 lowest; byte 0 weighs 2^24.
  const uint32_t byte0 = evenLanes & 0xFFFFu, byte2 = evenLanes >> 16;
  const uint32_t byte1 = oddLanes & 0xFFFFu, byte3 = oddLanes >> 16;
  return (byte0 << 24) + (byte1 << 16) + (byte2 << 8) + byte3;
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define MOSWIT_CHECKSUM_AVX2 1

// Eight longs at a time: each byte-swapped into place and added per lane.
__attribute__((target("avx2"))) uint32_t SumOfLongsAvx2(const uint8_t* area, size_t longs) {
  const __m256i swap = _mm256_setr_epi8(3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12, 3, 2,
                                        1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12);
  __m256i sum = _mm256_setzero_si256();
  size_t i = 0;
  for (; i + 8 <= longs; i += 8) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(area + 4 * i));
    sum = _mm256_add_epi32(sum, _mm256_shuffle_epi8(v, swap));
  }
  __m128i half = _mm_add_epi32(_mm256_castsi256_si128(sum), _mm256_extracti128_si256(sum, 1));
  half = _mm_add_epi32(half, _mm_shuffle_epi32(half, 0x4E));
  half = _mm_add_epi32(half, _mm_shuffle_epi32(half, 0xB1));
  uint32_t total = static_cast<uint32_t>(_mm_cvtsi128_si32(half));
  for (; i < longs; ++i) total += ReadLong(area, static_cast<unsigned>(i));
  return total;
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#endif

uint32_t FastSumOfLongs(const uint8_t* area, size_t longs) {
#ifdef MOSWIT_CHECKSUM_AVX2
  if (HasAvx2()) return SumOfLongsAvx2(area, longs);
#endif
  return SumOfLongs(area, longs);
}

}  // namespace

uint32_t CalcChecksum(const uint8_t* area, size_t length, size_t checksumOffset,
                      ChecksumMode mode) {
  const size_t skip = checksumOffset / 4;
  const size_t longs = length / 4;
  if (mode == ckNormal) {
    uint32_t sum;
    if (longs <= 256) {
      sum = FastSumOfLongs(area, longs);
      if (skip < longs) sum -= ReadLong(area, static_cast<unsigned>(skip));
    } else {
      sum = 0;
      for (size_t i = 0; i < longs; ++i) {
        if (i != skip) sum += ReadLong(area, static_cast<unsigned>(i));
      }
    }
    return 0u - sum;
  }
  // Boot block: end-around carry, added one step late.
  uint32_t accumulator = 0;
  uint32_t carry = 0;
  for (size_t i = 0; i < longs; ++i) {
    if (i == skip) continue;
    uint64_t total =
        static_cast<uint64_t>(accumulator) + ReadLong(area, static_cast<unsigned>(i)) + carry;
    accumulator = static_cast<uint32_t>(total);
    carry = static_cast<uint32_t>(total >> 32);
  }
  accumulator += carry;
  return ~accumulator;
}

uint32_t NormalChecksum(const uint8_t* block) {
  return CalcChecksum(block, kBlockSize, kChecksumOffset, ckNormal);
}

bool NormalChecksumHolds(const uint8_t* block) {
  return NormalChecksum(block) == ReadLong(block, kChecksum);
}

uint32_t BootChecksum(const tADF& image) {
  return CalcChecksum(image.Data.data(), 2 * kBlockSize, 4, ckBoot);
}

BlockStatus ClassifyBlock(const tADF& image, uint32_t block) {
  const uint8_t* data = BlockData(image, block);
  if (!data) return bsUnknown;  // callers test the number; never read outside the image

  BlockStatus result = bsUnknown;
  switch (ReadLong(data, kPrimaryType)) {
    case kTypeShort:
      switch (ReadLong(data, kSecondaryType)) {
        case kSecondaryRoot:
          result = bsRoot;
          break;
        case kSecondaryUserDir:
          result = bsUserDir;
          break;
        case kSecondaryFile:
          result = bsFileHeader;
          break;
        case kSecondaryLinkDir:
        case kSecondaryLinkFile:
          result = bsHardLink;
          break;
        case kSecondarySoftLink:
          result = bsSoftLink;
          break;
        default:
          break;
      }
      break;
    case kTypeList:
      result = bsFileExt;
      break;
    case kTypeData:
      result = bsData;
      break;
    case kTypeDirCache:
      result = bsDirCache;
      break;
    default:
      break;
  }
  if (result != bsUnknown && !NormalChecksumHolds(data)) result |= bsChecksumError;
  return result;
}

}  // namespace moswit
