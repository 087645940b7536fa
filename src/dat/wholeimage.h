// SPDX-License-Identifier: GPL-2.0-or-later
// A disk known by the bytes of its whole image, as a DAT knows it: a range
// from the image's first byte to its last with the image's CRC-32. The
// range gives the image's size as well, so such a disk can be written back
// to a DAT.
#pragma once

#include <cstdint>

#include "database/records.h"
#include "image/adf.h"

namespace moswit {

// A whole image is longer than this.
constexpr uint32_t kOneTrack = 11 * kBlockSize;

// Appends the range of an image of `size` bytes (above kOneTrack): bytes 0 to
// size - 1, its CRC-32, no attributes. With no primary type, an image whose
// bytes differ adds no code.
RangeRecord& AppendWholeImageRange(DiskRecord& disk, uint32_t size, uint32_t crc);

// The disk's whole-image range, or null: the first range that starts at
// byte 0, ends where the furthest of the disk's ranges ends and is longer
// than one track. So the track and block ranges added beside it (an image
// without a filesystem) lie inside it, and a disk known by its first track
// alone is not taken for an image of one track.
const RangeRecord* WholeImageRange(const DiskRecord& disk);

// The size of the image a whole-image range covers.
inline uint64_t WholeImageSize(const RangeRecord& range) { return uint64_t{range.lastByte} + 1; }

}  // namespace moswit
