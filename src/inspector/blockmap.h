// The Inspector's map of the 1760 block positions of a floppy: each
// position's classification, plus the Inspector's own marks bsInSelection
// (the blocks of the file selected in the list) and bsCursor (the block
// clicked last).
#pragma once

#include <array>
#include <optional>

#include "image/adf.h"
#include "image/checksum.h"
#include "image/filesystem.h"

namespace moswit {

using BlockMap = std::array<BlockStatus, kFloppyBlocks>;

// Every position classified; positions at or past BlockCount are
// bsUnformatted (the image is truncated there). Blocks past 1760 of a
// larger image have no position on the map.
void ClassifyAll(const tADF& image, BlockMap& map);

// A mark counts only with all of its bits set.
inline bool HasMark(BlockStatus status, BlockStatus mark) { return (status & mark) == mark; }

// bsCursor taken off every position and put on `block` (< 1760).
void MoveCursor(BlockMap& map, uint32_t block);

// The position carrying bsCursor; nothing before the first click.
std::optional<uint32_t> CursorBlock(const BlockMap& map);

// Reads `file` again and sets bsInSelection on every block the read
// reached (header, extension and data blocks up to where it stopped),
// clearing it everywhere else.
void MarkFileSelection(const tADF& image, const FileEntry& file, bool ffs, BlockMap& map);

}  // namespace moswit
