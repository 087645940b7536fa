// SPDX-License-Identifier: GPL-2.0-or-later
#include "database/standardnamereader.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/asciicase.h"
#include "database/standardname.h"

namespace moswit {

namespace {

constexpr unsigned kMostDisks = 255;  // disk positions are 8-bit

// Decimal as IntToDec writes it (no leading zeros), from 0 to `most`.
std::optional<unsigned> Decimal(std::string_view text, unsigned most) {
  if (text.empty() || text.size() > 5 || (text.size() > 1 && text[0] == '0')) return {};
  unsigned value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return {};
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value > most) return {};
  return value;
}

// At least two digits, zero-padded, from 1 to `most`: months, days and the
// disk number of a set of ten or more.
std::optional<unsigned> TwoDigits(std::string_view text, unsigned most) {
  if (text.size() < 2) return {};
  std::string_view digits = text;
  if (text.size() == 2 && text[0] == '0') digits.remove_prefix(1);
  std::optional<unsigned> value = Decimal(digits, most);
  if (!value || *value == 0) return {};
  return value;
}

// Any run of decimal digits (leading zeros allowed), from 1 to `most`.
std::optional<unsigned> Digits(std::string_view text, unsigned most) {
  while (text.size() > 1 && text[0] == '0') text.remove_prefix(1);
  std::optional<unsigned> value = Decimal(text, most);
  if (!value || *value == 0) return {};
  return value;
}

struct DiskNumber {
  unsigned number = 1;
  unsigned count = 1;
  std::string rest;  // the name without the group
};

// A trailing "[k|N]" (N 2 to 9) or "[kk-N]" (N from 10 to `most`), exactly
// as the builder writes them; "[k_N]" too, as organized copies are named
// ("|" is no character of a portable file name).
std::optional<DiskNumber> TrailingDiskNumber(std::string_view name, unsigned most = kMostDisks) {
  if (name.empty() || name.back() != ']') return {};
  size_t open = name.rfind('[');
  if (open == std::string_view::npos) return {};
  std::string_view inside = name.substr(open + 1, name.size() - open - 2);
  DiskNumber disk;
  size_t bar = inside.find_first_of("|_");
  if (bar != std::string_view::npos) {
    std::optional<unsigned> count = Decimal(inside.substr(bar + 1), 9);
    std::optional<unsigned> number = Decimal(inside.substr(0, bar), 9);
    if (!count || *count < 2 || !number || *number == 0 || *number > *count) return {};
    disk.number = *number;
    disk.count = *count;
  } else {
    size_t dash = inside.find('-');
    if (dash == std::string_view::npos) return {};
    std::optional<unsigned> count = Decimal(inside.substr(dash + 1), most);
    std::optional<unsigned> number = TwoDigits(inside.substr(0, dash), most);
    if (!count || *count < 10 || !number || *number > *count) return {};
    disk.number = *number;
    disk.count = *count;
  }
  disk.rest = std::string(name.substr(0, open));
  return disk;
}

// The last "(Disk k of N)" group anywhere in the name ("disk" and "of" in
// any case), taken out with one blank beside it.
std::optional<DiskNumber> DiskOfGroup(std::string_view name, unsigned most = kMostDisks) {
  const std::string upper = UpperCase(name);
  for (size_t open = upper.rfind("(DISK "); open != std::string::npos;
       open = open == 0 ? std::string::npos : upper.rfind("(DISK ", open - 1)) {
    size_t close = upper.find(')', open);
    if (close == std::string::npos) continue;
    std::string_view inside = std::string_view(upper).substr(open + 6, close - open - 6);
    size_t of = inside.find(" OF ");
    if (of == std::string_view::npos) continue;
    std::optional<unsigned> number = Digits(inside.substr(0, of), most);
    std::optional<unsigned> count = Digits(inside.substr(of + 4), most);
    if (!number || !count || *number > *count) continue;
    size_t begin = open;
    size_t end = close + 1;
    if (begin > 0 && name[begin - 1] == ' ') {
      --begin;
    } else if (end < name.size() && name[end] == ' ') {
      ++end;
    }
    DiskNumber disk{*number, *count, std::string(name.substr(0, begin))};
    disk.rest.append(name.substr(end));
    return disk;
  }
  return {};
}

// "-", or the year, then "-" and the month, then "-" and the day.
std::optional<ReleaseDate> DateOf(std::string_view text) {
  if (text == "-") return ReleaseDate{};
  ReleaseDate date;
  size_t dash = text.find('-');
  std::optional<unsigned> year = Decimal(text.substr(0, dash), UINT16_MAX);
  if (!year || *year == 0) return {};
  date.year = static_cast<uint16_t>(*year);
  if (dash == std::string_view::npos) return date;
  text.remove_prefix(dash + 1);
  dash = text.find('-');
  std::optional<unsigned> month = TwoDigits(text.substr(0, dash), UINT8_MAX);
  if (!month) return {};
  date.month = static_cast<uint8_t>(*month);
  if (dash == std::string_view::npos) return date;
  std::optional<unsigned> day = TwoDigits(text.substr(dash + 1), UINT8_MAX);
  if (!day) return {};
  date.day = static_cast<uint8_t>(*day);
  return date;
}

struct Code {
  LanguageFlags bit;
  std::string_view code;
};

// In bit order, as the languages tag writes them.
constexpr std::array<Code, 9> kLanguageCodes = {{
    {kLangEn, "En"},
    {kLangDe, "De"},
    {kLangPl, "Pl"},
    {kLangDk, "Dk"},
    {kLangSe, "Se"},
    {kLangNo, "No"},
    {kLangNl, "Nl"},
    {kLangBe, "Fr"},
    {kLangOther, "xx"},
}};

// The codes between the parentheses, in bit order, joined by "-"; "" is 0.
// English alone writes no tag, so it is no languages tag either.
std::optional<LanguageFlags> LanguagesOf(std::string_view text) {
  LanguageFlags languages = 0;
  size_t next = 0;  // codes must come in bit order
  while (!text.empty()) {
    if (languages != 0) {
      if (text[0] != '-') return {};
      text.remove_prefix(1);
    }
    while (next < kLanguageCodes.size() && !text.starts_with(kLanguageCodes[next].code)) ++next;
    if (next == kLanguageCodes.size()) return {};
    languages |= kLanguageCodes[next].bit;
    text.remove_prefix(kLanguageCodes[next].code.size());
    ++next;
  }
  if (languages == kDefaultLanguages) return {};
  return languages;
}

constexpr std::array<std::string_view, 3> kFixNames = {"AGA", "HD", "680x0"};
constexpr std::array<FixFlags, 3> kFixBits = {kFixAga, kFixHd, kFix680x0};

// The tags after the publisher, each at most once and in the builder's
// order. A tag's text may hold "]", so every "]" is tried as its end; the
// failed (position, tag) states are remembered so a name is read in time
// quadratic in its length at worst.
class TagReader {
 public:
  explicit TagReader(std::string_view text) : text_(text), failed_((text.size() + 1) * 16, 0) {}

