// SPDX-License-Identifier: GPL-2.0-or-later
// The CRC-32s that identification needs of every block of an image, taken
// in one pass while the image is read, each block while it is still in the
// processor's cache. A block of type 8 (OFS data) gets the CRC of its 488
// bytes of contents and whether its checksum holds, so the file reader
// combines a file's CRC from its blocks' (CrcRun) without reading them
// again. Any other block gets the CRC of its 512 bytes (block nomination,
// ranges on block bounds, FFS data); a block of type 8 gets that one too at
// the positions asked for, and elsewhere on request, from its contents' CRC
// and its 24-byte header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "image/adf.h"

namespace moswit {

class BlockCrcs {
 public:
  // Block positions (a byte each, nonzero: asked for) at which the whole
  // CRC of a block of type 8 is taken in the pass, e.g. where the index
  // holds single-block ranges. The bytes stay the caller's and must outlive
  // the passes; positions past their end are not asked for.
  void TakeWholeAt(std::span<const uint8_t> positions) { wholeAt_ = positions; }

  // Forgets the blocks taken; the next ones are those of an image of `size`
  // bytes. Storage is kept, so one object serves one image after another.
  void Start(uint32_t size);
  // Takes every block not yet taken that lies wholly in the first `end`
  // bytes of `data`, the image's bytes as far as they have arrived. `data`
  // is the image's buffer and is read again by Crc, so it must stay put.
  void Arrived(const uint8_t* data, size_t end);
  // Start and Arrived over the whole image.
  void TakeAll(const tADF& image);

  // Whether every block of an image of `size` bytes has arrived since Start.
  bool TakenAll(uint32_t size) const { return size_ == size && taken_ == size / kBlockSize; }
  // Whether these are the CRCs of every block of `image` in its buffer.
  bool CoversImage(const tADF& image) const {
    return size_ == image.Size && taken_ == BlockCount(image) && data_ == image.Data.data();
  }

  // The CRC-32 of the 512 bytes of `block` (< the blocks taken).
  uint32_t Crc(uint32_t block) const {
    const Block& b = blocks_[block];
    return b.flags & kWholeTaken ? b.crc : WholeOfTypeData(block);
  }
  // Whether `block` is an OFS data block as the file reader accepts one: of
  // type 8 with a good checksum.
  bool IsOfsData(uint32_t block) const { return blocks_[block].flags & kChecksumHolds; }
  // The CRC-32 of bytes 24 to 511 of a block of type 8.
  uint32_t ContentsCrc(uint32_t block) const { return blocks_[block].contents; }

 private:
  enum Flags : uint8_t {
    kWholeTaken = 1,     // crc is set
    kChecksumHolds = 2,  // of type 8 with a good checksum
  };
  struct Block {
    uint32_t crc;
    uint32_t contents;  // of a block of type 8
    uint8_t flags;
  };

  uint32_t WholeOfTypeData(uint32_t block) const;

  std::span<const uint8_t> wholeAt_;
  const uint8_t* data_ = nullptr;
  uint32_t size_ = 0;
  uint32_t taken_ = 0;
  std::vector<Block> blocks_;
};

}  // namespace moswit
