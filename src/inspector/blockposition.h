// The floppy position of a block as the Inspector shows it under the mouse:
// 80 tracks of two heads with 11 sectors each, sectors counted from 1.
#pragma once

#include <cstdint>
#include <string>

namespace moswit {

constexpr uint32_t kSectorsPerTrack = 11;
constexpr uint32_t kHeads = 2;

struct BlockPosition {
  std::string track;     // SMP_Track
  std::string head;      // SMP_Head
  std::string sector;    // SMP_Sect
  std::string blockHex;  // SMP_Block: "$" and three hex digits
  std::string blockDec;  // SMP_BlockDec
};

BlockPosition PositionOf(uint32_t block);

}  // namespace moswit
