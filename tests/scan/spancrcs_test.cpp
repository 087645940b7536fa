// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/spancrcs.h"

#include <gtest/gtest.h>

#include "database/attributes.h"
#include "image/crc32.h"
#include "support/adfbuilder.h"
#include "support/didbuilder.h"
#include "support/exercise.h"

namespace moswit {
namespace {

using test::Bytes;

// An OFS image whose first blocks are a file's data blocks (type 8, taken
// in the pass as header and contents), cut 300 bytes into a block.
tADF Image() {
  test::AdfBuilder builder({.firstFree = 2});
  builder.AddFile("/data", test::PatternBytes(30'000, 5));
  Bytes bytes = builder.Build();
  bytes.resize(1000 * kBlockSize + 300);
  return test::ImageOf(std::move(bytes));
}

struct Span {
  uint32_t first;
  uint32_t last;
};

// Every way a span meets the block bounds.
const Span kSpans[] = {
    {0, 40 * 512 - 1},                   // whole blocks from 0
    {2 * 512, 40 * 512 - 1},             // whole blocks inside
    {2 * 512 + 17, 40 * 512 - 1},        // a partial head
    {2 * 512, 40 * 512 + 99},            // a partial tail
    {2 * 512 + 17, 40 * 512 + 99},       // both
    {2 * 512 + 17, 3 * 512 + 99},        // no whole block
    {2 * 512 + 17, 2 * 512 + 17 + 512},  // 513 bytes, no whole block
    {5, 4 * 512 + 4},                    // a head and a tail in the first blocks
    {990 * 512 + 1, 1000 * 512 + 299},   // to the image's last byte
    {0, 1000 * 512 + 299},               // the whole image
};

uint32_t BytesCrc(const tADF& image, const Span& s) {
  return Crc32({image.Data.data() + s.first, size_t{s.last} - s.first + 1});
}

// Block CRCs taken in the pass everywhere, or nowhere (all computed when
// asked), or without any: each gives the CRC of the bytes.
TEST(SpanCrcs, RangeCrcOfEveryShapeIsTheBytesCrc) {
  const tADF image = Image();
  const std::vector<uint32_t> everywhere(BlockCount(image), 0);
  BlockCrcs taken;
  taken.TakeWholeAt(everywhere);
  taken.TakeAll(image);
  BlockCrcs asked;
  asked.TakeAll(image);
  for (const Span& s : kSpans) {
    ASSERT_LT(s.last, image.Size);
    const uint32_t expected = BytesCrc(image, s);
    EXPECT_EQ(RangeCrc(image, s.first, s.last, &taken), expected) << s.first << ".." << s.last;
    EXPECT_EQ(RangeCrc(image, s.first, s.last, &asked), expected) << s.first << ".." << s.last;
    EXPECT_EQ(RangeCrc(image, s.first, s.last, nullptr), expected) << s.first << ".." << s.last;
  }
}

// The index's spans, several from one first byte: those within the image
// get the bytes' CRC, with and without block CRCs; one past its end none.
TEST(SpanCrcs, EverySpanWithinTheImageOnce) {
  const tADF image = Image();
  test::DidBuilder db;
  DiskRecord& disk = db.Disk(db.Game("G"), "D");
  const auto add = [&disk](uint32_t first, uint32_t last) {
    RangeRecord& range = AppendRange(disk);
    range.firstByte = first;
    range.lastByte = last;
    range.attributes = kAttrGame;
  };
  for (const Span& s : kSpans) add(s.first, s.last);
  add(2 * 512 + 17, 1000 * 512 + 300);  // one byte past the end
  add(2 * 512 + 17, 500 * 512 - 1);     // between spans of the same start
  const MatchIndexPtr index = BuildMatchIndex(db.Database());
  BlockCrcs crcs;
  crcs.TakeWholeAt(index->wholeBlocksFrom);
  crcs.TakeAll(image);

  const BlockCrcs* const paths[] = {&crcs, nullptr};
  for (const BlockCrcs* blocks : paths) {
    SpanCrcs spans;
    spans.Take(image, index->spans, blocks);
    size_t within = 0;
    const auto all = index->spans.Spans();
    for (size_t i = 0; i < all.size(); ++i) {
      const Span s{all[i].first, all[i].last};
      uint32_t found = 0;
      if (s.last >= image.Size) {
        EXPECT_FALSE(spans.Within(i));
        EXPECT_FALSE(spans.Find(s.first, s.last, found));
        continue;
      }
      ++within;
      ASSERT_TRUE(spans.Within(i)) << s.first << ".." << s.last;
      EXPECT_EQ(spans.Crc(i), BytesCrc(image, s)) << s.first << ".." << s.last;
      ASSERT_TRUE(spans.Find(s.first, s.last, found));
      EXPECT_EQ(found, spans.Crc(i));
    }
    EXPECT_EQ(within, all.size() - 1);
  }
}

}  // namespace
}  // namespace moswit
