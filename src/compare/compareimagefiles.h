// SPDX-License-Identifier: GPL-2.0-or-later
// The Compare tables of image files read from disk, as moswit-cli compare
// makes them. The images are never all in memory: each is read into one
// reused buffer, twice, first for its files and for where it differs from
// image 0, then for its CRC-32s of the sections; so comparing 255 images
// costs little more than reading them twice.
#pragma once

#include <string>
#include <vector>

#include "base/fileerror.h"
#include "compare/comparetables.h"

namespace moswit {

// The tables of the images at `paths`, numbered from 00 in order (at most
// kMaxComparedImages), equal to BuildCompareTables of the images loaded.
// False, with the path and the reason, when an image cannot be loaded or
// is not the same on the second reading as on the first.
bool CompareImageFiles(const std::vector<std::string>& paths, CompareTables& tables,
                       FileError& error);

// The reason given for an image that changed between the two readings.
constexpr char kImageChanged[] = "The image changed while it was compared";

}  // namespace moswit
