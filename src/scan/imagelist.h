// SPDX-License-Identifier: GPL-2.0-or-later
// The images below a source folder, as the Renamer lists them: every file
// whose name ends in an image ending (".adf", ".adz", ".adf.gz", ".zip") in
// any case, folders entered where they stand, rows sorted by caption.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace moswit {

struct ImageRow {
  std::string caption;  // path below the source folder, without its ending
  std::string path;     // the file the listing found; loaded as it is
};

// The names of the forms images come in, upper-cased: plain, gzip (two
// names) and ZIP. The loader goes by a file's contents, not by its ending.
constexpr std::array<std::string_view, 4> kImageEndings = {".ADF", ".ADZ", ".ADF.GZ", ".ZIP"};

constexpr char kPathSeparator = '/';

// The folder text with a separator at its end (an empty text stays empty).
std::string WithTrailingSeparator(const std::string& folder);

// Lists, recursively and in the order the file system gives, the images in
// `folder` (a path ending in the separator). Folders are entered once each:
// a link that leads back into the tree is not followed again. Only regular
// files are listed; a folder that cannot be read adds nothing. `stop`, when
// given and set, ends the listing early (a large tree takes a while).
std::vector<ImageRow> ListImages(const std::string& folder,
                                 const std::atomic<bool>* stop = nullptr);

// True when the last four characters, upper-cased, are ".ADF".
bool HasAdfExtension(const std::string& name);

// The length of the image ending `name` ends in, in any case; 0 when it
// ends in none. A name that is only an ending (".adf") has one.
size_t ImageEndingLength(std::string_view name);

// The file name of `path` without its image ending (x.adf.gz gives x), or
// without its extension when it has none.
std::string ImageFileStem(const std::string& path);

// Ascending by caption with the locale's case-sensitive collation (strcoll);
// captions that collate alike keep byte order.
void SortRows(std::vector<ImageRow>& rows);

}  // namespace moswit
