// Writes ZIP archives in memory for loader tests.
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

}  // namespace moswit::test
