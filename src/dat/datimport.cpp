// SPDX-License-Identifier: GPL-2.0-or-later
#include "dat/datimport.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "base/asciicase.h"
#include "base/codepage.h"
#include "base/numbertext.h"
#include "dat/wholeimage.h"

namespace moswit {

namespace {

constexpr std::string_view kAdfEnding = ".ADF";

// A disk's name, size and CRC as one text.
std::string DiskKey(std::string_view name, uint64_t size, uint32_t crc) {
  std::string key(name);
  key.push_back('\0');
  key += IntToHex(static_cast<uint32_t>(size >> 32), 8) + IntToHex(static_cast<uint32_t>(size), 8);
  key += IntToHex(crc, 8);
  return key;
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

// The parenthesised parts from `at` on, past bracketed ones, up to the
// first text outside both.
std::vector<std::string_view> Parenthesised(std::string_view name, size_t at) {
  std::vector<std::string_view> parts;
  while (at < name.size()) {
    if (name[at] == ' ') {
      ++at;
      continue;
    }
    const char close = name[at] == '(' ? ')' : name[at] == '[' ? ']' : '\0';
    if (close == '\0') break;
    const size_t end = name.find(close, at);
    if (end == std::string_view::npos) break;
    if (close == ')') parts.push_back(name.substr(at + 1, end - at - 1));
    at = end + 1;
  }
  return parts;
}

// A DID text: Windows-1252, no '"', at most 255 letters; with whether it
// had to change.
RecordText DidTextOf(std::string_view utf8, bool* changed = nullptr) {
  const Cp1252Text converted = Cp1252FromUtf8(utf8);
  RecordText text(converted.text);
  if (changed != nullptr) *changed = converted.replaced > 0 || text.Value() != converted.text;
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
  const size_t end = std::min(name.find(" ("), name.find(" ["));
  DatTitle read;
  if (end == 0 || end == std::string_view::npos) {
    read.title = name;
    return read;
  }
  read.title = name.substr(0, end);
  while (read.title.ends_with(' ')) read.title.pop_back();
  const std::vector<std::string_view> parts = Parenthesised(name, end);
  for (size_t i = 0; i < parts.size() && i < 2; ++i) {
    const std::optional<ReleaseDate> date = ReadDate(parts[i]);
    if (!date) continue;
    read.date = *date;
    if (i + 1 < parts.size() && parts[i + 1] != "-") read.publisher = parts[i + 1];
    break;
  }
  return read;
}

DatImport::DatImport(const DatabaseInfo& database) {
  for (const GameRecord& game : database.games) {
    for (const DiskRecord& disk : game.disks) {
      if (const RangeRecord* range = WholeImageRange(disk)) {
        known_.insert(DiskKey(disk.name.Value(), WholeImageSize(*range), range->crc32));
      }
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
  if (!known_.insert(DiskKey(name.Value(), *rom.size, *rom.crc)).second) {
    ++counts_.repeated;
    return;
  }
  // A game without a name is titled by its ROM.
  DiskRecord& disk = GameOf(rom.game.empty() ? stem : rom.game).disks.Append();
  disk.name = std::move(name);
  AppendWholeImageRange(disk, *rom.size, *rom.crc);
  ++counts_.disks;
  if (changed) ++counts_.namesChanged;
}

GameRecord& DatImport::GameOf(std::string_view name) {
  DatTitle read = ReadDatTitle(name);
  const auto [found, added] = titles_.try_emplace(read.title);
  Title& title = found->second;
  if (added) {
    title.game = games_.games.Size();
    GameRecord& game = games_.games.Append();
    game.name = DidTextOf(read.title);
    game.releaseDate = read.date;
    game.publisher = DidTextOf(read.publisher);
    ++counts_.games;
    return game;
  }
  GameRecord& game = games_.games[title.game];
  // What the disks of a title do not agree on, the game does not claim.
  if (title.sameDate && !(game.releaseDate == read.date)) {
    title.sameDate = false;
    game.releaseDate = {};
  }
  if (title.samePublisher && !(game.publisher == DidTextOf(read.publisher))) {
    title.samePublisher = false;
    game.publisher.Clear();
  }
  return game;
}

GameRecord* DatImport::MoveInto(DatabaseInfo& database) {
  GameRecord* first = nullptr;
  for (GameRecord& game : games_.games) {
    GameRecord& moved = database.games.Append();
    moved = std::move(game);
    if (first == nullptr) first = &moved;
  }
  games_.games = {};
  titles_.clear();
  return first;
}

}  // namespace moswit
