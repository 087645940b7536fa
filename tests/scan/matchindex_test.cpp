#include "scan/matchindex.h"

#include <gtest/gtest.h>

#include "database/attributes.h"
#include "support/didbuilder.h"

namespace moswit {
namespace {

FileRecord& File(DiskRecord& disk, uint32_t crc, uint32_t size, uint32_t attributes = kAttrGame) {
  FileRecord& f = AppendFile(disk);
  f.crc32 = crc;
  f.size = size;
  f.attributes = attributes;
  return f;
}

RangeRecord& Range(DiskRecord& disk, uint32_t crc, uint32_t first, uint32_t last,
                   uint32_t attributes = kAttrGame) {
  RangeRecord& r = AppendRange(disk);
  r.crc32 = crc;
  r.firstByte = first;
  r.lastByte = last;
  r.attributes = attributes;
  return r;
}

TEST(MatchIndex, EqualKeysComeBackInDatabaseOrder) {
  test::DidBuilder db;
  GameRecord& g1 = db.Game("One");
  GameRecord& g2 = db.Game("Two");
  DiskRecord& a = db.Disk(g1, "A");
  DiskRecord& b = db.Disk(g1, "B");
  DiskRecord& c = db.Disk(g2, "C");
  const FileRecord* first = &File(a, 0xCAFE, 100);
  File(a, 0x1111, 100);
  const FileRecord* second = &File(b, 0xCAFE, 100);
  File(b, 0xCAFE, 101);  // same CRC, other size
  const FileRecord* third = &File(c, 0xCAFE, 100);
  File(c, 0xCAFE, 100, kAttrGame | kAttrExclude);

  MatchIndexPtr index = BuildMatchIndex(db.Database());
  const auto hits = index->files.Find(0xCAFE, 100);
  ASSERT_EQ(hits.size(), 3u);
  EXPECT_EQ(hits[0].record, first);
  EXPECT_EQ(hits[0].disk, &a);
  EXPECT_EQ(hits[0].game, &g1);
  EXPECT_EQ(hits[1].record, second);
  EXPECT_EQ(hits[2].record, third);
  EXPECT_EQ(hits[2].game, &g2);
  EXPECT_EQ(index->files.Find(0xCAFE, 101).size(), 1u);
  EXPECT_TRUE(index->files.Find(0xCAFF, 100).empty());
  EXPECT_EQ(index->files.Size(), 5u);
}

TEST(MatchIndex, OnlySingleBlockRangesAreIndexed) {
  test::DidBuilder db;
  DiskRecord& d = db.Disk(db.Game("G"), "D");
  Range(d, 1, 0, 511);
  Range(d, 2, 512, 1023);
  Range(d, 3, 0, 510);                           // 511 bytes
  Range(d, 4, 0, 1023);                          // two blocks
  Range(d, 5, 1024, 1535, kAttrExclude);         // excluded
  Range(d, 6, 0xFFFFFF00u, 0xFFFFFF00u + 511u);  // wraps: not a block
  MatchIndexPtr index = BuildMatchIndex(db.Database());
  EXPECT_EQ(index->blocks.Size(), 2u);
  EXPECT_EQ(index->blocks.Find(1, 0).size(), 1u);
  EXPECT_EQ(index->blocks.Find(2, 512).size(), 1u);
  EXPECT_TRUE(index->blocks.Find(5, 1024).empty());
  EXPECT_TRUE(index->files.Empty());
}

TEST(MatchIndex, RecordsSortedByCrcStillFindEverything) {
  test::DidBuilder db;
  DiskRecord& d = db.Disk(db.Game("G"), "D");
  for (uint32_t i = 0; i < 20'000; ++i) File(d, i, i % 7);
  for (uint32_t i = 20'000; i-- > 0;) File(d, i, 1000);  // descending too
  MatchIndexPtr index = BuildMatchIndex(db.Database());
  for (uint32_t i = 0; i < 20'000; i += 37) {
    ASSERT_EQ(index->files.Find(i, i % 7).size(), 1u) << i;
    ASSERT_EQ(index->files.Find(i, 1000).size(), 1u) << i;
  }
  FreeMatchIndex(index);
  EXPECT_FALSE(index);
}

// Unsorted keys with repeats across many games: walked by several threads,
// the index finds the same entries in the same (database) order as by one.
TEST(MatchIndex, ThreadsBuildTheSameIndex) {
  test::DidBuilder db;
  uint32_t x = 99;
  const auto next = [&x] { return x = x * 1664525u + 1013904223u; };
  for (int g = 0; g < 3100; ++g) {  // enough games for three threads
    DiskRecord& d = db.Disk(db.Game("G" + std::to_string(g)), "D");
    for (int f = 0; f < 3; ++f) File(d, next() % 5000 == 0 ? 0xCAFE : next(), next() % 3);
    File(d, 0xBEEF, 7, g % 5 ? kAttrGame : kAttrGame | kAttrExclude);  // one key, many records
    if (g % 3 == 0) {
      const uint32_t first = (next() % 1760) * 512;
      Range(d, next() % 4, first, first + 511);
    }
  }
  const MatchIndexPtr one = BuildMatchIndex(db.Database(), 1);
  for (size_t threads : {2u, 3u}) {
    const MatchIndexPtr many = BuildMatchIndex(db.Database(), threads);
    ASSERT_EQ(many->files.Size(), one->files.Size());
    ASSERT_EQ(many->blocks.Size(), one->blocks.Size());
    for (const GameRecord& game : db.Database().games) {
      for (const DiskRecord& disk : game.disks) {
        for (const FileRecord& f : disk.files) {
          const auto a = one->files.Find(f.crc32, f.size);
          const auto b = many->files.Find(f.crc32, f.size);
          ASSERT_EQ(a.size(), b.size());
          for (size_t i = 0; i < a.size(); ++i) ASSERT_EQ(a[i].record, b[i].record);
        }
        for (const RangeRecord& r : disk.ranges) {
          const auto a = one->blocks.Find(r.crc32, r.firstByte);
          const auto b = many->blocks.Find(r.crc32, r.firstByte);
          ASSERT_EQ(a.size(), b.size());
          for (size_t i = 0; i < a.size(); ++i) ASSERT_EQ(a[i].record, b[i].record);
        }
      }
    }
  }
  const auto beef = one->files.Find(0xBEEF, 7);
  ASSERT_EQ(beef.size(), 2480u);
  for (size_t i = 1; i < beef.size(); ++i) {
    ASSERT_LT(db.Database().games.PositionOf(beef[i - 1].game), db.Database().games.PositionOf(beef[i].game));
  }
}

TEST(MatchIndex, EmptyDatabase) {
  test::DidBuilder db;
  MatchIndexPtr index = BuildMatchIndex(db.Database());
  EXPECT_TRUE(index->files.Find(0, 0).empty());
  EXPECT_TRUE(index->blocks.Find(0, 0).empty());
}

}  // namespace
}  // namespace moswit
