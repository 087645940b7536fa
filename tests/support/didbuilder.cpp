// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/didbuilder.h"

#include <random>

#include "image/crc32.h"

namespace moswit::test {

DidBuilder::DidBuilder() : database_(std::make_unique<DatabaseInfo>()) {}

GameRecord& DidBuilder::Game(std::string_view name, std::string_view publisher, ReleaseDate date) {
  GameRecord& game = database_->games.Append();
  game.name = name;
  game.publisher = publisher;
  game.releaseDate = date;
  return game;
}

VersionRecord& DidBuilder::Version(GameRecord& game, std::initializer_list<uint8_t> disks) {
  VersionRecord& version = game.versions.Append();
  version.languages = kDefaultLanguages;
  size_t k = 0;
  for (uint8_t disk : disks) version.diskOrder[k++] = disk;
  return version;
}

DiskRecord& DidBuilder::Disk(GameRecord& game, std::string_view volumeName) {
  DiskRecord& disk = game.disks.Append();
  disk.name = volumeName;
  return disk;
}

DiskRecord& DidBuilder::WholeImageDisk(GameRecord& game, std::string_view name,
                                       std::span<const uint8_t> image) {
  DiskRecord& disk = Disk(game, name);
  RangeRecord& range = disk.ranges.Append();
  range.lastByte = static_cast<uint32_t>(image.size() - 1);
  range.crc32 = Crc32(image);
  return disk;
}

namespace {

class Random {
 public:
  explicit Random(uint32_t seed) : engine_(seed) {}

  uint32_t Below(uint32_t bound) {
    return bound == 0 ? 0 : std::uniform_int_distribution<uint32_t>(0, bound - 1)(engine_);
  }
  bool OneIn(uint32_t n) { return Below(n) == 0; }
  uint32_t Bits32() { return static_cast<uint32_t>(engine_()); }

  // Any bytes, quotes and line breaks included (storing a text replaces
  // those), lengths up to past the limit, and words the reader knows.
  std::string Text() {
    static constexpr std::string_view kWords[] = {"(",    ")",    "soft", "version", "name",
                                                  "\"\"", "dord", "file", "info",    ""};
    if (OneIn(3)) return {};
    if (OneIn(6)) return std::string(kWords[Below(std::size(kWords))]);
    size_t length = OneIn(10) ? RecordText::kMaxLength + Below(3) : 1 + Below(40);
    std::string text(length, ' ');
    for (char& c : text) c = static_cast<char>(Below(256));
    return text;
  }

  ReleaseDate Date() {
    if (OneIn(3)) return {};
    ReleaseDate date;
    date.year = static_cast<uint16_t>(1 + Below(9999));
    date.month = static_cast<uint8_t>(Below(100));
    date.day = static_cast<uint8_t>(Below(100));
    return date;
  }

 private:
  std::mt19937 engine_;
};

}  // namespace

std::unique_ptr<DatabaseInfo> RandomDatabase(uint32_t seed, const RandomShape& shape) {
  Random random(seed);
  auto database = std::make_unique<DatabaseInfo>();
  database->name = random.Text();
  database->creator = random.Text();
  database->date = random.Date();
  // The info date is always written, so month and day survive a year of 0.
  if (random.OneIn(4)) database->date.year = 0;

  unsigned games = random.Below(shape.maxGames + 1);
  for (unsigned g = 0; g < games; ++g) {
    GameRecord& game = database->games.Append();
    for (RecordText* text :
         {&game.name, &game.publisher, &game.developer, &game.music, &game.soundFx, &game.graphics,
          &game.code, &game.design, &game.comment}) {
      *text = random.Text();
    }
    game.releaseDate = random.Date();

    unsigned disks = random.Below(shape.maxDisks + 1);
    unsigned versions = random.Below(shape.maxVersions + 1);
    for (unsigned v = 0; v < versions; ++v) {
      VersionRecord& version = game.versions.Append();
      for (RecordText* text :
           {&version.gameName, &version.design, &version.publisher, &version.developer,
            &version.music, &version.soundFx, &version.graphics, &version.code,
            &version.versionName, &version.comment, &version.protection, &version.crackedBy,
            &version.releasedBy, &version.fixedBy, &version.trainedBy, &version.modification,
            &version.modifiedBy}) {
        *text = random.Text();
      }
      version.chipset = static_cast<ChipsetKind>(random.Below(4));
      version.releaseDate = random.Date();
      version.fixes = static_cast<FixFlags>(random.Below(256));
      version.trainer = static_cast<TrainerCounts>(random.OneIn(2) ? 0 : random.Below(65536));
      version.memChip = static_cast<uint16_t>(random.OneIn(2) ? 1024 : random.Below(65536));
      version.memSlow = static_cast<uint16_t>(random.OneIn(2) ? 0 : random.Below(65536));
      version.memFast = static_cast<uint16_t>(random.OneIn(2) ? 0 : random.Below(65536));
      version.languages = random.OneIn(2) ? kDefaultLanguages : random.Bits32();
      // Mostly the game's own disks, sometimes positions past its list.
      unsigned count = random.OneIn(20) ? 256 : random.Below(disks + 2);
      for (unsigned k = 0; k < count; ++k) {
        version.diskOrder[k] = static_cast<uint8_t>(
            1 + (random.OneIn(10) ? random.Below(255) : random.Below(disks + 1)));
      }
      if (!random.OneIn(4)) {
        CompatInfo& c = version.compat;
        c = random.OneIn(2) ? DefaultCompatInfo() : CompatInfo{};
        c.cpu = static_cast<uint16_t>(random.Bits32());
        c.chipsetEmulation = static_cast<uint8_t>(random.Bits32());
        c.floppy = static_cast<uint16_t>(random.Bits32());
        c.specialChipKb = static_cast<uint16_t>(random.Bits32());
        c.winFellow = random.Bits32();
        c.winUae = random.Bits32();
      }
    }

    for (unsigned d = 0; d < disks; ++d) {
      DiskRecord& disk = game.disks.Append();
      disk.name = random.Text();
      disk.comment = random.Text();
      disk.nameMustMatch = static_cast<uint8_t>(random.Below(2));
      unsigned files = random.Below(shape.maxFiles + 1);
      for (unsigned f = 0; f < files; ++f) {
        FileRecord& file = disk.files.Append();
        file.path = random.Text();
        file.description = random.Text();
        file.size = random.Bits32();
        file.crc32 = random.Bits32();
        file.attributes = random.Bits32();
      }
      unsigned ranges = random.Below(shape.maxRanges + 1);
      for (unsigned r = 0; r < ranges; ++r) {
        RangeRecord& range = disk.ranges.Append();
        range.description = random.Text();
        range.firstByte = random.Bits32();
        range.lastByte = random.Bits32();
        range.crc32 = random.Bits32();
        range.attributes = random.Bits32();
      }
    }
  }
  return database;
}

std::vector<DiskRecord*> FindVersionDisks(const GameRecord& game, const VersionRecord& version) {
  std::vector<DiskRecord*> disks;
  const size_t count = DiskCount(version.diskOrder);
  disks.reserve(count);
  for (size_t k = 0; k < count; ++k) disks.push_back(game.disks.AtPosition(version.diskOrder[k]));
  return disks;
}

std::string Crlf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

}  // namespace moswit::test
