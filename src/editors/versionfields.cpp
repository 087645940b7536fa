// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/versionfields.h"

#include "base/numbertext.h"
#include "editors/commentmemo.h"

namespace moswit {

VersionFields LoadVersion(const VersionRecord& version) {
  VersionFields f;
  f.texts = LoadEditTexts(FieldTable<VersionRecord>(), version);
  f.comment = LoadComment(version.comment);
  f.parent = IntToDec(version.parentVersion);
  f.details = LoadPacked(PackedTable<VersionRecord>(), version);
  f.compat = LoadPacked(PackedTable<CompatInfo>(), version.compat);
  return f;
}

void StoreVersion(const VersionFields& f, VersionRecord& version) {
  StoreEditTexts(FieldTable<VersionRecord>(), f.texts, version);
  StoreComment(f.comment, version.comment);
  version.parentVersion = static_cast<uint8_t>(DecToInt(f.parent));
  StorePacked(PackedTable<VersionRecord>(), f.details, version);
  StorePacked(PackedTable<CompatInfo>(), f.compat, version.compat);
}

}  // namespace moswit
