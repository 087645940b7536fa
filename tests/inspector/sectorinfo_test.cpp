// SPDX-License-Identifier: GPL-2.0-or-later
#include "inspector/sectorinfo.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "base/numbertext.h"
#include "diskcontents/diskproperties.h"
#include "image/blocklayout.h"
#include "image/checksum.h"
#include "image/geometry.h"
#include "inspector/blockposition.h"
#include "support/adfbuilder.h"

namespace moswit {
namespace {

using test::AdfBuilder;
using test::Bytes;
using test::FromBytes;
using Lines = std::vector<std::string>;

TEST(BlockPosition, TrackHeadSectorAndBlockNumber) {
  const std::pair<uint32_t, std::vector<std::string>> cases[] = {
      {0, {"0", "0", "1", "$000", "0"}},
      {11, {"0", "1", "1", "$00B", "11"}},
      {1759, {"79", "1", "11", "$6DF", "1759"}},
  };
  for (const auto& [block, want] : cases) {
    const BlockPosition p = PositionOf(block);
    EXPECT_EQ((std::vector<std::string>{p.track, p.head, p.sector, p.blockHex, p.blockDec}), want);
  }
  EXPECT_EQ(SectorInfoHeader(1759), "Sector Info ($6DF):");
}

// Tracks of 22 sectors; the name and the root's info from block 1760.
TEST(SectorInfo, HighDensityDisk) {
  const BlockPosition p = PositionOf(3519, kHighDensity.sectorsPerTrack);
  EXPECT_EQ(p.track + p.head + p.sector, "79122");
  const ImagePtr image = FromBytes(AdfBuilder({.blocks = 3520, .volume = "Hd"}).Build());
  EXPECT_EQ(ReadDiskProperties(*image).DiskName, "Hd");
  EXPECT_EQ(SectorInfoLines(*image, 1760).front(), "Block type ... Rootblock");
}

TEST(SectorInfo, LinesByBlockKind) {
  AdfBuilder builder;
  const uint32_t header = builder.AddFile("/f", Bytes(600, 7));
  const uint32_t dir = builder.AddDir("/d");
  Bytes bytes = builder.Build();
  const uint32_t data = builder.DataBlocks(header).at(1);
  test::BreakChecksum(bytes, dir);
  const ImagePtr image = FromBytes(bytes);
  auto sums = [&](uint32_t block, unsigned n, uint32_t computed) {
    return "Checksum (S/C) " + IntToHex(test::GetLong(bytes, block, n), 8) + "/" +
           IntToHex(computed, 8);
  };
  auto normal = [&](uint32_t block) {
    return sums(block, kChecksum, NormalChecksum(BlockData(*image, block)));
  };
  const std::string boot = sums(0, 1, BootChecksum(*image));

  const std::pair<uint32_t, Lines> cases[] = {
      {0, {"Block type ... Bootblock", boot}},
      {1, {"Block type ... Bootblock", boot}},
      {880, {"Block type ... Rootblock", normal(880)}},
      {header, {"Block type ... File header", normal(header)}},
      {dir, {"Block type ... Directory", normal(dir)}},
      {data, {"Block type ... File data", normal(data), "File Header at $" + IntToHex(header, 3)}},
      {1500, {"Block type ... Unknown"}},
  };
  for (const auto& [block, want] : cases) EXPECT_EQ(SectorInfoLines(*image, block), want) << block;
}

TEST(SectorInfo, NothingOutsideATruncatedImageIsRead) {
  Bytes bytes = AdfBuilder().Build();
  bytes.resize(1200 * 512);
  EXPECT_EQ(SectorInfoLines(*FromBytes(bytes), 1759), Lines{"Block type ... Unknown"});
  for (size_t size : {1000u, 100u}) {
    bytes.resize(size);
    for (uint32_t block : {0u, 1u}) {
      EXPECT_EQ(SectorInfoLines(*FromBytes(bytes), block), Lines{"Block type ... Bootblock"});
    }
  }
}

}  // namespace
}  // namespace moswit