  bool Read(size_t position, NameReading& reading) { return Tags(position, 0, false, reading); }

 private:
  enum Kind : unsigned { kLanguages, kProtection, kRelease, kCracker, kTrainer, kFixes, kModify };
  static constexpr std::array<std::string_view, 7> kPrefixes = {"(",    "[cp ", "[r ", "[cr ",
                                                                "[t +", "[f ",  "[m "};

  bool Tags(size_t position, unsigned next, bool protection, NameReading& reading) {
    if (position == text_.size()) return true;
    const size_t state = position * 16 + next * 2 + (protection ? 1 : 0);
    if (failed_[state]) return false;
    for (unsigned kind = next; kind < kPrefixes.size(); ++kind) {
      // A cracker's tag replaces the copy protection's.
      if (kind == kCracker && protection) continue;
      if (!text_.substr(position).starts_with(kPrefixes[kind])) continue;
      if (Tag(kind, position + kPrefixes[kind].size(), protection, reading)) return true;
    }
    failed_[state] = 1;
    return false;
  }

  // The tag whose prefix ends at `start`; its fields are set only when the
  // rest of the name reads too.
  bool Tag(unsigned kind, size_t start, bool protection, NameReading& reading) {
    const char close = kind == kLanguages ? ')' : ']';
    for (size_t end = text_.find(close, start); end != std::string_view::npos;
         end = text_.find(close, end + 1)) {
      std::string_view inside = text_.substr(start, end - start);
      NameReading tag;
      if (!Fields(kind, inside, tag)) continue;
      if (!Tags(end + 1, kind + 1, protection || kind == kProtection, reading)) continue;
      Take(kind, tag, reading);
      return true;
    }
    return false;
  }

