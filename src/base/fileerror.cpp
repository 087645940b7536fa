// SPDX-License-Identifier: GPL-2.0-or-later
#include "base/fileerror.h"

namespace moswit {

std::string FormatFileError(const FileError& error) { return error.path + ": " + error.message; }

}  // namespace moswit
