// SPDX-License-Identifier: GPL-2.0-or-later
// The standard reflected CRC-32 (polynomial 0xEDB88320) of ZIP and Ethernet.
// A CRC is CrcInit, any number of CrcUpdate calls, then CrcFinal. Between
// CrcInit and CrcFinal the accumulator holds the raw (uncomplemented)
// register, so updates can be chained over consecutive pieces of data.
// All functions are thread-safe.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace moswit {

void CrcInit(uint32_t& accumulator);
void CrcUpdate(uint32_t& accumulator, const void* data, size_t length);
void CrcFinal(uint32_t& accumulator);

// Init, one update over `bytes`, final.
uint32_t Crc32(std::span<const uint8_t> bytes);

// The byte-at-a-time table form, kept as the reference for tests and
// benchmarks; gives the same values as CrcUpdate.
void CrcUpdateBytewise(uint32_t& accumulator, const void* data, size_t length);

// For tests and benchmarks: CrcUpdate restricted to the portable
// slicing-by-16 code, and whether CrcUpdate uses carry-less multiplication
// on this CPU.
void CrcUpdatePortable(uint32_t& accumulator, const void* data, size_t length);
bool CrcUsesClmul();

// The CRC-32 of A followed by B from the CRC-32s of A and of B, B being
// `lengthB` bytes: crcA multiplied by x^(8 * lengthB) modulo the polynomial,
// plus crcB. So the CRC of a file follows from the CRCs of its blocks.
uint32_t CrcCombine(uint32_t crcA, uint32_t crcB, uint64_t lengthB);

// CrcCombine for one fixed length of B, the multiplication made into four
// table lookups once.
class CrcShift {
 public:
  using Tables = std::array<std::array<uint32_t, 256>, 4>;

  explicit CrcShift(uint64_t lengthB);
  constexpr explicit CrcShift(const Tables& tables) : tables_(tables) {}

  uint32_t Combine(uint32_t crcA, uint32_t crcB) const {
    return tables_[0][crcA & 0xFFu] ^ tables_[1][(crcA >> 8) & 0xFFu] ^
           tables_[2][(crcA >> 16) & 0xFFu] ^ tables_[3][crcA >> 24] ^ crcB;
  }

 private:
  Tables tables_;
};

// B a whole 512-byte block, the 488 bytes of contents of an OFS data block
// (which also splits a block's CRC at its 24-byte header), and four of each.
extern const CrcShift kCrcShift512;
extern const CrcShift kCrcShift488;
extern const CrcShift kCrcShift2048;
extern const CrcShift kCrcShift1952;

// The CRC-32 of a run of pieces of one length, combined from their CRCs in
// four interleaved chains, so the lookups for one piece need not wait for
// those of the piece before.
class CrcRun {
 public:
  // `one` shifts by the length of a piece, `four` by that of four pieces.
  CrcRun(const CrcShift& one, const CrcShift& four) : one_(one), four_(four) {}

  // The chain that took the piece four before takes this one, and becomes
  // the last; the chains move down one place.
  void Add(uint32_t pieceCrc) {
    const uint32_t last = four_.Combine(chains_[0], pieceCrc);
    chains_[0] = chains_[1];
    chains_[1] = chains_[2];
    chains_[2] = chains_[3];
    chains_[3] = last;
  }
  // The CRC-32 of the pieces added so far (0 for none): each chain's last
  // piece is followed by those of the chains after it.
  uint32_t Crc() const {
    return one_.Combine(one_.Combine(one_.Combine(chains_[0], chains_[1]), chains_[2]), chains_[3]);
  }

 private:
  const CrcShift& one_;
  const CrcShift& four_;
  uint32_t chains_[4] = {};
};

}  // namespace moswit
