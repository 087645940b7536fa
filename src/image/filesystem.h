// SPDX-License-Identifier: GPL-2.0-or-later
// The AmigaDOS (OFS/FFS) directory walk from the root block and the reading
// of one file's data through its header and extension blocks. Nothing on the
// disk is trusted: every block number is tested against BlockCount and every
// block reached is remembered, so damaged and looping images end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/adf.h"
#include "image/blockcrcs.h"
#include "image/checksum.h"

namespace moswit {

constexpr size_t kMaxPathLength = 119;

struct FileEntry {
  std::string Path;        // from "/", at most 119 characters
  uint32_t Size = 0;       // byte size stored in the header, unclamped
  uint32_t Crc = 0;        // CRC-32 of the contents, or Status when the read failed
  BlockStatus Status = 0;  // 0 when the contents were read completely
  uint32_t HeaderBlock = 0;
};

// Files in walk order. The walk and the reader keep their state in values
// their caller owns, so walks of different images run on different threads.
using FileList = std::vector<FileEntry>;

// One flag per block of the image. The maps are sized by BlockCount, so on
// images of more than 1760 blocks every block below BlockCount can be
// reached, and a number at or past BlockCount is out of range before any
// map is indexed with it.
using VisitedMap = std::vector<uint8_t>;

void ClearVisitedMap(VisitedMap& visited, const tADF& image);

// Walks the directory in `block` and everything below it, depth first,
// appending one entry per file found. `visited` must have been cleared for
// this image; it is shared by the whole walk of one image.
void WalkDirectory(const std::string& path, const tADF& image, FileList& list, uint32_t block,
                   VisitedMap& visited);

// Reads the contents of `entry` into `buffer` (its length is the byte size,
// cut to the image size). Returns 0 or the BlockStatus of the first fault;
// after a fault the rest of the buffer is zero. `map` is cleared here.
BlockStatus ReadFileData(const tADF& image, const FileEntry& entry, bool ffs, VisitedMap& map,
                         std::vector<uint8_t>& buffer);

// The same read with the CRC-32 of the contents computed as they are
// followed, without a buffer; `crc` is meaningful when 0 is returned.
BlockStatus ReadFileCrc(const tADF& image, const FileEntry& entry, bool ffs, VisitedMap& map,
                        uint32_t& crc);

// The same result with the CRC-32 combined from the CRCs of the file's
// blocks in `crcs` of this image: those the pass took are not read again,
// the others are CRC'd once here, and a last, partial block is read on from
// the register (as is one that fails as OFS data, for its fault). Crcs of
// another image are not used.
BlockStatus ReadFileCrc(const tADF& image, const FileEntry& entry, bool ffs, VisitedMap& map,
                        const BlockCrcs& crcs, uint32_t& crc);

void FreeFileList(FileList& list);

// The FFS flag: bit 0 of the fourth byte; an image too short for it is OFS.
bool ImageIsFfs(const tADF& image);

// The name at byte 432 of `block` (< BlockCount): a length byte and that
// many characters, never read past the end of the image data.
std::string BlockName(const tADF& image, uint32_t block);

// Sets Status and Crc of every entry by reading its data, or, with `crcs`,
// from the CRCs of its blocks.
void ReadFileCrcs(const tADF& image, FileList& list, bool ffs, const BlockCrcs* crcs = nullptr);

// The whole listing as the Renamer and the Inspector make it: walk from "/"
// and the image's root block (RootBlock), then every file read and CRC'd.
FileList ListFiles(const tADF& image, bool ffs, const BlockCrcs* crcs = nullptr);

}  // namespace moswit
