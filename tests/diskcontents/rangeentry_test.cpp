// SPDX-License-Identifier: GPL-2.0-or-later
#include "diskcontents/rangeentry.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "image/crc32.h"
#include "support/adfbuilder.h"

namespace moswit {
namespace {

ImagePtr PatternImage(size_t size) {
  const test::Bytes bytes = test::PatternBytes(size, 11);
  return LoadImageFromMemory("/images/disk.adf", bytes.data(), bytes.size());
}

TEST(MakeRange, LabelLengthAndCrcOfTheBytesCovered) {
  const ImagePtr full = PatternImage(901120);
  const ImagePtr cut = PatternImage(1000);
  // Image, start offset, end offset; label and length.
  const std::tuple<const tADF*, uint32_t, uint32_t, const char*, uint32_t> cases[] = {
      {full.get(), 2 * 512, 5 * 512 + 511, "@00000400-00000BFF", 2048},
      {full.get(), 5 * 512, 2 * 512 + 511, "@00000400-00000BFF", 2048},  // end before start
      {full.get(), 0, 0, "@00000000-00000000", 1},  // no block clicked before either step
      {full.get(), 1759 * 512, 1759 * 512 + 511, "@000DBE00-000DBFFF", 512},
      {cut.get(), 0, 5 * 512 + 511, "@00000000-000003E7", 1000},
      {cut.get(), 3 * 512, 1 * 512 + 511, "@00000200-000003E7", 488},
  };
  for (const auto& [image, start, end, label, length] : cases) {
    const std::optional<RangeEntry> range = MakeRange(*image, start, end);
    ASSERT_TRUE(range) << label;
    EXPECT_EQ(range->Label, label);
    EXPECT_EQ(range->Length, length) << label;
    EXPECT_EQ(range->LastByte - range->FirstByte + 1, length) << label;
    EXPECT_EQ(range->Crc, Crc32({image->Data.data() + range->FirstByte, length})) << label;
  }
  EXPECT_FALSE(MakeRange(*cut, 2 * 512, 4 * 512 + 511));  // wholly past the end
}

}  // namespace
}  // namespace moswit
