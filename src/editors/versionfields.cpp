// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/versionfields.h"

#include "base/numbertext.h"
#include "editors/commentmemo.h"

namespace moswit {

namespace {

struct LanguageBox {
  bool VersionFields::*box;
  LanguageFlags bit;
};

constexpr LanguageBox kLanguageBoxes[] = {
    {&VersionFields::langEn, kLangEn},       {&VersionFields::langDe, kLangDe},
    {&VersionFields::langPl, kLangPl},       {&VersionFields::langDk, kLangDk},
    {&VersionFields::langSe, kLangSe},       {&VersionFields::langNo, kLangNo},
    {&VersionFields::langNl, kLangNl},       {&VersionFields::langBe, kLangBe},
    {&VersionFields::langOther, kLangOther},
};

struct FixBox {
  bool VersionFields::*box;
  FixFlags bit;
};

constexpr FixBox kFixBoxes[] = {{&VersionFields::fixAga, kFixAga},
                                {&VersionFields::fixHd, kFixHd},
                                {&VersionFields::fix680x0, kFix680x0}};

}  // namespace

std::string DiskOrderText(const DiskOrder& order) {
  std::string text;
  for (uint8_t entry : order) {
    if (entry == 0) continue;
    if (!text.empty()) text += ", ";
    text += IntToDec(entry);
  }
  return text;
}

DiskOrder ReadDiskOrder(std::string_view text) {
  DiskOrder order{};
  size_t next = 0;
  size_t i = 0;
  while (i < text.size() && next < order.size()) {
    if (text[i] < '0' || text[i] > '9') {
      ++i;
      continue;
    }
    size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    order[next++] = static_cast<uint8_t>(DecToInt(text.substr(start, i - start)));
  }
  return order;
}

VersionFields LoadVersion(const VersionRecord& version) {
  VersionFields f;
  f.texts = LoadEditTexts(FieldTable<VersionRecord>(), version);
  f.comment = LoadComment(version.comment);
  f.releaseDate = LoadDateFields(version.releaseDate);
  f.trainerOpts = IntToDec(version.trainer & 0xFFu);
  f.trainerKeys = IntToDec(static_cast<uint32_t>(version.trainer >> 8));
  f.parent = IntToDec(version.parentVersion);
  f.chipset = version.chipset == kChipsetAga || version.chipset == kChipsetEcs ? version.chipset
                                                                               : kChipsetOcs;
  for (const FixBox& fix : kFixBoxes) f.*fix.box = (version.fixes & fix.bit) != 0;
  for (const LanguageBox& language : kLanguageBoxes) {
    f.*language.box = (version.languages & language.bit) != 0;
  }
  f.diskOrder = DiskOrderText(version.diskOrder);

  f.compat = LoadCompat(version.compat);
  return f;
}

void StoreVersion(const VersionFields& f, VersionRecord& version) {
  StoreEditTexts(FieldTable<VersionRecord>(), f.texts, version);
  StoreComment(f.comment, version.comment);
  version.releaseDate = ReadDateLeniently(f.releaseDate);
  version.trainer =
      static_cast<TrainerCounts>(DecToInt(f.trainerOpts) + 256u * DecToInt(f.trainerKeys));
  version.parentVersion = static_cast<uint8_t>(DecToInt(f.parent));
  version.chipset = f.chipset == kChipsetAga || f.chipset == kChipsetEcs ? f.chipset : kChipsetOcs;
  FixFlags fixes = 0;
  for (const FixBox& fix : kFixBoxes) {
    if (f.*fix.box) fixes |= fix.bit;
  }
  version.fixes = fixes;
  LanguageFlags languages = 0;
  for (const LanguageBox& language : kLanguageBoxes) {
    if (f.*language.box) languages |= language.bit;
  }
  version.languages = languages;
  version.diskOrder = ReadDiskOrder(f.diskOrder);

  version.compat = ComposeCompat(f.compat);
}

}  // namespace moswit
