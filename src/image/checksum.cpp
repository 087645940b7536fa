#include "image/checksum.h"

#include "image/blocklayout.h"

namespace moswit {

uint32_t SwapLong(uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0x0000FF00u) | ((value << 8) & 0x00FF0000u) |
         (value << 24);
}

uint32_t CalcChecksum(const uint8_t* area, size_t length, size_t checksumOffset,
                      ChecksumMode mode) {
  const size_t skip = checksumOffset / 4;
  const size_t longs = length / 4;
  if (mode == ckNormal) {
    uint32_t sum = 0;
    for (size_t i = 0; i < longs; ++i) {
      if (i != skip) sum += ReadLong(area, static_cast<unsigned>(i));
    }
    return 0u - sum;
  }
  // Boot block: end-around carry, added one step late.
  uint32_t accumulator = 0;
  uint32_t carry = 0;
  for (size_t i = 0; i < longs; ++i) {
    if (i == skip) continue;
    uint64_t total = static_cast<uint64_t>(accumulator) + ReadLong(area, static_cast<unsigned>(i)) +
                     carry;
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
        case kSecondaryRoot: result = bsRoot; break;
        case kSecondaryUserDir: result = bsUserDir; break;
        case kSecondaryFile: result = bsFileHeader; break;
        case kSecondaryLinkDir:
        case kSecondaryLinkFile: result = bsHardLink; break;
        case kSecondarySoftLink: result = bsSoftLink; break;
        default: break;
      }
      break;
    case kTypeList: result = bsFileExt; break;
    case kTypeData: result = bsData; break;
    case kTypeDirCache: result = bsDirCache; break;
    default: break;
  }
  if (result != bsUnknown && !NormalChecksumHolds(data)) result |= bsChecksumError;
  return result;
}

}  // namespace moswit
