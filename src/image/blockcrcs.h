// SPDX-License-Identifier: GPL-2.0-or-later
// The CRC-32s of an image's blocks that identification needs, taken in one
// pass while the image is read, each block while it is still in the
// processor's cache: the whole blocks at the positions asked for (where
// single-block ranges lie and what the spans of longer ranges hold). Of a
// block of type 8 (OFS data) taken, also the CRC of its 488 bytes of
// contents and whether its checksum holds, so the file reader combines a
// file's CRC from its blocks' (CrcRun) without reading them again. Any
// other block is taken the same way when first asked for (the file reader
// asks for the blocks of the files), so a database of files alone costs no
// CRC of the blocks no file uses, and no block is CRC'd twice. One object
// serves one thread at a time: asking takes blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "image/adf.h"

namespace moswit {

class BlockCrcs {
 public:
  // The blocks whose whole CRC the pass takes: block b of an image of at
  // least `fromSize[b]` bytes (MatchIndex::wholeBlocksFrom). The values
  // stay the caller's and must outlive the passes; positions past their end
  // are not taken.
  void TakeWholeAt(std::span<const uint32_t> fromSize) { wholeFrom_ = fromSize; }

  // Forgets the blocks taken; the next ones are those of an image of `size`
  // bytes. Storage is kept, so one object serves one image after another.
  void Start(uint32_t size);
  // Passes every block not yet passed that lies wholly in the first `end`
  // bytes of `data`, the image's bytes as far as they have arrived, taking
  // those asked for. `data` is the image's buffer and is read again for the
  // blocks not taken, so it must stay put.
  void Arrived(const uint8_t* data, size_t end);
  // Start and Arrived over the whole image.
  void TakeAll(const tADF& image);

  // Whether every block of an image of `size` bytes has arrived since Start.
  bool TakenAll(uint32_t size) const { return size_ == size && passed_ == size / kBlockSize; }
  // Whether these are the CRCs of every block of `image` in its buffer.
  bool CoversImage(const tADF& image) const {
    return size_ == image.Size && passed_ == BlockCount(image) && data_ == image.Data.data();
  }

  // The CRC-32 of the 512 bytes of `block` (< the blocks passed).
  uint32_t Crc(uint32_t block) const {
    const Block& b = blocks_[block];
    if (!(b.flags & kWholeTaken)) Take(block, true);
    return b.crc;
  }
  // Whether `block` is an OFS data block as the file reader accepts one: of
  // type 8 with a good checksum.
  bool IsOfsData(uint32_t block) const { return Taken(block).flags & kChecksumHolds; }
  // The CRC-32 of bytes 24 to 511 of a block of type 8.
  uint32_t ContentsCrc(uint32_t block) const { return Taken(block).contents; }

 private:
  enum Flags : uint8_t {
    kTaken = 1,          // contents and kChecksumHolds are set, or crc for another type
    kWholeTaken = 2,     // crc is set
    kChecksumHolds = 4,  // of type 8 with a good checksum
  };
  struct Block {
    uint32_t crc;
    uint32_t contents;  // of a block of type 8
    uint8_t flags;
  };

  const Block& Taken(uint32_t block) const {
    Block& b = blocks_[block];
    if (!(b.flags & kTaken)) Take(block, false);
    return b;
  }
  // Takes what is not yet taken of `block`; of a block of type 8 the whole
  // CRC (from its header's) only with `whole`.
  void Take(uint32_t block, bool whole) const;

  std::span<const uint32_t> wholeFrom_;
  const uint8_t* data_ = nullptr;
  uint32_t size_ = 0;
  uint32_t passed_ = 0;
  mutable std::vector<Block> blocks_;  // blocks asked for are taken on the way
};

}  // namespace moswit
