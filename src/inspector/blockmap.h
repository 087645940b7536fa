// SPDX-License-Identifier: GPL-2.0-or-later
// The Inspector's map of the block positions of a floppy (1760, or 3520 for
// a high-density disk): each position's classification, plus the
// Inspector's own marks bsInSelection (the blocks of the file selected in
// the list) and bsCursor (the block clicked last).
#pragma once

#include <array>
#include <optional>

#include "image/adf.h"
#include "image/checksum.h"
#include "image/filesystem.h"
#include "image/geometry.h"

namespace moswit {

// A fixed array with room for either disk, used like a standard container
// over the positions of the disk it holds.
class BlockMap {
 public:
  // The 1760 positions of a double-density disk, all bsUnknown.
  BlockMap() = default;

  // Every position bsUnknown; `positions` is at most kHighDensityBlocks.
  void Reset(uint32_t positions);

  uint32_t size() const { return size_; }
  BlockStatus& operator[](uint32_t n) { return statuses_[n]; }
  BlockStatus operator[](uint32_t n) const { return statuses_[n]; }
  BlockStatus* begin() { return statuses_.data(); }
  BlockStatus* end() { return statuses_.data() + size_; }
  const BlockStatus* begin() const { return statuses_.data(); }
  const BlockStatus* end() const { return statuses_.data() + size_; }
  void fill(BlockStatus status);

 private:
  std::array<BlockStatus, kHighDensityBlocks> statuses_{};
  uint32_t size_ = kFloppyBlocks;
};

// The map sized by the image's geometry, every position classified;
// positions at or past BlockCount are bsUnformatted (the image is truncated
// there). Blocks past 1760 of a larger image that is not a high-density disk
// have no position on the map.
void ClassifyAll(const tADF& image, BlockMap& map);

// A mark counts only with all of its bits set.
inline bool HasMark(BlockStatus status, BlockStatus mark) { return (status & mark) == mark; }

// bsCursor taken off every position and put on `block` (< size()).
void MoveCursor(BlockMap& map, uint32_t block);

// The position carrying bsCursor; nothing before the first click.
std::optional<uint32_t> CursorBlock(const BlockMap& map);

// Reads `file` again and sets bsInSelection on every block the read
// reached (header, extension and data blocks up to where it stopped),
// clearing it everywhere else.
void MarkFileSelection(const tADF& image, const FileEntry& file, bool ffs, BlockMap& map);

}  // namespace moswit
