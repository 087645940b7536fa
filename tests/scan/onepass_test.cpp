// SPDX-License-Identifier: GPL-2.0-or-later
// The one-pass path (the block CRCs the index needs taken as the image
// arrives, file and span CRCs combined from block CRCs) gives what the plain
// CRC path gives, block by block, file by file and line by line: on intact, damaged, truncated and
// random images, OFS and FFS, double- and high-density, taken in pieces of any size and loaded from
// files of every form.
#include <gtest/gtest.h>

#include <random>

#include "database/attributes.h"
#include "image/blocklayout.h"
#include "image/crc32.h"
#include "scan/matchindex.h"
#include "support/exercise.h"
#include "support/imageset.h"
#include "support/tempdir.h"
#include "support/zipwriter.h"

namespace moswit {
namespace {

using test::AdfBuilder;
using test::Bytes;

constexpr uint32_t kTrack = 11 * kBlockSize;

void AddRange(DiskRecord& disk, uint32_t first, uint32_t last, uint32_t crc) {
  RangeRecord& range = AppendRange(disk);
  range.firstByte = first;
  range.lastByte = last;
  range.crc32 = crc;
  range.attributes = kAttrBoot;
}

// A database that knows `image`, with single-block ranges at every third
// block position besides, so blocks are looked up, some at taken positions;
// and longer ranges: over tracks (one off the block bounds), and disks known
// only by the image's whole bytes, by a span off the bounds and by one to
// its last byte, with their CRCs as the image has them when it is indexed.
MatchIndexPtr Index(const Bytes& image) {
  static std::vector<std::unique_ptr<DatabaseInfo>> databases;  // the index points into them
  databases.push_back(test::ImageSetDatabase({{"known", image}}));
  DatabaseInfo& database = *databases.back();
  DiskRecord& disk = database.games[0].disks[0];
  const auto size = static_cast<uint32_t>(image.size());
  for (uint32_t b = 0; b < size / kBlockSize; b += 3) {
    AddRange(disk, b * kBlockSize, b * kBlockSize + kBlockSize - 1, b * 2654435761u);
  }
  for (uint32_t first = 0; first + 2 * kTrack <= size; first += 40 * kTrack) {
    AddRange(disk, first, first + kTrack - 1, first);
    AddRange(disk, first + 100, first + kTrack + 99, first);
  }
  const auto crcOf = [&image](uint32_t first, uint32_t last) {
    return Crc32({image.data() + first, size_t{last} - first + 1});
  };
  const std::pair<uint32_t, uint32_t> spans[] = {{0, size - 1}, {300, 5'000}, {1'000, size - 1}};
  for (const auto& [first, last] : spans) {
    if (last >= size || last < first + kBlockSize) continue;
    GameRecord& game = database.games.Append();
    game.name = "Known by " + std::to_string(first) + ".." + std::to_string(last);
    AddRange(game.disks.Append(), first, last, crcOf(first, last));
  }
  return BuildMatchIndex(database);
}

// Damage to the first of two files, each of a kind the file reader meets.
struct Damage {
  const char* what;
  bool ffs;
  void (*apply)(Bytes& image, const AdfBuilder& builder, uint32_t first, uint32_t second);
};

const Damage kDamage[] = {
    {"intact OFS", false, [](Bytes&, const AdfBuilder&, uint32_t, uint32_t) {}},
    {"intact FFS", true, [](Bytes&, const AdfBuilder&, uint32_t, uint32_t) {}},
    {"data pointer out of range", false,
     [](Bytes& im, const AdfBuilder&, uint32_t h, uint32_t) {
       test::SetLong(im, h, kFirstDataSlot - 3, 1760);
     }},
    {"a data block shared with the other file", true,
     [](Bytes& im, const AdfBuilder& b, uint32_t h, uint32_t other) {
       test::SetLong(im, h, kFirstDataSlot - 1, b.DataBlocks(other)[2]);
     }},
    {"a chain looping back to its first data block", false,
     [](Bytes& im, const AdfBuilder& b, uint32_t h, uint32_t) {
       test::SetLong(im, h, kFirstDataSlot - 4, b.DataBlocks(h)[0]);
     }},
    {"OFS data block with a bad checksum", false,
     [](Bytes& im, const AdfBuilder& b, uint32_t h, uint32_t) {
       test::BreakChecksum(im, b.DataBlocks(h)[5]);
     }},
    {"FFS data that looks like OFS data", true,
     [](Bytes& im, const AdfBuilder& b, uint32_t h, uint32_t) {
       test::SetLong(im, b.DataBlocks(h)[0], kPrimaryType, kTypeData);
       test::FixChecksum(im, b.DataBlocks(h)[1]);
       test::SetLong(im, b.DataBlocks(h)[1], kPrimaryType, kTypeData);
     }},
    {"image cut inside the last data block", false,
     [](Bytes& im, const AdfBuilder& b, uint32_t, uint32_t other) {
       im.resize(size_t{b.DataBlocks(other).back()} * kBlockSize + 300);
     }},
};

const size_t kPieces[] = {1, 512, 700, kLoadPiece, 1u << 22};

TEST(OnePass, DamagedChainsGiveThePlainResults) {
  for (const Damage& damage : kDamage) {
    for (uint32_t blocks : {kFloppyBlocks, 3520u}) {
      AdfBuilder builder({.ffs = damage.ffs, .blocks = blocks});
      const uint32_t first = builder.AddFile("/first", test::PatternBytes(90'000, blocks));
      const uint32_t second = builder.AddFile("/s/second", test::PatternBytes(9'000, 7));
      Bytes bytes = builder.Build();
      const MatchIndexPtr index = Index(bytes);
      damage.apply(bytes, builder, first, second);
      const tADF image = test::ImageOf(bytes);
      for (size_t piece : kPieces) {
        EXPECT_EQ(test::CheckOnePass(image, *index, piece), "")
            << damage.what << ", " << blocks << " blocks, pieces of " << piece;
      }
    }
  }
}

TEST(OnePass, RandomImagesGiveThePlainResults) {
  std::mt19937 random(23);
  for (size_t size :
       {size_t{0}, size_t{100}, size_t{512}, size_t{901'120}, size_t{901'420}, size_t{1'802'240}}) {
    Bytes bytes(size);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
    // Some blocks of type 8, half of them with a good checksum.
    for (uint32_t b = 1; b < size / kBlockSize; b += 5) {
      test::SetLong(bytes, b, kPrimaryType, kTypeData, b % 2 == 0);
    }
    const MatchIndexPtr index = Index(bytes);
    EXPECT_EQ(test::CheckOnePass(test::ImageOf(bytes), *index, 700), "") << size << " bytes";
  }
}

// One image buffer and one set of block CRCs for every image, as a scan
// worker keeps them, whatever form and size comes next.
TEST(OnePass, LoadingTakesTheBlockCrcsOfEveryForm) {
  const test::TempDir dir;
  tADF image;
  BlockCrcs crcs;
  const MatchIndexPtr index = Index(test::BuilderImage("ofs-game"));
  crcs.TakeWholeAt(index->wholeBlocksFrom);
  for (const test::NamedImage& named : test::BuilderImageSet()) {
    const std::string files[] = {
        dir.Write(named.name + ".adf", named.bytes),
        dir.Write(named.name + ".zip", test::MakeZip({{"disk.adf", named.bytes}})),
        dir.Write(named.name + ".adz", test::Gzip(named.bytes)),
    };
    for (const std::string& path : files) {
      ASSERT_TRUE(LoadImageInto(path, image, crcs)) << path;
      EXPECT_EQ(test::CheckOnePass(image, *index, crcs), "") << path;
    }
  }
}

}  // namespace
}  // namespace moswit
