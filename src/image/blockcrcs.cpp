// SPDX-License-Identifier: GPL-2.0-or-later
#include "image/blockcrcs.h"

#include <algorithm>

#include "image/blocklayout.h"
#include "image/checksum.h"
#include "image/crc32.h"
#include "image/crckernel.h"

namespace moswit {

namespace {

constexpr uint32_t kInitial = 0xFFFFFFFFu;

// What the pass takes of one block. For a block of type 8: the contents'
// CRC, the sum of the 128 big-endian longs (0 when the checksum holds), and
// with `header` the CRC of the 24-byte header, from which the whole block's
// follows. For any other block: the whole block's CRC.
struct BlockSums {
  uint32_t crc;  // whole block, or contents
  uint32_t longSum = 0;
  uint32_t header = 0;
};

BlockSums SumsPortable(const uint8_t* block, bool typeData, bool header) {
  if (!typeData) return {Crc32({block, kBlockSize})};
  return {Crc32({block + kOfsDataOffset, kOfsDataBytes}), NormalChecksumHolds(block) ? 0u : 1u,
          header ? Crc32({block, kOfsDataOffset}) : 0u};
}

#ifdef MOSWIT_CRC_CLMUL
#define MOSWIT_BLOCK_TARGET __attribute__((target("pclmul,sse4.1,avx2")))

// The register after `chunks` 16-byte pieces from `p` (at least 4), fed
// from `c`: four lanes, folded into one at the end.
MOSWIT_BLOCK_TARGET inline uint32_t Folded(uint32_t c, const uint8_t* p, size_t chunks) {
  using crc::Fold;
  using crc::Load128;
  const __m128i k_fold4 = crc::FoldBy64Bytes();
  __m128i x0 = _mm_xor_si128(Load128(p), _mm_cvtsi32_si128(static_cast<int>(c)));
  __m128i x1 = Load128(p + 16);
  __m128i x2 = Load128(p + 32);
  __m128i x3 = Load128(p + 48);
  size_t at = 64;
  for (; at + 64 <= chunks * 16; at += 64) {
    x0 = Fold(x0, k_fold4, Load128(p + at));
    x1 = Fold(x1, k_fold4, Load128(p + at + 16));
    x2 = Fold(x2, k_fold4, Load128(p + at + 32));
    x3 = Fold(x3, k_fold4, Load128(p + at + 48));
  }
  __m128i x = crc::FoldLanes(x0, x1, x2, x3);
  for (; at < chunks * 16; at += 16) x = Fold(x, crc::FoldBy16Bytes(), Load128(p + at));
  return crc::Reduce(x);
}

// The CRC of the 24-byte header of `block`. Fed from zero instead of
// kInitial, the first four bytes complemented stand for the initial
// register, and eight zero bytes in front change nothing: so the header is
// two lanes, folded and reduced.
MOSWIT_BLOCK_TARGET inline uint32_t HeaderCrcClmul(const uint8_t* block) {
  const __m128i first = _mm_xor_si128(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(block)),
                                      _mm_cvtsi32_si128(-1));
  return ~crc::Reduce(
      crc::Fold(_mm_slli_si128(first, 8), crc::FoldBy16Bytes(), crc::Load128(block + 8)));
}

// The 128 longs byte-swapped into place and added in eight lanes.
MOSWIT_BLOCK_TARGET inline uint32_t SumOfLongs(const uint8_t* block) {
  const __m256i swap = _mm256_setr_epi8(3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12, 3, 2,
                                        1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12);
  __m256i sum = _mm256_setzero_si256();
  for (size_t at = 0; at < kBlockSize; at += 32) {
    const __m256i longs = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block + at));
    sum = _mm256_add_epi32(sum, _mm256_shuffle_epi8(longs, swap));
  }
  __m128i half = _mm_add_epi32(_mm256_castsi256_si128(sum), _mm256_extracti128_si256(sum, 1));
  half = _mm_add_epi32(half, _mm_shuffle_epi32(half, 0x4E));
  half = _mm_add_epi32(half, _mm_shuffle_epi32(half, 0xB1));
  return static_cast<uint32_t>(_mm_cvtsi128_si32(half));
}

MOSWIT_BLOCK_TARGET BlockSums SumsClmul(const uint8_t* block, bool typeData, bool header) {
  if (!typeData) return {~Folded(kInitial, block, kBlockSize / 16)};
  // The contents from byte 24: eight bytes by slicing, then 30 pieces of 16.
  const uint32_t start = crc::Slice8(crc::Load64Le(block + kOfsDataOffset) ^ kInitial, 0);
  return {~Folded(start, block + kOfsDataOffset + 8, (kOfsDataBytes - 8) / 16), SumOfLongs(block),
          header ? HeaderCrcClmul(block) : 0u};
}

bool HaveClmulAvx2() {
  static const bool have = CrcUsesClmul() && __builtin_cpu_supports("avx2");
  return have;
}

#endif  // MOSWIT_CRC_CLMUL

}  // namespace

void BlockCrcs::Start(uint32_t size) {
  data_ = nullptr;
  size_ = size;
  passed_ = 0;
  blocks_.resize(size / kBlockSize);
}

void BlockCrcs::Arrived(const uint8_t* data, size_t end) {
  data_ = data;
  const uint32_t count = static_cast<uint32_t>(std::min<size_t>(end, size_) / kBlockSize);
  for (; passed_ < count; ++passed_) {
    blocks_[passed_].flags = 0;
    if (passed_ < wholeFrom_.size() && wholeFrom_[passed_] <= size_) Take(passed_, true);
  }
}

void BlockCrcs::TakeAll(const tADF& image) {
  Start(image.Size);
  Arrived(image.Data.data(), image.Size);
}

void BlockCrcs::Take(uint32_t block, bool whole) const {
  const uint8_t* data = data_ + size_t{block} * kBlockSize;
  Block& out = blocks_[block];
#ifdef MOSWIT_CRC_CLMUL
  const bool clmul = HaveClmulAvx2();
#endif
  if (out.flags & kTaken) {
    // Of type 8, its contents taken: the header's CRC completes the block's.
#ifdef MOSWIT_CRC_CLMUL
    const uint32_t header = clmul ? HeaderCrcClmul(data) : Crc32({data, kOfsDataOffset});
#else
    const uint32_t header = Crc32({data, kOfsDataOffset});
#endif
    out.crc = kCrcShift488.Combine(header, out.contents);
    out.flags |= kWholeTaken;
    return;
  }
  const bool typeData = ReadLong(data, kPrimaryType) == kTypeData;
#ifdef MOSWIT_CRC_CLMUL
  const BlockSums sums =
      clmul ? SumsClmul(data, typeData, whole) : SumsPortable(data, typeData, whole);
#else
  const BlockSums sums = SumsPortable(data, typeData, whole);
#endif
  if (!typeData) {
    out = {sums.crc, 0, kTaken | kWholeTaken};
    return;
  }
  out.contents = sums.crc;
  out.flags = kTaken | (sums.longSum == 0 ? kChecksumHolds : 0);
  if (whole) {
    out.crc = kCrcShift488.Combine(sums.header, sums.crc);
    out.flags |= kWholeTaken;
  }
}

}  // namespace moswit
