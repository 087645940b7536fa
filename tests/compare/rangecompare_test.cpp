// SPDX-License-Identifier: GPL-2.0-or-later
#include "compare/rangecompare.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "image/crc32.h"
#include "support/adfbuilder.h"

namespace moswit {
namespace {

using test::Bytes;
using Cut = std::tuple<uint32_t, uint32_t, bool>;  // first, last, equal

constexpr uint32_t kEnd = kCompareAreaSize - 1;

// The sections, after checking each image's CRC against its own bytes of
// the section.
std::vector<Cut> Cuts(const std::vector<Bytes>& bytes) {
  std::vector<CompareImage> images;
  for (size_t k = 0; k < bytes.size(); ++k)
    images.push_back({static_cast<uint8_t>(k), bytes[k], {}});
  std::vector<Cut> cuts;
  for (const RangeSection& s : CompareRanges(images)) {
    cuts.emplace_back(s.first, s.last, s.equal);
    EXPECT_EQ(s.crcs.size(), bytes.size());
    for (size_t k = 0; k < bytes.size() && k < s.crcs.size(); ++k) {
      const size_t end = std::min<size_t>(s.last + 1, bytes[k].size());
      const size_t first = std::min<size_t>(s.first, end);
      EXPECT_EQ(s.crcs[k], Crc32({bytes[k].data() + first, end - first})) << k << " " << s.first;
    }
  }
  return cuts;
}

// The cut made position by position, as plainly as it can be said.
std::vector<Cut> ReferenceCuts(const std::vector<Bytes>& bytes) {
  const auto equalAt = [&](uint32_t p) {
    for (const Bytes& b : bytes) {
      if (p >= b.size() || b[p] != bytes[0][p]) return false;
    }
    return true;
  };
  std::vector<Cut> cuts;
  for (uint32_t p = 0; p <= kEnd;) {
    const uint32_t start = p;
    if (equalAt(p)) {
      while (p <= kEnd && equalAt(p)) ++p;
      cuts.emplace_back(start, p - 1, true);
      continue;
    }
    uint32_t last = kEnd;
    for (uint32_t q = start + 1, run = 0; q <= kEnd; ++q) {
      run = equalAt(q) ? run + 1 : 0;
      if (run == 33) {
        last = q - 33;
        break;
      }
    }
    cuts.emplace_back(start, last, false);
    p = last + 1;
  }
  return cuts;
}

Bytes Flipped(Bytes bytes, const std::vector<uint32_t>& positions) {
  for (uint32_t p : positions) bytes[p] ^= 0x5A;
  return bytes;
}

const Bytes kArea = test::PatternBytes(kCompareAreaSize, 7);

TEST(RangeCompareTest, SectionsOfTwoImages) {
  const struct {
    std::vector<uint32_t> flips;
    std::vector<Cut> cuts;
  } cases[] = {
      {{1000, 1001, 1002, 1003}, {{0, 0x3E7, true}, {0x3E8, 0x3EB, false}, {0x3EC, kEnd, true}}},
      {{1000, 1020}, {{0, 0x3E7, true}, {0x3E8, 0x3FC, false}, {0x3FD, kEnd, true}}},
      {{1000, 1040},
       {{0, 0x3E7, true},
        {0x3E8, 0x3E8, false},
        {0x3E9, 0x40F, true},
        {0x410, 0x410, false},
        {0x411, kEnd, true}}},
      {{100, 133}, {{0, 99, true}, {100, 133, false}, {134, kEnd, true}}},  // 32 equal between
      {{kEnd}, {{0, kEnd - 1, true}, {kEnd, kEnd, false}}},
      {{kEnd - 32}, {{0, kEnd - 33, true}, {kEnd - 32, kEnd, false}}},  // 32 equal after
      {{kEnd - 33}, {{0, kEnd - 34, true}, {kEnd - 33, kEnd - 33, false}, {kEnd - 32, kEnd, true}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cuts({kArea, Flipped(kArea, c.flips)}), c.cuts) << c.flips.size();
  }
}

TEST(RangeCompareTest, PositionsPastTheEndOfAnImageDiffer) {
  // Exactly sized, so a read past the end is caught by the sanitizer build.
  const Bytes cut(kArea.begin(), kArea.begin() + 1003);
  const std::vector<Cut> expected = {{0, 1002, true}, {1003, kEnd, false}};
  EXPECT_EQ(Cuts({kArea, cut}), expected);
  EXPECT_EQ(Cuts({cut}), expected);
  // a difference within 32 bytes of the end joins the section past it
  EXPECT_EQ(Cuts({Flipped(cut, {960}), kArea}),
            (std::vector<Cut>{
                {0, 959, true}, {960, 960, false}, {961, 1002, true}, {1003, kEnd, false}}));
  EXPECT_EQ(Cuts({Flipped(cut, {980}), kArea}),
            (std::vector<Cut>{{0, 979, true}, {980, kEnd, false}}));
  EXPECT_EQ(Cuts({kArea, Bytes{}}), (std::vector<Cut>{{0, kEnd, false}}));
  Bytes longer = kArea;
  longer.resize(kCompareAreaSize + 512, 0xEE);
  EXPECT_EQ(Cuts({kArea, longer}), (std::vector<Cut>{{0, kEnd, true}}));
}

TEST(RangeCompareTest, EveryImageCounts) {
  // the last of 12 images differs in the same 64 bytes as the second
  std::vector<Bytes> images(12, kArea);
  images[1] = Flipped(kArea, {640, 641, 642, 643, 644, 645, 646, 647});
  images[11] = Flipped(kArea, {700});
  EXPECT_EQ(Cuts(images), (std::vector<Cut>{{0, 639, true},
                                            {640, 647, false},
                                            {648, 699, true},
                                            {700, 700, false},
                                            {701, kEnd, true}}));
}

// Differences clustered around shared spots, some runs of 200 rewritten
// bytes, on up to 20 images of which some are short, cut as position by
// position.
// A high-density disk among the images makes the area its 1,802,240 bytes;
// a floppy beside it differs past its end.
TEST(RangeCompareTest, AHighDensityDiskWidensTheArea) {
  constexpr uint32_t kHdEnd = kHighDensityAreaSize - 1;
  Bytes hd = test::PatternBytes(kHighDensityAreaSize, 3);
  const Bytes floppy(hd.begin(), hd.begin() + kCompareAreaSize);
  EXPECT_EQ(Cuts({floppy, hd}), (std::vector<Cut>{{0, kEnd, true}, {kEnd + 1, kHdEnd, false}}));
  hd.resize(kHighDensityAreaSize + 512);  // 3521 blocks: no high-density disk
  EXPECT_EQ(Cuts({hd, hd}), (std::vector<Cut>{{0, kEnd, true}}));
}

TEST(RangeCompareTest, RandomDifferencesCutAsPositionByPosition) {
  std::mt19937 rng(13);
  const auto below = [&rng](uint32_t n) { return static_cast<uint32_t>(rng() % n); };
  for (int round = 0; round < 10; ++round) {
    std::vector<uint32_t> spots(30);
    for (uint32_t& spot : spots) spot = below(kCompareAreaSize - 300);
    std::vector<Bytes> images(2 + below(19), kArea);
    for (Bytes& image : images) {
      for (uint32_t c = below(12); c > 0; --c) {
        const uint32_t at = spots[below(30)];
        const uint32_t length = below(8) == 0 ? 200 : 1 + below(4);
        for (uint32_t i = 0; i < length; ++i) image[at + below(100) + i] ^= 0x81;
      }
      if (below(6) == 0) image.resize(kCompareAreaSize - below(70'000));
    }
    EXPECT_EQ(Cuts(images), ReferenceCuts(images)) << "round " << round;
  }
}

}  // namespace
}  // namespace moswit
