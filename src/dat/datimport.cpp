// SPDX-License-Identifier: GPL-2.0-or-later
#include "dat/datimport.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "base/asciicase.h"
#include "base/codepage.h"
#include "base/numbertext.h"
#include "dat/wholeimage.h"

namespace moswit {

namespace {

constexpr std::string_view kAdfEnding = ".ADF";

uint64_t KnownKey(uint32_t lastByte, uint32_t crc) { return uint64_t{crc} << 32 | lastByte; }

// The first slot to try of `slots` (a power of two): the CRC's bits, mixed
// with the size's, are well spread already.
size_t SlotOf(uint64_t key, size_t slots) {
  return static_cast<size_t>((key >> 32) ^ (key * 0x9E3779B97F4A7C15u >> 40)) & (slots - 1);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal number `text` spells, or 0 when a digit is unknown ("x").
unsigned Number(std::string_view text) {
  unsigned value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return 0;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  return value;
}

// 1990, 1990-03, 1990-03-05, any digit of them "x".
std::optional<ReleaseDate> ReadDate(std::string_view text) {
  if (text.size() != 4 && text.size() != 7 && text.size() != 10) return std::nullopt;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool fits = (i == 4 || i == 7) ? c == '-' : IsDigit(c) || c == 'x' || c == 'X';
    if (!fits) return std::nullopt;
  }
  ReleaseDate date;
  date.year = static_cast<uint16_t>(Number(text.substr(0, 4)));
  if (date.year == 0) return date;
  const unsigned month = text.size() >= 7 ? Number(text.substr(5, 2)) : 0;
  if (month < 1 || month > 12) return date;
  date.month = static_cast<uint8_t>(month);
  const unsigned day = text.size() == 10 ? Number(text.substr(8, 2)) : 0;
  if (day >= 1 && day <= 31) date.day = static_cast<uint8_t>(day);
  return date;
}

// The next parenthesised part from `at` on, past bracketed ones, up to
// the first text outside both; `at` moves past it.
std::optional<std::string_view> NextParenthesised(std::string_view name, size_t& at) {
  while (at < name.size()) {
    if (name[at] == ' ') {
      ++at;
      continue;
    }
    const char close = name[at] == '(' ? ')' : name[at] == '[' ? ']' : '\0';
    if (close == '\0') break;
    const size_t end = name.find(close, at);
    if (end == std::string_view::npos) break;
    const size_t open = at;
    at = end + 1;
    if (close == ')') return name.substr(open + 1, end - open - 1);
  }
  return std::nullopt;
}

// ReadDatTitle without copies: views into the name.
struct TitleParts {
  std::string_view title;
  ReleaseDate date;
  std::string_view publisher;
};

// Where the first " (" or " [" starts.
size_t TitleEnd(std::string_view name) {
  for (size_t at = name.find(' '); at != std::string_view::npos && at + 1 < name.size();
       at = name.find(' ', at + 1)) {
    if (name[at + 1] == '(' || name[at + 1] == '[') return at;
  }
  return std::string_view::npos;
}

TitleParts SplitTitle(std::string_view name) {
  const size_t end = TitleEnd(name);
  TitleParts read{name, {}, {}};
  if (end == 0 || end == std::string_view::npos) return read;
  read.title = name.substr(0, end);
  while (read.title.ends_with(' ')) read.title.remove_suffix(1);
  size_t at = end;
  for (unsigned i = 0; i < 2; ++i) {
    const std::optional<std::string_view> part = NextParenthesised(name, at);
    if (!part) break;
    const std::optional<ReleaseDate> date = ReadDate(*part);
    if (!date) continue;
    read.date = *date;
    const std::optional<std::string_view> publisher = NextParenthesised(name, at);
    if (publisher && *publisher != "-") read.publisher = *publisher;
    break;
  }
  return read;
}

bool IsAscii(std::string_view text) {
  uint64_t any = 0;
  size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    uint64_t word = 0;
    std::memcpy(&word, text.data() + at, sizeof word);
    any |= word;
  }
  for (; at < text.size(); ++at) any |= static_cast<uint8_t>(text[at]);
  return (any & 0x8080808080808080u) == 0;
}

// A control character a DAT can only spell as a character reference, and
// that no DAT written back may hold: it becomes '?', as the DAT writer
// writes it. Tab stays; line ends become blanks in the record text.
bool IsStrayControl(char c) {
  return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r' && c != '\n';
}

// A DID text: Windows-1252, no '"', no stray control characters, at most
// 255 letters; with whether it had to change.
RecordText DidTextOf(std::string_view utf8, bool* changed = nullptr) {
  // Most DAT texts are ASCII, which Windows-1252 holds as it is.
  std::string converted;
  std::string_view value = utf8;
  size_t replaced = 0;
  if (!IsAscii(utf8)) {
    Cp1252Text cp1252 = Cp1252FromUtf8(utf8);
    converted = std::move(cp1252.text);
    replaced = cp1252.replaced;
    value = converted;
  }
  if (std::any_of(value.begin(), value.end(), IsStrayControl)) {
    if (converted.empty()) converted = value;
    std::replace_if(converted.begin(), converted.end(), IsStrayControl, '?');
    replaced += 1;
    value = converted;
  }
  RecordText text(value);
  if (changed != nullptr) *changed = replaced > 0 || text.Value() != value;
  return text;
}

}  // namespace

