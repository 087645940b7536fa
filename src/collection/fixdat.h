// SPDX-License-Identifier: GPL-2.0-or-later
// The disks a collection lacks, as a DAT: collection managers read it as a
// want list. Only a disk known by its whole image (dat/wholeimage.h) can be
// listed, since a DAT names an image by its size and CRC-32.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/fileerror.h"
#include "collection/collectionreport.h"
#include "dat/datwriter.h"

namespace moswit {

// The missing disks that have a whole-image range, in the order of the
// DID: each named by its standard name in UTF-8, with the range's size and
// CRC-32.
std::vector<DatEntry> MissingImages(const CollectionReport& report);

// Named after the DID: "NAME - missing", "Moswit: the disks of NAME that no
// image names".
DatHeader FixDatHeader(const DatabaseInfo& database);

// Writes the DAT of MissingImages to `path` (a path text); `written`, when
// given, gets the number of disks it lists.
std::optional<FileError> WriteFixDat(const std::string& path, const DatabaseInfo& database,
                                     const CollectionReport& report, size_t* written = nullptr);

}  // namespace moswit
