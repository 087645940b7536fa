// SPDX-License-Identifier: GPL-2.0-or-later
#include "collection/fixdat.h"

#include "base/codepage.h"
#include "dat/wholeimage.h"

namespace moswit {

std::vector<DatEntry> MissingImages(const CollectionReport& report) {
  std::vector<DatEntry> entries;
  for (const DiskEntry& entry : report.disks) {
    if (entry.status != DiskStatus::kMissing) continue;
    const RangeRecord* range = WholeImageRange(*entry.disk);
    if (range == nullptr) continue;
    entries.push_back({Utf8FromCp1252(entry.name), WholeImageSize(*range), range->crc32});
  }
  return entries;
}

DatHeader FixDatHeader(const DatabaseInfo& database) {
  const std::string name =
      database.name.Present() ? Utf8FromCp1252(database.name.Value()) : std::string("DID");
  return {name + " - missing", "Moswit: the disks of " + name + " that no image names"};
}

std::optional<FileError> WriteFixDat(const std::string& path, const DatabaseInfo& database,
                                     const CollectionReport& report, size_t* written) {
  const std::vector<DatEntry> entries = MissingImages(report);
  if (written != nullptr) *written = entries.size();
  return WriteDat(path, FixDatHeader(database), entries);
}

}  // namespace moswit
