// SPDX-License-Identifier: GPL-2.0-or-later
// What the platform's paths look like: whether they start with a drive
// letter, and the separator that ends a folder path.
#pragma once

namespace moswit {

#ifdef _WIN32
constexpr bool kDriveLetters = true;
constexpr char kFolderSeparator = '\\';
#else
constexpr bool kDriveLetters = false;
constexpr char kFolderSeparator = '/';
#endif

}  // namespace moswit
