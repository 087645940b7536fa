// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/matchindex.h"

#include <gtest/gtest.h>

#include <map>

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

// Unsorted keys with repeats across many games, one key on thousands of
// records: every lookup gives exactly the records of its key, in database
// order.
TEST(MatchIndex, UnsortedKeysComeBackInDatabaseOrder) {
  test::DidBuilder db;
  uint32_t x = 99;
  const auto next = [&x] { return x = x * 1664525u + 1013904223u; };
  for (int g = 0; g < 3000; ++g) {
    DiskRecord& d = db.Disk(db.Game("G" + std::to_string(g)), "D");
    for (int f = 0; f < 3; ++f) {
      const uint32_t crc = next() % 50 == 0 ? 0xCAFE : next();
      File(d, crc, next() % 3);
    }
    File(d, 0xBEEF, 7, g % 5 ? kAttrGame : kAttrGame | kAttrExclude);
  }
  std::map<std::pair<uint32_t, uint32_t>, std::vector<const void*>> expected;
  for (const GameRecord& game : db.Database().games) {
    for (const DiskRecord& disk : game.disks) {
      for (const FileRecord& f : disk.files) {
        if (!(f.attributes & kAttrExclude)) expected[{f.crc32, f.size}].push_back(&f);
      }
    }
  }
  const MatchIndexPtr index = BuildMatchIndex(db.Database());
  size_t total = 0;
  for (const auto& [key, records] : expected) {
    std::vector<const void*> found;
    for (const MatchEntry& e : index->files.Find(key.first, key.second)) found.push_back(e.record);
    ASSERT_EQ(found, records) << std::hex << key.first << " " << key.second;
    total += records.size();
  }
  EXPECT_EQ(index->files.Size(), total);
  const std::pair<uint32_t, uint32_t> shared(0xBEEF, 7);
  EXPECT_EQ(expected[shared].size(), 2400u);
}

TEST(MatchIndex, EmptyDatabase) {
  test::DidBuilder db;
  MatchIndexPtr index = BuildMatchIndex(db.Database());
  EXPECT_TRUE(index->files.Find(0, 0).empty());
  EXPECT_TRUE(index->blocks.Find(0, 0).empty());
}

}  // namespace
}  // namespace moswit
