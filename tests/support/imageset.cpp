// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/imageset.h"

#include "database/attributes.h"
#include "image/adf.h"
#include "image/blocklayout.h"
#include "image/crc32.h"
#include "image/filesystem.h"
#include "image/geometry.h"

namespace moswit::test {

namespace {

void AddGameFiles(AdfBuilder& builder, uint32_t seed) {
  builder.AddFile("/s/startup-sequence", PatternBytes(40, seed));
  builder.AddFile("/game", PatternBytes(20'000, seed + 1));
  builder.AddFile("/data/level1", PatternBytes(3'000, seed + 2));
  builder.AddFile("/data/level2", PatternBytes(1, seed + 3));
  builder.AddFile("/data/empty", {});
  builder.AddFile("/save/slot1", PatternBytes(700, seed + 4));
  builder.AddFile("/highscores", PatternBytes(64, seed + 5));
}

Bytes Formatted(AdfBuilder::Options options, uint32_t seed) {
  AdfBuilder builder(options);
  AddGameFiles(builder, seed);
  return builder.Build();
}

struct Maker {
  const char* name;
  Bytes (*make)();
};

Bytes ExtensionBlocks(bool ffs) {
  // More than 72 data blocks: the table goes on in extension blocks.
  AdfBuilder large({.ffs = ffs, .volume = "Large"});
  large.AddFile("/big", PatternBytes(ffs ? 150'000 : 80'000, 40));
  large.AddFile("/small", PatternBytes(100, 41));
  return large.Build();
}

const Maker kMakers[] = {
    {"ofs-game", [] { return Formatted({.volume = "OfsGame"}, 10); }},
    {"ffs-game", [] { return Formatted({.ffs = true, .volume = "FfsGame"}, 20); }},
    {"ffs-intl-dircache",
     [] {
       return Formatted({.ffs = true, .international = true, .dirCache = true, .volume = "Intl"},
                        30);
     }},
    {"empty", [] { return AdfBuilder({.volume = "Empty"}).Build(); }},
    {"ofs-extension-blocks", [] { return ExtensionBlocks(false); }},
    {"ffs-extension-blocks", [] { return ExtensionBlocks(true); }},
    {"hash-chains",
     [] {
       // 150 files in 72 hash slots: most slots hold chains.
       AdfBuilder many({.volume = "Many"});
       for (unsigned i = 0; i < 150; ++i) {
         many.AddFile("/f" + std::to_string(i), PatternBytes(10 + i, 50 + i));
       }
       return many.Build();
     }},
    {"deep-directories",
     [] {
       AdfBuilder deep({.ffs = true, .volume = "Deep"});
       std::string path;
       for (unsigned depth = 0; depth < 24; ++depth) {
         path += "/directory" + std::to_string(depth);
         deep.AddFile(path + "/file", PatternBytes(600, 300 + depth));
       }
       return deep.Build();
     }},
    {"twice-a-floppy", [] { return Formatted({.ffs = true, .blocks = 3520, .volume = "Hd"}, 60); }},
    {"truncated",
     [] {
       // A floppy cut after its last used block.
       Bytes cut = Formatted({.volume = "Cut"}, 70);
       cut.resize(static_cast<size_t>(940) * kBlockSize);
       return cut;
     }},
};

}  // namespace

std::vector<std::string> BuilderImageNames() {
  std::vector<std::string> names;
  for (const Maker& maker : kMakers) names.push_back(maker.name);
  return names;
}

Bytes BuilderImage(const std::string& name) {
  for (const Maker& maker : kMakers) {
    if (name == maker.name) return maker.make();
  }
  return {};
}

std::vector<NamedImage> BuilderImageSet() {
  std::vector<NamedImage> set;
  for (const Maker& maker : kMakers) set.push_back({maker.name, maker.make()});
  return set;
}

std::unique_ptr<DatabaseInfo> ImageSetDatabase(const std::vector<NamedImage>& images) {
  auto database = std::make_unique<DatabaseInfo>();
  database->name = "Image set";
  for (const NamedImage& named : images) {
    tADF image;
    image.FileName = named.name;
    image.Data = named.bytes;
    image.Size = static_cast<uint32_t>(named.bytes.size());

    GameRecord& game = database->games.Append();
    game.name = named.name;
    VersionRecord& version = game.versions.Append();
    version.languages = kDefaultLanguages;
    version.diskOrder[0] = 1;
    DiskRecord& disk = game.disks.Append();
    const uint32_t root = RootBlock(image);
    disk.name = BlockName(image, root);
    disk.nameMustMatch = 1;

    unsigned n = 0;
    for (const FileEntry& entry : ListFiles(image, ImageIsFfs(image))) {
      FileRecord& file = disk.files.Append();
      file.path = entry.Path;
      file.size = entry.Size;
      file.crc32 = entry.Crc;
      static constexpr AttributeFlags kKinds[] = {
          kAttrGame, kAttrGame | kAttrOptional, kAttrAddendum | kAttrSavegame,
          kAttrGame | kAttrHighscores, kAttrPreGame | kAttrCracktro};
      file.attributes = kKinds[n++ % std::size(kKinds)];
      if (entry.Path.starts_with("/data/")) file.path = "/data/*";
    }
    FileRecord& trainer = disk.files.Append();
    trainer.path = "/trainer?";
    trainer.attributes = kAttrAddendum | kAttrTrainer;

    auto addRange = [&](uint32_t first, uint32_t last, AttributeFlags attributes) {
      RangeRecord& range = disk.ranges.Append();
      range.firstByte = first;
      range.lastByte = last;
      range.attributes = attributes;
      if (last < image.Size && first <= last) {
        range.crc32 = Crc32({image.Data.data() + first, size_t{last} - first + 1});
      }
    };
    addRange(0, 2 * kBlockSize - 1, kAttrBoot);
    addRange(root * kBlockSize, root * kBlockSize + kBlockSize - 1, kAttrGame);
    addRange(image.Size, image.Size + kBlockSize - 1, kAttrGame | kAttrOptional);
    addRange(kBlockSize * 3, kBlockSize * 2, kAttrGame);  // reversed
  }
  return database;
}

}  // namespace moswit::test
