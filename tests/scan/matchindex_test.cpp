// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/matchindex.h"

#include <gtest/gtest.h>

#include <map>

#include "database/attributes.h"
#include "image/adf.h"
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
  std::map<std::pair<uint32_t, uint32_t>, std::vector<RecordRef>> expected;
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
    std::vector<RecordRef> found;
    for (const MatchEntry& e : index->files.Find(key.first, key.second)) found.push_back(e.record);
    ASSERT_EQ(found, records) << std::hex << key.first << " " << key.second;
    total += records.size();
  }
  EXPECT_EQ(index->files.Size(), total);
  const std::pair<uint32_t, uint32_t> shared(0xBEEF, 7);
  EXPECT_EQ(expected[shared].size(), 2400u);
}

TEST(MatchIndex, LongerRangesByDistinctSpanThenCrc) {
  test::DidBuilder db;
  GameRecord& g = db.Game("G");
  DiskRecord& a = db.Disk(g, "A");
  DiskRecord& b = db.Disk(g, "B");
  const RangeRecord* whole = &Range(a, 7, 0, 901'119);
  Range(a, 8, 1000, 5000);
  Range(a, 9, 100, 611);                                 // 512 bytes off the bounds: neither
  const RangeRecord* shortest = &Range(a, 9, 100, 612);  // 513 bytes
  Range(a, 7, 512, 2047, kAttrGame | kAttrExclude);
  Range(a, 7, 5000, 1000);        // reversed
  Range(a, 7, 0, kMaxImageSize);  // past the largest image
  const RangeRecord* again = &Range(b, 7, 0, 901'119);
  Range(b, 7, 0, 1'802'239);

  const MatchIndexPtr index = BuildMatchIndex(db.Database());
  const auto spans = index->spans.Spans();
  ASSERT_EQ(spans.size(), 4u);
  const std::pair<uint32_t, uint32_t> expected[] = {
      {0, 901'119}, {0, 1'802'239}, {100, 612}, {1000, 5000}};
  for (size_t i = 0; i < spans.size(); ++i) {
    EXPECT_EQ(std::make_pair(spans[i].first, spans[i].last), expected[i]) << i;
    EXPECT_EQ(index->spans.IndexOf(spans[i].first, spans[i].last), static_cast<ptrdiff_t>(i));
  }
  EXPECT_EQ(index->spans.IndexOf(0, 901'118), -1);
  const auto hits = index->spans.Find(7, 0);
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits[0].record, whole);
  EXPECT_EQ(hits[1].record, again);
  EXPECT_EQ(hits[1].disk, &b);
  EXPECT_EQ(index->spans.Find(9, 2).front().record, shortest);
  EXPECT_TRUE(index->spans.Find(8, 0).empty());
  EXPECT_EQ(index->spans.Size(), 5u);
  EXPECT_TRUE(index->blocks.Empty());
}

// The image size from which each block's whole CRC is needed: single-block
// positions always, a span's whole blocks once the image holds the span,
// the shortest such span deciding; its partial blocks and other blocks never.
TEST(MatchIndex, WholeBlocksFromTheShortestSpanHoldingThem) {
  test::DidBuilder db;
  DiskRecord& d = db.Disk(db.Game("G"), "D");
  Range(d, 1, 0, 1'802'239);
  Range(d, 2, 0, 901'119);
  Range(d, 3, 1000, 5000);  // whole blocks 2 to 8
  Range(d, 4, 3 * 512, 4 * 512 - 1);
  Range(d, 5, 2'000'000, 2'000'511);  // a single block off the bounds
  const MatchIndexPtr index = BuildMatchIndex(db.Database());
  const auto& from = index->wholeBlocksFrom;
  ASSERT_EQ(from.size(), 3520u);
  constexpr uint32_t kNever = UINT32_MAX;
  const std::pair<uint32_t, uint32_t> cases[] = {
      {0, 901'120}, {1, 901'120},    {2, 5001},         {3, 0},           {8, 5001},
      {9, 901'120}, {1759, 901'120}, {1760, 1'802'240}, {3519, 1'802'240}};
  for (const auto& [block, size] : cases) EXPECT_EQ(from[block], size) << block;

  test::DidBuilder partial;
  Range(partial.Disk(partial.Game("G"), "D"), 1, 100, 1100);  // block 1 whole
  const MatchIndexPtr other = BuildMatchIndex(partial.Database());
  EXPECT_EQ(other->wholeBlocksFrom, (std::vector<uint32_t>{kNever, 1101}));
}

TEST(MatchIndex, EmptyDatabase) {
  test::DidBuilder db;
  MatchIndexPtr index = BuildMatchIndex(db.Database());
  EXPECT_TRUE(index->files.Find(0, 0).empty());
  EXPECT_TRUE(index->blocks.Find(0, 0).empty());
  EXPECT_TRUE(index->spans.Spans().empty());
  EXPECT_TRUE(index->wholeBlocksFrom.empty());
}

}  // namespace
}  // namespace moswit
