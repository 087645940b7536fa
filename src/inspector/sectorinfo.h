// SPDX-License-Identifier: GPL-2.0-or-later
// The sector information under the Inspector's map after a click on a
// block: the caption SI_Header and the lines of the memo SI_Memo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/adf.h"

namespace moswit {

// "Sector Info ($" + three hex digits + "):"; block 0 gives the caption the
// window starts with.
std::string SectorInfoHeader(uint32_t block);

// What the memo shows for `block` (a position of the image's map). Blocks 0 and 1 are the boot
// block as a whole; its checksum line needs both blocks in the image. A
// position at or past BlockCount of a truncated image shows only that its
// type is unknown: nothing outside the image data is read.
std::vector<std::string> SectorInfoLines(const tADF& image, uint32_t block);

}  // namespace moswit
