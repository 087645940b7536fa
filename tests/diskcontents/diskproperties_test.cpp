// SPDX-License-Identifier: GPL-2.0-or-later
#include "diskcontents/diskproperties.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "image/blocklayout.h"
#include "support/adfbuilder.h"

namespace moswit {
namespace {

using test::AdfBuilder;
using test::Bytes;
using test::FromBytes;

TEST(DiskProperties, BootBlockFlags) {
  // First byte, fourth byte; then DOS, FFS, DirC, Intl.
  const std::tuple<uint8_t, uint8_t, std::array<bool, 4>> cases[] = {
      {'D', 3, {true, true, false, true}},
      {'D', 5, {true, true, true, true}},
      {'D', 2, {true, false, false, true}},
      {0x4C, 1, {true, true, false, false}},  // a mask test: 4C holds every bit of "D"
      {'B', 0, {false, false, false, false}},
  };
  for (const auto& [first, flags, want] : cases) {
    Bytes bytes = AdfBuilder().Build();
    bytes[0] = first;
    bytes[3] = flags;
    const DiskProperties p = ReadDiskProperties(*FromBytes(bytes));
    EXPECT_EQ((std::array<bool, 4>{p.IsDos, p.IsFfs, p.IsDirCache, p.IsIntl}), want) << int(flags);
  }
}

TEST(DiskProperties, NameFromAGoodRootBlockOnly) {
  AdfBuilder::Options options;
  options.volume =
      "Game\x01"
      "Disk";
  Bytes bytes = AdfBuilder(options).Build();
  EXPECT_EQ(ReadDiskProperties(*FromBytes(bytes)).DiskName, "Game_Disk");
  EXPECT_TRUE(ReadDiskProperties(*FromBytes(bytes)).IsBootable);
  Bytes truncated = bytes;
  truncated.resize(1200 * 512);  // 600 KB: the root block is still there
  EXPECT_EQ(ReadDiskProperties(*FromBytes(truncated)).DiskName, "Game_Disk");
  truncated.resize(880 * 512 + 511);
  EXPECT_EQ(ReadDiskProperties(*FromBytes(truncated)).DiskName, "NDOS:");
  test::BreakChecksum(bytes, kRootBlock);
  EXPECT_EQ(ReadDiskProperties(*FromBytes(bytes)).DiskName, "NDOS:");
  bytes.resize(1000);
  const DiskProperties p = ReadDiskProperties(*FromBytes(bytes));
  EXPECT_FALSE(p.IsDos || p.IsFfs || p.IsDirCache || p.IsIntl || p.IsBootable);
}

}  // namespace
}  // namespace moswit
