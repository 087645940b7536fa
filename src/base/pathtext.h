// SPDX-License-Identifier: GPL-2.0-or-later
// Paths travel through the core as 8-bit texts: on POSIX systems the bytes
// of the name as the system keeps them, on Windows UTF-8. These turn such a
// text into a std::filesystem::path and back; a path built from a
// std::string directly would go through the Windows code page there and
// lose every character outside it. Neither throws: on Windows what is not
// UTF-8 becomes U+FFFD.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace moswit {

std::filesystem::path PathFromText(std::string_view text);

std::string PathText(const std::filesystem::path& path);

}  // namespace moswit
