// SPDX-License-Identifier: GPL-2.0-or-later
// Writes ZIP archives and gzip files in memory for loader tests.
#pragma once

#include <string>
#include <vector>

#include "support/adfbuilder.h"

namespace moswit::test {

struct ZipMember {
  std::string name;
  Bytes contents;
  bool deflate = true;
  // Sizes left 0 in the local header and given in a data descriptor after
  // the data (and in the central directory), as streaming zippers write.
  bool dataDescriptor = false;
};

Bytes MakeZip(const std::vector<ZipMember>& members);

// Raw DEFLATE (no wrapper) of `data`.
Bytes Deflate(const Bytes& data);

// `data` as a gzip file of `members` members in a row, each holding an
// equal share of it (the last one the rest), as `cat a.gz b.gz` makes.
Bytes Gzip(const Bytes& data, size_t members = 1);

// An image in every form the listing takes, with the ending its file gets:
// plain .adf, gzip .adz, gzip of three members .adf.gz, deflated .zip.
struct ImageForm {
  std::string ending;
  Bytes bytes;
};
std::vector<ImageForm> ImageForms(const Bytes& image);

}  // namespace moswit::test
