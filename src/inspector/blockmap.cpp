#include "inspector/blockmap.h"

namespace moswit {

void ClassifyAll(const tADF& image, BlockMap& map) {
  const uint32_t count = BlockCount(image);
  for (uint32_t n = 0; n < kFloppyBlocks; ++n) {
    map[n] = n < count ? ClassifyBlock(image, n) : bsUnformatted;
  }
}

}  // namespace moswit
