// SPDX-License-Identifier: GPL-2.0-or-later
// A new database built from known-good images: one disk per image, holding
// its files (or, without files, its tracks and two telling blocks), named
// by reading each image's file name back as a standard name.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "database/records.h"
#include "database/standardnamereader.h"
#include "image/adf.h"
#include "scan/imagelist.h"

namespace moswit {

// Track ranges of an image without files: 11 blocks each.
constexpr uint32_t kTrackBytes = 11 * kBlockSize;
// Single-block ranges, on the first blocks whose bytes are not all equal.
constexpr unsigned kTellingBlocks = 2;
// The comment of a disk of a set for which no image was given.
constexpr char kMissingDiskComment[] = "no image was given for this disk";

// The images the arguments name, in order: a folder gives its images as
// the Renamer lists them (recursively, sorted by caption), anything else
// stands for itself, or for its members when it is a ZIP archive of several
// images (AppendImageRows).
std::vector<ImageRow> ImagesOfArguments(const std::vector<std::string>& arguments);

// How an image is named in mkdid's lines: its path, or for a member of an
// archive the archive's path, "/" and the member's name.
std::string ImageRowPath(const ImageRow& image);

// Fills `disk` from the image: its volume name (absent without a valid root
// block) and its files in walk order with the preset attributes, or track
// and block ranges when it has no file. Returns why the image is not
// known-good (a file that cannot be read, no block to nominate it by), or
// an empty text.
std::string FillDiskFromImage(const tADF& image, DiskRecord& disk);

// FillDiskFromImage without the volume name: appends the image's files, or
// its track and block ranges, to a disk that holds none yet.
std::string AppendImageRecords(const tADF& image, DiskRecord& disk);

struct ImageLeftOut {
  std::string path;
  std::string reason;
};

struct ImageWritten {
  std::string path;
  const GameRecord* game = nullptr;
  const DiskRecord* disk = nullptr;
};

struct DiskMissing {
  std::string setName;  // the file names of the set without their disk number
  unsigned number = 0;
  unsigned count = 0;
};

struct DidFromImages {
  std::unique_ptr<DatabaseInfo> database;
  std::vector<ImageWritten> written;  // in the order the images were given
  std::vector<ImageLeftOut> leftOut;
  std::vector<DiskMissing> missing;
  // Sets whose names count more than 255 disks, once each in the order
  // they first appear: each of their images became a game of its own.
  std::vector<LargeSet> tooLarge;
  // Letters of the file names (and of the DID's path, which names the
  // database) that Windows-1252 cannot hold, replaced in the DID.
  size_t lettersReplaced = 0;
};

// The warning for letters of file names the DID could not hold: "N
// letter(s) of the file names cannot be held in Windows-1252, the DID's
// code page, and became "?"".
std::string LettersReplacedWarning(size_t count);

// One game per set of images whose names differ only in the disk number,
// in the order each set first appears, with one version listing its disks
// in disk-number order. File names are UTF-8 and become DID text in
// Windows-1252. A disk number no image has gets an empty disk (comment
// kMissingDiskComment), so the others keep their names. An image whose name
// and disk number an earlier one of the set already has starts a set of its
// own; an image given twice counts once. Paths in `written` and `leftOut`
// are ImageRowPath's.
DidFromImages BuildDidFromImages(const std::vector<ImageRow>& images, std::string_view didPath);

}  // namespace moswit
