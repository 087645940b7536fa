// SPDX-License-Identifier: GPL-2.0-or-later
// A file that could not be read or written, image or DID: its path and the
// platform's message. Status lines, message boxes and moswit-cli show it the
// same way.
#pragma once

#include <string>

namespace moswit {

struct FileError {
  std::string path;
  std::string message;  // e.g. "No such file or directory", "Read beyond end of file"
};

// "path: message".
std::string FormatFileError(const FileError& error);

}  // namespace moswit
