// SPDX-License-Identifier: GPL-2.0-or-later
#include "inspector/blockposition.h"

#include "base/numbertext.h"

namespace moswit {

BlockPosition PositionOf(uint32_t block, uint32_t sectorsPerTrack) {
  BlockPosition position;
  position.track = IntToDec(block / (sectorsPerTrack * kHeads));
  position.head = IntToDec((block / sectorsPerTrack) % kHeads);
  position.sector = IntToDec(block % sectorsPerTrack + 1);
  position.blockHex = "$" + IntToHex(block, 3);
  position.blockDec = IntToDec(block);
  return position;
}

}  // namespace moswit
