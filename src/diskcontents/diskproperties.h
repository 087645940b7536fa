// SPDX-License-Identifier: GPL-2.0-or-later
// The volume name and boot block flags the Inspector shows for an image.
#pragma once

#include <string>

#include "image/adf.h"

namespace moswit {

struct DiskProperties {
  std::string DiskName;  // "NDOS:" without a valid root block
  bool IsDos = false;
  bool IsFfs = false;
  bool IsDirCache = false;
  bool IsIntl = false;
  bool IsBootable = false;
};

constexpr char kNoDosName[] = "NDOS:";

DiskProperties ReadDiskProperties(const tADF& image);

}  // namespace moswit
