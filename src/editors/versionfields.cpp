#include "editors/versionfields.h"

#include "editors/commentmemo.h"
#include "base/numbertext.h"

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

uint16_t Read16(const std::string& text) { return static_cast<uint16_t>(DecToInt(text)); }

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
  f.gameName = LoadText(version.gameName);
  f.publisher = LoadText(version.publisher);
  f.developer = LoadText(version.developer);
  f.code = LoadText(version.code);
  f.graphics = LoadText(version.graphics);
  f.soundFx = LoadText(version.soundFx);
  f.music = LoadText(version.music);
  f.design = LoadText(version.design);
  f.comment = LoadComment(version.comment);

  f.versionName = LoadText(version.versionName);
  f.protection = LoadText(version.protection);
  f.crackedBy = LoadText(version.crackedBy);
  f.releasedBy = LoadText(version.releasedBy);
  f.fixedBy = LoadText(version.fixedBy);
  f.modification = LoadText(version.modification);
  f.modifiedBy = LoadText(version.modifiedBy);
  f.trainedBy = LoadText(version.trainedBy);
  f.releaseDate = LoadDateFields(version.releaseDate);
  f.memChip = IntToDec(version.memChip);
  f.memSlow = IntToDec(version.memSlow);
  f.memFast = IntToDec(version.memFast);
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
  StoreText(version.gameName, f.gameName);
  StoreText(version.publisher, f.publisher);
  StoreText(version.developer, f.developer);
  StoreText(version.code, f.code);
  StoreText(version.graphics, f.graphics);
  StoreText(version.soundFx, f.soundFx);
  StoreText(version.music, f.music);
  StoreText(version.design, f.design);
  StoreComment(f.comment, version.comment);

  StoreText(version.versionName, f.versionName);
  StoreText(version.protection, f.protection);
  StoreText(version.crackedBy, f.crackedBy);
  StoreText(version.releasedBy, f.releasedBy);
  StoreText(version.fixedBy, f.fixedBy);
  StoreText(version.modification, f.modification);
  StoreText(version.modifiedBy, f.modifiedBy);
  StoreText(version.trainedBy, f.trainedBy);
  version.releaseDate = ReadDateLeniently(f.releaseDate);
  version.memChip = Read16(f.memChip);
  version.memSlow = Read16(f.memSlow);
  version.memFast = Read16(f.memFast);
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
