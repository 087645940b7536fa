// SPDX-License-Identifier: GPL-2.0-or-later
// The images below a source folder, as the Renamer lists them: every file
// whose name ends in an image ending (".adf", ".adz", ".adf.gz", ".zip") in
// any case, and every image member of a ZIP archive holding several,
// folders entered where they stand, rows sorted by caption.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "image/adf.h"

namespace moswit {

struct ImageRow {
  ImageRow() = default;
  ImageRow(std::string rowCaption, std::string file, uint32_t archiveMember = kFirstImageMember,
           std::string archiveMemberName = {})
      : caption(std::move(rowCaption)),
        path(std::move(file)),
        member(archiveMember),
        memberName(std::move(archiveMemberName)) {}

  std::string caption;  // path below the source folder, without ".adf"
  std::string path;     // the file the listing found; loaded as it is
  // For one of several images in a ZIP archive: the member, its position in
  // the archive and its name in UTF-8.
  uint32_t member = kFirstImageMember;
  std::string memberName;
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

// The caption of an image file at `relative` below the source folder: the
// path without ".adf" in any case. Other endings stay, so x.adf, x.adz,
// x.adf.gz and x.zip are four captions.
std::string ImageCaption(std::string_view relative);

// Appends the rows of the image file at `path` captioned `caption`: one row,
// or, for a file named ".zip" that is a ZIP archive of several image members
// (ArchiveImageMembers), one per member, captioned `caption` + "/" + the
// member's name without ".adf". The archive is read only for its directory.
void AppendImageRows(const std::string& path, const std::string& caption,
                     std::vector<ImageRow>& rows);

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
