// SPDX-License-Identifier: GPL-2.0-or-later
// The DAT reader on arbitrary bytes (XML, or a ZIP holding it) and the
// import of what it reads. Every disk made has one whole-image range; the
// DID of the import reads back as the same tree; and the DAT written of its
// disks, as report --fixdat writes one, imports as the same disks again
// (grouped by their own names, so in another order).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "base/codepage.h"
#include "dat/datimport.h"
#include "dat/datreader.h"
#include "dat/datwriter.h"
#include "dat/wholeimage.h"
#include "database/didreader.h"
#include "database/didwriter.h"

namespace {

using moswit::DatabaseInfo;

// Small enough that a ZIP declaring more fails at once.
constexpr uint32_t kMaxUnzipped = 1u << 20;

bool Import(std::string_view bytes, DatabaseInfo& database, moswit::DatImportCounts* counts) {
  moswit::DatImport import(database);
  const std::optional<moswit::DatFault> fault = moswit::ParseDat(
      bytes, [&](const moswit::DatRom& rom) { import.Add(rom); }, kMaxUnzipped);
  if (fault) {
    if (fault->reason.empty()) std::abort();
    return false;
  }
  import.MoveInto(database);
  *counts = import.Counts();
  return true;
}

// Every disk with its name and range, in database order.
std::vector<moswit::DatEntry> Disks(const DatabaseInfo& database) {
  std::vector<moswit::DatEntry> disks;
  for (const moswit::GameRecord& game : database.games) {
    if (!game.versions.Empty()) std::abort();
    for (const moswit::DiskRecord& disk : game.disks) {
      const moswit::RangeRecord* range = moswit::WholeImageRange(disk);
      if (range == nullptr || disk.ranges.Size() != 1 || !disk.files.Empty()) std::abort();
      disks.push_back({moswit::Utf8FromCp1252(disk.name.Value()), moswit::WholeImageSize(*range),
                       range->crc32});
    }
  }
  return disks;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DatabaseInfo database;
  moswit::DatImportCounts counts;
  if (!Import({reinterpret_cast<const char*>(data), size}, database, &counts)) return 0;
  const std::vector<moswit::DatEntry> disks = Disks(database);
  if (disks.size() != counts.disks) std::abort();

  const std::string did = moswit::FormatDatabase(database);
  if (!(*moswit::ParseDatabase(did) == database)) {
    std::fprintf(stderr, "the import's DID reads back otherwise:\n%s\n", did.c_str());
    std::abort();
  }

  DatabaseInfo again;
  moswit::DatImportCounts againCounts;
  const std::string dat = moswit::FormatDat({"fuzz", "fuzz"}, disks);
  if (!Import(dat, again, &againCounts) && !disks.empty()) {
    std::fprintf(stderr, "the DAT written reads as none:\n%s\n", dat.c_str());
    std::abort();
  }
  // The same disks, not in the same order: the written DAT names each
  // game by its disk, so disks of one name grouped apart come together.
  std::vector<moswit::DatEntry> read = Disks(again);
  std::vector<moswit::DatEntry> written = disks;
  const auto order = [](const moswit::DatEntry& a, const moswit::DatEntry& b) {
    return std::tie(a.name, a.size, a.crc) < std::tie(b.name, b.size, b.crc);
  };
  std::sort(read.begin(), read.end(), order);
  std::sort(written.begin(), written.end(), order);
  bool same = read.size() == written.size() && againCounts.namesChanged == 0;
  for (size_t i = 0; same && i < read.size(); ++i) {
    same = read[i].name == written[i].name && read[i].size == written[i].size &&
           read[i].crc == written[i].crc;
  }
  if (!same) {
    std::fprintf(stderr, "the DAT written imports otherwise:\n%s\n", dat.c_str());
    std::abort();
  }
  return 0;
}