std::string DatImportSummary(const DatImportCounts& counts) {
  const auto n = [](size_t value) { return std::to_string(value); };
  return n(counts.games) + " games, " + n(counts.disks) + " disks; " + n(counts.Skipped()) +
         " ROMs skipped (" + n(counts.notAdf) + " not ADF, " + n(counts.unusable) +
         " without CRC or size, " + n(counts.repeated) + " repeated); " + n(counts.namesChanged) +
         " names changed";
}

DatTitle ReadDatTitle(std::string_view name) {
  const TitleParts parts = SplitTitle(name);
  return {std::string(parts.title), parts.date, std::string(parts.publisher)};
}

DatImport::DatImport(const DatabaseInfo& database) {
  for (const GameRecord& game : database.games) {
    for (const DiskRecord& disk : game.disks) {
      if (const RangeRecord* range = WholeImageRange(disk)) Know(disk, *range);
    }
  }
}

std::optional<FileError> DatImport::Read(const std::string& path) {
  return ReadDatFile(path, [this](const DatRom& rom) { Add(rom); });
}

void DatImport::Add(const DatRom& rom) {
  if (!EndsWithUpper(rom.name, kAdfEnding)) {
    ++counts_.notAdf;
    return;
  }
  const std::string_view stem = rom.name.substr(0, rom.name.size() - kAdfEnding.size());
  if (stem.empty() || !rom.crc || !rom.size || *rom.size <= kOneTrack) {
    ++counts_.unusable;
    return;
  }
  bool changed = false;
  RecordText name = DidTextOf(stem, &changed);
  if (Known(name, *rom.size - 1, *rom.crc)) {
    ++counts_.repeated;
    return;
  }
  // A game without a name is titled by its ROM.
  DiskRecord& disk = GameOf(rom.game.empty() ? stem : rom.game).disks.Append();
  disk.name = std::move(name);
  Know(disk, AppendWholeImageRange(disk, *rom.size, *rom.crc));
  ++counts_.disks;
  if (changed) ++counts_.namesChanged;
}

bool DatImport::Known(const RecordText& name, uint32_t lastByte, uint32_t crc) const {
  if (known_.empty()) return false;
  const uint64_t key = KnownKey(lastByte, crc);
  for (size_t at = SlotOf(key, known_.size()); known_[at].disk != nullptr;
       at = (at + 1) & (known_.size() - 1)) {
    if (known_[at].key == key && known_[at].disk->name == name) return true;
  }
  return false;
}

void DatImport::Know(const DiskRecord& disk, const RangeRecord& whole) {
  // At most half the slots are taken, so every probe ends at a free one.
  if (2 * (knownCount_ + 1) > known_.size()) {
    std::vector<KnownDisk> old(std::max<size_t>(1024, 2 * known_.size()));
    old.swap(known_);
    knownCount_ = 0;
    for (const KnownDisk& known : old) {
      if (known.disk != nullptr) Insert(known);
    }
  }
  Insert({KnownKey(whole.lastByte, whole.crc32), &disk});
}

void DatImport::Insert(const KnownDisk& known) {
  size_t at = SlotOf(known.key, known_.size());
  while (known_[at].disk != nullptr) at = (at + 1) & (known_.size() - 1);
  known_[at] = known;
  ++knownCount_;
}

GameRecord& DatImport::GameOf(std::string_view name) {
  const TitleParts read = SplitTitle(name);
  // A DAT is sorted by name: most ROMs have the title of the one before.
  if (last_ == nullptr || last_->first != read.title) {
    auto found = titles_.find(read.title);
    if (found == titles_.end()) {
      found = titles_.emplace(read.title, Title{games_.games.Size(), std::string(read.publisher)})
                  .first;
      last_ = &*found;
      GameRecord& game = games_.games.Append();
      game.name = DidTextOf(read.title);
      game.releaseDate = read.date;
      game.publisher = DidTextOf(read.publisher);
      ++counts_.games;
      return game;
    }
    last_ = &*found;
  }
  Title& title = last_->second;
  GameRecord& game = games_.games[title.game];
  // What the disks of a title do not agree on, the game does not claim.
  if (title.sameDate && !(game.releaseDate == read.date)) {
    title.sameDate = false;
    game.releaseDate = {};
  }
  if (title.samePublisher && title.publisher != read.publisher) {
    title.samePublisher = false;
    game.publisher.Clear();
  }
  return game;
}

GameRecord* DatImport::MoveInto(DatabaseInfo& database) {
  GameRecord* first = nullptr;
  if (database.games.Empty()) {
    // A new DID, as import-dat makes: the games as they stand.
    database.games = std::move(games_.games);
    first = database.games.AtPosition(1);
  } else {
    for (GameRecord& game : games_.games) {
      GameRecord& moved = database.games.Append();
      moved = std::move(game);
      if (first == nullptr) first = &moved;
    }
  }
  games_.games = {};
  titles_.clear();
  last_ = nullptr;
  return first;
}

}  // namespace moswit
