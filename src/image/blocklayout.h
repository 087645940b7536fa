// SPDX-License-Identifier: GPL-2.0-or-later
// AmigaDOS block fields, each named once with its position. All values are
// 32-bit big-endian longs; long n sits at byte 4*n of a 512-byte block.
#pragma once

#include <cstdint>

namespace moswit {

constexpr unsigned kPrimaryType = 0;  // byte 0x000
constexpr unsigned kHeaderKey = 1;    // byte 0x004, OFS data: the file header's block
constexpr unsigned kChecksum = 5;     // byte 0x014
constexpr unsigned kHashTable = 6;    // byte 0x018, 72 slots (dirs) or data block table (files)
constexpr unsigned kTableSlots = 72;
constexpr unsigned kFirstDataSlot = 77;   // byte 0x134, the table is stored backwards
constexpr unsigned kByteSize = 81;        // byte 0x144, file header
constexpr unsigned kHashChain = 124;      // byte 0x1F0, next entry in the same hash slot
constexpr unsigned kExtension = 126;      // byte 0x1F8, next extension block of a file
constexpr unsigned kSecondaryType = 127;  // byte 0x1FC

constexpr unsigned kChecksumOffset = kChecksum * 4;
constexpr unsigned kNameOffset = 432;    // byte 0x1B0, length byte then the characters
constexpr unsigned kOfsDataOffset = 24;  // OFS data blocks: 24-byte header,
constexpr unsigned kOfsDataBytes = 488;  // then 488 bytes of contents

// The root of a double-density disk; RootBlock (geometry.h) gives an image's.
constexpr uint32_t kRootBlock = 880;

constexpr uint32_t kTypeShort = 2;
constexpr uint32_t kTypeData = 8;
constexpr uint32_t kTypeList = 16;
constexpr uint32_t kTypeDirCache = 33;
constexpr uint32_t kSecondaryRoot = 1;
constexpr uint32_t kSecondaryUserDir = 2;
constexpr uint32_t kSecondarySoftLink = 3;
constexpr uint32_t kSecondaryLinkDir = 4;
constexpr uint32_t kSecondaryFile = static_cast<uint32_t>(-3);
constexpr uint32_t kSecondaryLinkFile = static_cast<uint32_t>(-4);

// Long n of a block, read big-endian.
inline uint32_t ReadLong(const uint8_t* block, unsigned n) {
  const uint8_t* p = block + 4 * n;
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}

}  // namespace moswit
