#include "inspector/blockposition.h"

#include "base/numbertext.h"

namespace moswit {

BlockPosition PositionOf(uint32_t block) {
  BlockPosition position;
  position.track = IntToDec(block / (kSectorsPerTrack * kHeads));
  position.head = IntToDec((block / kSectorsPerTrack) % kHeads);
  position.sector = IntToDec(block % kSectorsPerTrack + 1);
  position.blockHex = "$" + IntToHex(block, 3);
  position.blockDec = IntToDec(block);
  return position;
}

}  // namespace moswit
