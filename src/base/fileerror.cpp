#include "base/fileerror.h"

namespace moswit {

std::string FormatFileError(const FileError& error) { return error.path + ": " + error.message; }

}  // namespace moswit
