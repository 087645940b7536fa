// SPDX-License-Identifier: GPL-2.0-or-later
#include "image/checksum.h"

#include <gtest/gtest.h>

#include "image/blocklayout.h"
#include "support/adfbuilder.h"

namespace moswit {
namespace {

using test::AdfBuilder;
using test::Bytes;
using test::FromBytes;

TEST(Checksum, SwapLongReversesBytes) {
  EXPECT_EQ(SwapLong(0x12345678u), 0x78563412u);
  EXPECT_EQ(SwapLong(SwapLong(0xDEADBEEFu)), 0xDEADBEEFu);
}

TEST(Checksum, NormalMakesTheBlockSumToZero) {
  Bytes block = test::PatternBytes(512, 9);
  const uint32_t sum = CalcChecksum(block.data(), 512, 20, ckNormal);
  test::SetLong(block, 0, kChecksum, sum, false);
  uint32_t total = 0;
  for (unsigned i = 0; i < 128; ++i) total += test::GetLong(block, 0, i);
  EXPECT_EQ(total, 0u);
  // A block that already sums to zero gets its stored value back.
  EXPECT_EQ(CalcChecksum(block.data(), 512, 20, ckNormal), sum);
}

TEST(Checksum, NormalSumWrapsModulo32Bits) {
  Bytes block(512, 0xFF);
  // 127 longs of 0xFFFFFFFF sum to -127; the checksum is 127.
  EXPECT_EQ(CalcChecksum(block.data(), 512, 20, ckNormal), 127u);
}

TEST(Checksum, BootOverZerosIsAllOnes) {
  Bytes boot(1024, 0);
  EXPECT_EQ(CalcChecksum(boot.data(), 1024, 4, ckBoot), 0xFFFFFFFFu);
}

TEST(Checksum, BootOfBareDosIsTheComplementOfItsFirstLong) {
  Bytes boot(1024, 0);
  boot[0] = 'D';
  boot[1] = 'O';
  boot[2] = 'S';
  EXPECT_EQ(CalcChecksum(boot.data(), 1024, 4, ckBoot), ~0x444F5300u);
}

TEST(Checksum, BootCarriesEndAround) {
  // Two longs of 0xFFFFFFFF: 0xFFFFFFFF + 0xFFFFFFFF = 0x1FFFFFFFE, the carry
  // comes back in: 0xFFFFFFFF, complemented 0.
  Bytes boot(1024, 0);
  test::SetLong(boot, 0, 0, 0xFFFFFFFFu, false);
  test::SetLong(boot, 0, 2, 0xFFFFFFFFu, false);
  EXPECT_EQ(CalcChecksum(boot.data(), 1024, 4, ckBoot), 0u);
  // The usual formulation: add, and add 1 on every overflow, then complement.
  Bytes random = test::PatternBytes(1024, 5);
  uint32_t acc = 0;
  for (unsigned i = 0; i < 256; ++i) {
    if (i == 1) continue;
    uint32_t before = acc;
    acc += test::GetLong(random, 0, i);
    if (acc < before) ++acc;
  }
  EXPECT_EQ(CalcChecksum(random.data(), 1024, 4, ckBoot), ~acc);
}

struct ClassifyCase {
  uint32_t primary;
  uint32_t secondary;
  BlockStatus expected;
};

TEST(ClassifyBlock, TypesByPrimaryAndSecondaryType) {
  const ClassifyCase cases[] = {
      {2, 1, bsRoot},
      {2, 2, bsUserDir},
      {2, static_cast<uint32_t>(-3), bsFileHeader},
      {2, 4, bsHardLink},
      {2, static_cast<uint32_t>(-4), bsHardLink},
      {2, 3, bsSoftLink},
      {2, 7, bsUnknown},
      {16, 0, bsFileExt},
      {8, 0, bsData},
      {33, 0, bsDirCache},
      {0, 0, bsUnknown},
      {9, 2, bsUnknown},
  };
  for (const auto& c : cases) {
    Bytes image(4 * 512, 0);
    test::SetLong(image, 2, kPrimaryType, c.primary, false);
    test::SetLong(image, 2, kSecondaryType, c.secondary, true);
    ImagePtr adf = FromBytes(image);
    EXPECT_EQ(ClassifyBlock(*adf, 2), c.expected) << c.primary << "/" << c.secondary;

    test::BreakChecksum(image, 2);
    adf = FromBytes(image);
    const BlockStatus broken = c.expected == bsUnknown ? bsUnknown : (c.expected | bsChecksumError);
    EXPECT_EQ(ClassifyBlock(*adf, 2), broken) << "broken " << c.primary << "/" << c.secondary;
  }
}

TEST(ClassifyBlock, BuilderDiskBlocks) {
  AdfBuilder builder;
  const uint32_t file = builder.AddFile("/a", test::PatternBytes(600, 1));
  const uint32_t dir = builder.AddDir("/d");
  Bytes image = builder.Build();
  ImagePtr adf = FromBytes(image);
  EXPECT_EQ(ClassifyBlock(*adf, 0), bsUnknown);
  EXPECT_EQ(ClassifyBlock(*adf, 880), bsRoot);
  EXPECT_EQ(ClassifyBlock(*adf, file), bsFileHeader);
  EXPECT_EQ(ClassifyBlock(*adf, dir), bsUserDir);
  EXPECT_EQ(ClassifyBlock(*adf, builder.DataBlocks(file)[0]), bsData);

  test::BreakChecksum(image, file);
  test::BreakChecksum(image, 880);
  adf = FromBytes(image);
  EXPECT_EQ(ClassifyBlock(*adf, file), 19u);
  EXPECT_EQ(ClassifyBlock(*adf, 880), 17u);
}

TEST(ClassifyBlock, FfsDataBlocksAreUnknown) {
  AdfBuilder::Options options;
  options.ffs = true;
  AdfBuilder builder(options);
  const uint32_t file = builder.AddFile("/a", Bytes(600, 0x41));
  ImagePtr adf = FromBytes(builder.Build());
  EXPECT_EQ(ClassifyBlock(*adf, builder.DataBlocks(file)[0]), bsUnknown);
}

}  // namespace
}  // namespace moswit

namespace moswit {
namespace {

// The sum long by long, as the checksum is defined.
uint32_t ReferenceNormal(const uint8_t* area, size_t length, size_t skip) {
  uint32_t sum = 0;
  for (size_t i = 0; i < length / 4; ++i) {
    if (i != skip / 4) sum += ReadLong(area, static_cast<unsigned>(i));
  }
  return 0u - sum;
}

TEST(Checksum, NormalMatchesTheLongByLongSum) {
  for (uint32_t seed = 0; seed < 20; ++seed) {
    const test::Bytes area = test::PatternBytes(1024, seed);
    for (size_t length : {4u, 24u, 512u, 1020u, 1024u}) {
      for (size_t skip : {0u, 20u, 508u, 1020u}) {
        ASSERT_EQ(CalcChecksum(area.data(), length, skip, ckNormal),
                  ReferenceNormal(area.data(), length, skip))
            << seed << " " << length << " " << skip;
      }
    }
  }
  const test::Bytes ones(1024, 0xFF);  // every lane at its largest sum
  EXPECT_EQ(CalcChecksum(ones.data(), 1024, 20, ckNormal), ReferenceNormal(ones.data(), 1024, 20));
}

}  // namespace
}  // namespace moswit
