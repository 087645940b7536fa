// SPDX-License-Identifier: GPL-2.0-or-later
#include "database/standardname.h"

#include <bitset>
#include <string_view>
#include <vector>

#include "base/numbertext.h"

namespace moswit {

namespace {

enum class Tag {
  kLanguages,
  kCopyProtection,
  kReleaseGroup,
  kCracker,
  kTrainer,
  kFixes,
  kModification
};

constexpr Tag kNameTagOrder[] = {Tag::kLanguages,   Tag::kCopyProtection, Tag::kReleaseGroup,
                                 Tag::kCracker,     Tag::kTrainer,        Tag::kFixes,
                                 Tag::kModification};

struct LanguageCode {
  LanguageFlags bit;
  std::string_view code;
};

constexpr LanguageCode kLanguageCodes[] = {
    {kLangEn, "En"}, {kLangDe, "De"}, {kLangPl, "Pl"}, {kLangDk, "Dk"},    {kLangSe, "Se"},
    {kLangNo, "No"}, {kLangNl, "Nl"}, {kLangBe, "Fr"}, {kLangOther, "xx"},
};

struct FixName {
  FixFlags bit;
  std::string_view name;
};

constexpr FixName kFixNames[] = {{kFixAga, "AGA"}, {kFixHd, "HD"}, {kFix680x0, "680x0"}};

std::string TwoDigits(unsigned value) {
  std::string text = IntToDec(value);
  if (text.size() < 2) text.insert(0, 1, '0');
  return text;
}

std::string LanguagesTag(LanguageFlags languages) {
  if (languages == kDefaultLanguages) return {};
  std::string text = "(";
  bool first = true;
  for (const LanguageCode& language : kLanguageCodes) {
    if ((languages & language.bit) == 0) continue;
    if (!first) text.push_back('-');
    text.append(language.code);
    first = false;
  }
  text.push_back(')');
  return text;
}

std::string TrainerTag(const VersionRecord& version) {
  if (version.trainer == 0 && !version.trainedBy.Present()) return {};
  unsigned options = version.trainer & 0xFFu;
  unsigned keys = static_cast<unsigned>(version.trainer >> 8);
  std::string text = "[t +";
  if (keys == 0) {
    text += IntToDec(options);
  } else {
    text += IntToDec(options + 1) + "(" + IntToDec(keys) + ")";
  }
  if (version.trainedBy.Present()) {
    text.push_back(' ');
    text.append(version.trainedBy.Value());
  }
  text.push_back(']');
  return text;
}

std::string FixesTag(const VersionRecord& version) {
  if (version.fixes == 0 && !version.fixedBy.Present()) return {};
  std::string text = "[f ";
  if (version.fixes == 0) {
    text.append(version.fixedBy.Value());
  } else {
    bool first = true;
    for (const FixName& fix : kFixNames) {
      if ((version.fixes & fix.bit) == 0) continue;
      if (!first) text.push_back('-');
      text.append(fix.name);
      first = false;
    }
    if (version.fixedBy.Present()) {
      text.push_back(' ');
      text.append(version.fixedBy.Value());
    }
  }
  text.push_back(']');
  return text;
}

std::string ModificationTag(const VersionRecord& version) {
  const RecordText& what = version.modification;
  const RecordText& who = version.modifiedBy;
  if (!what.Present() && !who.Present()) return {};
  std::string text = "[m ";
  if (what.Present() && who.Present()) {
    text.append(what.Value());
    text.push_back(' ');
    text.append(who.Value());
  } else {
    text.append(what.Present() ? what.Value() : who.Value());
  }
  text.push_back(']');
  return text;
}

std::string Bracketed(std::string_view head, const RecordText& text) {
  std::string tag = "[";
  tag.append(head);
  tag.append(text.Value());
  tag.push_back(']');
  return tag;
}

std::string TagText(const VersionRecord& version, Tag tag) {
  switch (tag) {
    case Tag::kLanguages:
      return LanguagesTag(version.languages);
    case Tag::kCopyProtection:
      if (!version.protection.Present() || version.crackedBy.Present()) return {};
      return Bracketed("cp ", version.protection);
    case Tag::kReleaseGroup:
      return version.releasedBy.Present() ? Bracketed("r ", version.releasedBy) : std::string();
    case Tag::kCracker:
      return version.crackedBy.Present() ? Bracketed("cr ", version.crackedBy) : std::string();
    case Tag::kTrainer:
      return TrainerTag(version);
    case Tag::kFixes:
      return FixesTag(version);
    case Tag::kModification:
      return ModificationTag(version);
  }
  return {};
}

// 1991, 1991-03 or 1991-03-05; the day only follows a month.
std::string DateText(const ReleaseDate& date) {
  std::string text = IntToDec(date.year);
  if (date.month != 0) {
    text += "-" + TwoDigits(date.month);
    if (date.day != 0) text += "-" + TwoDigits(date.day);
  }
  return text;
}

// The version's own text where it has one that differs, else the game's.
std::string_view Overridden(const RecordText& own, const RecordText& game) {
  return own.Present() && own.Value() != game.Value() ? own.Value() : game.Value();
}

}  // namespace

std::string StandardName(const GameRecord& game, const DiskRecord& disk) {
  size_t position = game.disks.PositionOf(&disk);

  std::vector<const VersionRecord*> users;
  for (const VersionRecord& version : game.versions) {
    size_t count = DiskCount(version.diskOrder);
    for (size_t k = 0; k < count; ++k) {
      if (version.diskOrder[k] == position) users.push_back(&version);
    }
  }
  if (users.empty()) return std::string(disk.name.Value());

  const VersionRecord& first = *users.front();
  bool shared = users.size() > 1;

  // Versions that have any disk in common with the first user.
  std::bitset<256> firstDisks;
  for (uint8_t entry : first.diskOrder) {
    if (entry != 0) firstDisks.set(entry);
  }
  std::vector<const VersionRecord*> related;
  for (const VersionRecord& version : game.versions) {
    if (&version == &first) continue;
    for (uint8_t entry : version.diskOrder) {
      if (entry != 0 && firstDisks.test(entry)) {
        related.push_back(&version);
        break;
      }
    }
  }

  std::string body(Overridden(first.gameName, game.name));
  body.push_back(' ');
  if (first.chipset == kChipsetAga) body += "AGA ";
  if (first.versionName.Present()) {
    body.append(first.versionName.Value());
    body.push_back(' ');
  }
  body.push_back('(');
  if (first.releaseDate.year != 0) {
    body += DateText(first.releaseDate);
  } else if (game.releaseDate.year != 0) {
    body += DateText(game.releaseDate);
  } else {
    body.push_back('-');
  }
  body += ")(";
  body.append(Overridden(first.publisher, game.publisher));
  body.push_back(')');

  // A tag all users agree on goes into the body; when a related version
  // differs, it goes after the disk number and "[mv]" instead.
  std::string tail;
  for (Tag tag : kNameTagOrder) {
    std::string text = TagText(first, tag);
    bool same = true;
    for (size_t u = 1; u < users.size() && same; ++u) same = TagText(*users[u], tag) == text;
    if (!same) continue;
    bool differs = false;
    for (size_t r = 0; r < related.size() && !differs; ++r)
      differs = TagText(*related[r], tag) != text;
    (differs ? tail : body) += text;
  }

  size_t p = 0;
  while (first.diskOrder[p] != position) ++p;  // the first user lists it
  size_t count = p;
  while (count < first.diskOrder.size() && first.diskOrder[count] != 0) ++count;
  unsigned number = static_cast<unsigned>(p + 1);
  unsigned total = static_cast<unsigned>(count);
  if (total >= 2 && total <= 9) {
    body += "[" + IntToDec(number) + "|" + IntToDec(total) + "]";
  } else if (total >= 10) {
    body += "[" + TwoDigits(number) + "-" + IntToDec(total) + "]";
  }

  if (shared) body += "[mv]";
  return body + tail;
}

std::string VersionTagString(const GameRecord& game, const VersionRecord& version) {
  (void)game;  // tags depend on the version alone
  std::string text;
  for (Tag tag : {Tag::kLanguages, Tag::kCopyProtection, Tag::kCracker, Tag::kTrainer, Tag::kFixes,
                  Tag::kModification}) {
    text += TagText(version, tag);
  }
  return text;
}

}  // namespace moswit