  static bool Fields(unsigned kind, std::string_view inside, NameReading& tag) {
    switch (kind) {
      case kLanguages: {
        std::optional<LanguageFlags> languages = LanguagesOf(inside);
        if (!languages) return false;
        tag.languages = *languages;
        return true;
      }
      case kProtection:
        tag.protection = inside;
        return !inside.empty();
      case kRelease:
        tag.releasedBy = inside;
        return !inside.empty();
      case kCracker:
        tag.crackedBy = inside;
        return !inside.empty();
      case kTrainer:
        return Trainer(inside, tag);
      case kFixes:
        Fixes(inside, tag);
        return !inside.empty();
      case kModify:
        // "what who" and "what" read alike; all of it is the modification.
        tag.modification = inside;
        return !inside.empty();
    }
    return false;
  }

  // "5", "5 X", "6(3)", "6(3) X": options alone, or options + 1 and keys.
  static bool Trainer(std::string_view inside, NameReading& tag) {
    size_t blank = inside.find(' ');
    std::string_view count = inside.substr(0, blank);
    if (blank != std::string_view::npos) {
      tag.trainedBy = inside.substr(blank + 1);
      if (tag.trainedBy.empty()) return false;
    }
    size_t paren = count.find('(');
    unsigned options = 0;
    unsigned keys = 0;
    if (paren == std::string_view::npos) {
      std::optional<unsigned> value = Decimal(count, 255);
      if (!value) return false;
      options = *value;
    } else {
      std::optional<unsigned> plusOne = Decimal(count.substr(0, paren), 256);
      std::string_view keyText = count.substr(paren + 1);
      if (!keyText.ends_with(')')) return false;
      std::optional<unsigned> keyCount = Decimal(keyText.substr(0, keyText.size() - 1), 255);
      if (!plusOne || *plusOne == 0 || !keyCount || *keyCount == 0) return false;
      options = *plusOne - 1;
      keys = *keyCount;
    }
    tag.trainer = static_cast<TrainerCounts>(options + 256 * keys);
    // No counts and no name write no tag.
    return tag.trainer != 0 || !tag.trainedBy.empty();
  }

  // "AGA-HD X": the fix names in order, then the fixer; anything else is
  // the fixer alone.
  static void Fixes(std::string_view inside, NameReading& tag) {
    std::string_view rest = inside;
    FixFlags fixes = 0;
    for (size_t i = 0; i < kFixNames.size(); ++i) {
      std::string_view head = rest;
      if (fixes != 0) {
        if (!head.starts_with('-')) continue;
        head.remove_prefix(1);
      }
      if (!head.starts_with(kFixNames[i])) continue;
      head.remove_prefix(kFixNames[i].size());
      if (!head.empty() && head[0] != ' ' && head[0] != '-') continue;
      fixes |= kFixBits[i];
      rest = head;
    }
    if (fixes != 0 && (rest.empty() || (rest.size() > 1 && rest[0] == ' '))) {
      tag.fixes = fixes;
      tag.fixedBy = rest.empty() ? std::string_view() : rest.substr(1);
    } else {
      tag.fixedBy = inside;
    }
  }

  static void Take(unsigned kind, NameReading& tag, NameReading& reading) {
    switch (kind) {
      case kLanguages:
        reading.languages = tag.languages;
        break;
      case kProtection:
        reading.protection = std::move(tag.protection);
        break;
      case kRelease:
        reading.releasedBy = std::move(tag.releasedBy);
        break;
      case kCracker:
        reading.crackedBy = std::move(tag.crackedBy);
        break;
      case kTrainer:
        reading.trainer = tag.trainer;
        reading.trainedBy = std::move(tag.trainedBy);
        break;
      case kFixes:
        reading.fixes = tag.fixes;
        reading.fixedBy = std::move(tag.fixedBy);
        break;
      case kModify:
        reading.modification = std::move(tag.modification);
        break;
    }
  }

