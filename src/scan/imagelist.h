// The images below a source folder, as the Renamer lists them: every file
// whose last four characters are ".ADF" in any case, folders entered where
// they stand, rows sorted by caption.
#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace moswit {

struct ImageRow {
  std::string caption;  // path below the source folder, without its extension
  std::string path;     // the file the listing found; loaded as it is
};

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

// Ascending by caption with the locale's case-sensitive collation (strcoll);
// captions that collate alike keep byte order.
void SortRows(std::vector<ImageRow>& rows);

}  // namespace moswit
