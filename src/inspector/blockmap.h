// The Inspector's map of the 1760 block positions of a floppy.
#pragma once

#include <array>

#include "image/adf.h"
#include "image/checksum.h"

namespace moswit {

using BlockMap = std::array<BlockStatus, kFloppyBlocks>;

// Every position classified; positions at or past BlockCount are
// bsUnformatted (the image is truncated there). Blocks past 1760 of a
// larger image have no position on the map.
void ClassifyAll(const tADF& image, BlockMap& map);

}  // namespace moswit
