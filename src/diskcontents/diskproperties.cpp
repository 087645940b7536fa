// SPDX-License-Identifier: GPL-2.0-or-later
#include "diskcontents/diskproperties.h"

#include "image/blocklayout.h"
#include "image/checksum.h"
#include "image/filesystem.h"
#include "image/geometry.h"

namespace moswit {

DiskProperties ReadDiskProperties(const tADF& image) {
  DiskProperties properties;

  // The name only from a root block that lies wholly in the image and
  // passes its checksum.
  const uint32_t root = RootBlock(image);
  if (image.Size >= (root + 1) * kBlockSize && ClassifyBlock(image, root) == bsRoot) {
    properties.DiskName = BlockName(image, root);
  } else {
    properties.DiskName = kNoDosName;
  }
  for (char& c : properties.DiskName) {
    if (static_cast<unsigned char>(c) < 32) c = '_';
  }

  if (BlockCount(image) >= 2) {
    const uint8_t* boot = image.Data.data();
    const uint8_t flags = boot[3];
    properties.IsFfs = ImageIsFfs(image);
    properties.IsIntl = (flags & 6u) != 0;
    properties.IsDirCache = (flags & 4u) != 0;
    // A mask test, not an equality: every set bit of "DOS" must be there.
    properties.IsDos = (boot[0] & 'D') == 'D' && (boot[1] & 'O') == 'O' && (boot[2] & 'S') == 'S';
    properties.IsBootable = BootChecksum(image) == ReadLong(boot, 1);
  }
  return properties;
}

}  // namespace moswit
