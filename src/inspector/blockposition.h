// SPDX-License-Identifier: GPL-2.0-or-later
// The floppy position of a block as the Inspector shows it under the mouse:
// 80 tracks of two heads with 11 sectors each (22 on a high-density disk),
// sectors counted from 1.
#pragma once

#include <cstdint>
#include <string>

#include "image/geometry.h"

namespace moswit {

struct BlockPosition {
  std::string track;     // SMP_Track
  std::string head;      // SMP_Head
  std::string sector;    // SMP_Sect
  std::string blockHex;  // SMP_Block: "$" and three hex digits
  std::string blockDec;  // SMP_BlockDec
};

BlockPosition PositionOf(uint32_t block, uint32_t sectorsPerTrack = kDoubleDensity.sectorsPerTrack);

}  // namespace moswit
