// SPDX-License-Identifier: GPL-2.0-or-later
// The file names organized copies get: a disk's standard name (with its
// codes, for a partial disk) made valid on every common file system, then
// the ending of its image.
#pragma once

#include <string>
#include <string_view>

#include "collection/collectionreport.h"

namespace moswit {

// Where the copies of partial disks go, below the target folder.
constexpr char kPartialFolder[] = "partial";

// A DID text made fit to name a file: each of \ / : * ? " < > |, every
// byte below 32, DEL and the five bytes Windows-1252 leaves undefined
// becomes "_"; dots and blanks at the end are dropped. A name left empty
// becomes "_".
std::string CleanFileName(std::string_view name);

// The copy's path below the target folder, '/' between folders: the
// standard name of a have disk, or kPartialFolder + "/" + the standard name
// followed by its codes for any other, cleaned, then `ending`. A path text
// in UTF-8 on every system: the name's Windows-1252 letters as they read.
std::string DestinationName(const DiskEntry& entry, std::string_view ending);

}  // namespace moswit
