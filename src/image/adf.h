// SPDX-License-Identifier: GPL-2.0-or-later
// One loaded disk image: a plain ADF, a member of a ZIP archive, or a gzip
// file (.adz, .adf.gz). Images are only ever read.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/fileerror.h"

namespace moswit {

class BlockCrcs;
struct FileCheck;

constexpr uint32_t kBlockSize = 512;
// An 880 KB double-density floppy: 80 tracks, 2 heads, 11 sectors.
constexpr uint32_t kFloppyBlocks = 1760;
// Neither a plain file nor a ZIP member larger than this is loaded, so a
// damaged header never makes us allocate gigabytes (gzip data has a lower
// limit of its own, kMaxGzipImageSize).
constexpr uint32_t kMaxImageSize = 64u * 1024u * 1024u;

struct tADF {
  std::string FileName;
  uint32_t Size = 0;
  std::vector<uint8_t> Data;  // exactly Size bytes
};

using ImagePtr = std::unique_ptr<tADF>;

// Which member of a ZIP archive a load takes: kFirstImageMember for the
// archive's first image member (ZipImageMembers: its only file, or its first
// ".adf"), otherwise a position in its central directory (ReadZipEntries).
constexpr uint32_t kFirstImageMember = UINT32_MAX;

// Loads the image at `path`, as a ZIP archive when the file starts with a
// ZIP local header signature (its member `member`), as gzip data when it
// starts with 1F 8B, otherwise as a plain image; the name plays no part. A
// member other than kFirstImageMember of a file that is no ZIP archive
// fails. On failure returns nothing and, when `error` is given, the path
// and the reason.
ImagePtr LoadImage(const std::string& path, FileError* error = nullptr,
                   uint32_t member = kFirstImageMember);

// LoadImage into an image kept by the caller, reusing its buffer, so a scan
// loading one image after another does not allocate and clear one each time.
// On failure `image` holds no image (its Size is 0) and false is returned.
bool LoadImageInto(const std::string& path, tADF& image, FileError* error = nullptr);

// The same, taking the CRCs of the image's blocks as it arrives: a plain
// image is read in pieces of kLoadPiece bytes and each piece's blocks are
// taken while the piece is in the processor's cache; a ZIP or gzip image
// once it is decoded.
// With `file`, also the size and CRC-32 of what a copy of it holds: the
// file's own bytes as they were read (for a plain image combined from its
// blocks' CRCs, for an archive taken from the bytes read to decode it and
// the rest of the file), or, for a given member of an archive, which is
// copied out as a plain image, the member's decoded bytes.
constexpr size_t kLoadPiece = 64 * 1024;
bool LoadImageInto(const std::string& path, tADF& image, BlockCrcs& crcs,
                   FileError* error = nullptr, uint32_t member = kFirstImageMember,
                   FileCheck* file = nullptr);

// An image member of a ZIP archive: its position in the central directory
// and its name in UTF-8 (ZipEntryName).
struct ArchiveMember {
  uint32_t position = 0;
  std::string name;
};

// The image members of the ZIP archive at `path` (ZipImageMembers); none
// for a file that is no ZIP archive, cannot be read or holds no image.
std::vector<ArchiveMember> ArchiveImageMembers(const std::string& path);

// How a window names the image LoadImage(path, ..., member) loads: the
// path, followed for a ZIP archive of several images by "/" and the name of
// the member it loads (the first for kFirstImageMember).
std::string LoadedImageName(const std::string& path, uint32_t member = kFirstImageMember);

// Decides and decodes from bytes already in memory; `name` becomes FileName
// (and the error's path).
ImagePtr LoadImageFromMemory(const std::string& name, const uint8_t* bytes, size_t length,
                             FileError* error = nullptr);

void FreeImage(ImagePtr& image);

// Asks the system to start reading the file at `path` into its cache in the
// background, so a later LoadImage finds it there; true when it did. Only a
// hint: a file already cached, one that cannot be opened, or one that is not
// a plain file is left alone, and on systems without such hints
// (kReadAheadHints) nothing is ever asked.
bool AdviseReadAhead(const std::string& path);

inline uint32_t BlockCount(const tADF& image) { return image.Size / kBlockSize; }

// The one checked way to reach a block: nullptr unless `block` < BlockCount.
inline const uint8_t* BlockData(const tADF& image, uint32_t block) {
  if (block >= BlockCount(image)) return nullptr;
  return image.Data.data() + static_cast<size_t>(block) * kBlockSize;
}

}  // namespace moswit
