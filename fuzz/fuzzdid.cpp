// SPDX-License-Identifier: GPL-2.0-or-later
// The DID reader on arbitrary text. Whatever tree it reads, written and read
// again, gives the same tree, apart from what the format cannot carry: a
// game or version date with year 0 is not written, and disk order entries
// after the first 0 do not belong to the version. Writing that tree again
// gives the same text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "database/didreader.h"
#include "database/didwriter.h"
#include "database/records.h"

namespace {

void DropWhatIsNotWritten(moswit::DatabaseInfo& database) {
  for (moswit::GameRecord& game : database.games) {
    if (game.releaseDate.year == 0) game.releaseDate = {};
    for (moswit::VersionRecord& version : game.versions) {
      if (version.releaseDate.year == 0) version.releaseDate = {};
      const size_t count = moswit::DiskCount(version.diskOrder);
      for (size_t k = count; k < version.diskOrder.size(); ++k) version.diskOrder[k] = 0;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::unique_ptr<moswit::DatabaseInfo> first = moswit::ParseDatabase(text);
  if (!first) std::abort();
  const std::string written = moswit::FormatDatabase(*first);
  std::unique_ptr<moswit::DatabaseInfo> second = moswit::ParseDatabase(written);
  DropWhatIsNotWritten(*first);
  if (!(*second == *first)) {
    std::fprintf(stderr, "tree changed by writing and reading:\n%s\n", written.c_str());
    std::abort();
  }
  if (moswit::FormatDatabase(*second) != written) std::abort();
  return 0;
}