  std::string_view text_;
  std::vector<uint8_t> failed_;
};

// Title " (" date ")(" publisher ")" tags. The first " (" that opens a date
// after which the rest reads ends the title; the publisher ends at the
// first ")" after which the tags read.
bool ReadBody(std::string_view body, NameReading& reading) {
  TagReader tags(body);
  for (size_t open = body.find(" ("); open != std::string_view::npos;
       open = body.find(" (", open + 1)) {
    size_t close = body.find(')', open + 2);
    if (close == std::string_view::npos || close + 1 >= body.size() || body[close + 1] != '(') {
      continue;
    }
    std::optional<ReleaseDate> date = DateOf(body.substr(open + 2, close - open - 2));
    if (!date) continue;
    const size_t publisherStart = close + 2;
    for (size_t end = body.find(')', publisherStart); end != std::string_view::npos;
         end = body.find(')', end + 1)) {
      if (!tags.Read(end + 1, reading)) continue;
      std::string_view title = body.substr(0, open);
      // "AGA " stands between the title and the date for the AGA chipset.
      if (title.ends_with(" AGA")) {
        title.remove_suffix(4);
        reading.chipset = kChipsetAga;
      }
      reading.gameName = title;
      reading.releaseDate = *date;
      reading.publisher = body.substr(publisherStart, end - publisherStart);
      return true;
    }
  }
  return false;
}

std::string BuildName(const NameReading& reading) {
  GameRecord game;
  VersionRecord& version = game.versions.Append();
  version.languages = kDefaultLanguages;
  ApplyNameReading(reading, game, version);
  for (unsigned k = 1; k <= reading.diskCount; ++k) {
    game.disks.Append();
    version.diskOrder[k - 1] = static_cast<uint8_t>(k);
  }
  return StandardName(game, game.disks[reading.diskNumber - 1]);
}

// The reading of `body` as a standard name without disk number, kept only
// when it builds `body` again: texts a record cannot hold (too long, or with
// a double quote) make it fail.
bool ReadVerified(const std::string& body, NameReading& reading) {
  NameReading read = reading;
  if (!ReadBody(body, read)) return false;
  NameReading single = read;
  single.diskNumber = single.diskCount = 1;
  if (BuildName(single) != body) return false;
  read.standardForm = true;
  reading = std::move(read);
  return true;
}

}  // namespace

NameReading ReadStandardName(std::string_view name) {
  const std::optional<DiskNumber> trailing = TrailingDiskNumber(name);
  const std::optional<DiskNumber> diskOf = DiskOfGroup(name);
  // A tag's text may end like a disk number, so the whole name is tried as
  // one disk's name when the part without the number does not read.
  const DiskNumber whole{1, 1, std::string(name)};
  struct Try {
    const DiskNumber* disk;
    bool diskOfGroup;
  };
  std::vector<Try> tries;
  if (trailing) tries.push_back({&*trailing, false});
  if (diskOf) tries.push_back({&*diskOf, true});
  tries.push_back({&whole, false});
  for (const Try& attempt : tries) {
    NameReading reading;
    reading.diskNumber = attempt.disk->number;
    reading.diskCount = attempt.disk->count;
    reading.setName = attempt.disk->rest;
    reading.diskOfGroup = attempt.diskOfGroup;
    if (ReadVerified(attempt.disk->rest, reading)) return reading;
  }

  const DiskNumber& disk = trailing ? *trailing : diskOf ? *diskOf : whole;
  NameReading reading;
  reading.diskNumber = disk.number;
  reading.diskCount = disk.count;
  reading.setName = disk.rest;
  reading.diskOfGroup = !trailing && diskOf;
  reading.gameName = disk.rest;
  return reading;
}

std::optional<LargeSet> SetTooLarge(std::string_view name) {
  constexpr unsigned kAnyCount = 99999;  // the most Decimal reads
  std::optional<DiskNumber> disk = TrailingDiskNumber(name, kAnyCount);
  if (!disk) disk = DiskOfGroup(name, kAnyCount);
  if (!disk || disk->count <= kMostDisks) return std::nullopt;
  return LargeSet{std::move(disk->rest), disk->count};
}

void ApplyNameReading(const NameReading& reading, GameRecord& game, VersionRecord& version) {
  game.name = reading.gameName;
  game.releaseDate = reading.releaseDate;
  game.publisher = reading.publisher;
  version.versionName.Clear();
  version.releaseDate = {};
  version.gameName.Clear();
  version.publisher.Clear();
  version.chipset = reading.chipset;
  version.languages = reading.languages;
  version.protection = reading.protection;
  version.releasedBy = reading.releasedBy;
  version.crackedBy = reading.crackedBy;
  version.trainer = reading.trainer;
  version.trainedBy = reading.trainedBy;
  version.fixes = reading.fixes;
  version.fixedBy = reading.fixedBy;
  version.modification = reading.modification;
  version.modifiedBy.Clear();
}

}  // namespace moswit
