// SPDX-License-Identifier: GPL-2.0-or-later
// The two AmigaDOS checksums, block classification and the BlockStatus codes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/adf.h"

namespace moswit {

// A block's kind (bits 0-3), error flags (bits 4-11) and, from the file
// reader, the block at fault (bits 16-31). The values are shown to users.
using BlockStatus = uint32_t;

constexpr BlockStatus bsUnknown = 0;
constexpr BlockStatus bsRoot = 1;
constexpr BlockStatus bsUserDir = 2;
constexpr BlockStatus bsFileHeader = 3;
constexpr BlockStatus bsHardLink = 4;
constexpr BlockStatus bsSoftLink = 5;
constexpr BlockStatus bsFileExt = 6;
constexpr BlockStatus bsData = 7;
constexpr BlockStatus bsDirCache = 8;
constexpr BlockStatus bsUnformatted = 13;
constexpr BlockStatus bsChecksumError = 16;
constexpr BlockStatus bsOutOfRange = 32;
constexpr BlockStatus bsUsedTwice = 64;
constexpr BlockStatus bsNotData = 256;
constexpr BlockStatus bsInSelection = 1024;
constexpr BlockStatus bsCursor = 2048;

constexpr BlockStatus kTypeMask = 15;

inline BlockStatus BlockType(BlockStatus status) { return status & kTypeMask; }

// The reader's code for a fault at `block`.
inline BlockStatus AtBlock(BlockStatus code, uint32_t block) { return code | (block << 16); }

enum ChecksumMode { ckBoot = 0, ckNormal = 1 };

uint32_t SwapLong(uint32_t value);

// The value a correct block stores in the checksum long at `checksumOffset`
// of `area` (`length` a multiple of 4, the checksum long left out of the sum).
uint32_t CalcChecksum(const uint8_t* area, size_t length, size_t checksumOffset, ChecksumMode mode);

// ckNormal of one 512-byte block equals its long 5.
bool NormalChecksumHolds(const uint8_t* block);
// ckNormal of a block, as stored in long 5 of a correct one.
uint32_t NormalChecksum(const uint8_t* block);

// ckBoot over the first 1024 bytes; the image must hold at least 2 blocks.
uint32_t BootChecksum(const tADF& image);

// The kind of block `block` (< BlockCount), with bsChecksumError when a
// known kind fails its checksum.
BlockStatus ClassifyBlock(const tADF& image, uint32_t block);

}  // namespace moswit
