// SPDX-License-Identifier: GPL-2.0-or-later
#include "inspector/blockcolours.h"

namespace moswit {

const std::array<LegendEntry, 11> kLegend = {{
    {"LG_Unused", "unknown or unused block", 0x000000},
    {"LG_Root", "root block", 0xFFFF00},
    {"LG_Dir", "directory block", 0xC0B000},
    {"LG_FileH", "file header block", 0x48E048},
    {"LG_HLink", "hard link", 0xFF40FF},
    {"LG_SLink", "soft link", 0xC000C0},
    {"LG_Fext", "file extension block", 0x30A030},
    {"LG_Data", "data block (FFS datablocks appear as unknown)", 0x206020},
    {"LG_DirC", "directory cache block", 0x4040FF},
    // The boot block is classified like any other block; the swatch only
    // tells the user so.
    {"LG_Boot", "boot block", 0x000000},
    {"LG_Unform", "unformatted (ADF truncated, in TOSEC language called \"underdump\")", 0xC02020},
}};

uint32_t BlockColour(BlockStatus status) {
  const BlockStatus type = BlockType(status);
  // The legend lists bsUnknown to bsDirCache in type order.
  if (type <= bsDirCache) return kLegend[type].colour;
  if (type == bsUnformatted) return kLegend[10].colour;
  return kLegend[0].colour;
}

}  // namespace moswit
