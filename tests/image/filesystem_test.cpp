// SPDX-License-Identifier: GPL-2.0-or-later
#include "image/filesystem.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <set>

#include "image/blocklayout.h"
#include "image/geometry.h"
#include "support/adfbuilder.h"

namespace moswit {
namespace {

using test::AdfBuilder;
using test::Bytes;
using test::FromBytes;

uint32_t ZlibCrc(const Bytes& b) {
  return static_cast<uint32_t>(crc32(0, b.data(), static_cast<uInt>(b.size())));
}

FileList List(const Bytes& bytes) {
  ImagePtr image = FromBytes(bytes);
  return ListFiles(*image, ImageIsFfs(*image));
}

std::vector<std::string> Paths(const FileList& list) {
  std::vector<std::string> paths;
  for (const auto& f : list) paths.push_back(f.Path);
  return paths;
}

AdfBuilder::Options Ffs(bool ffs) {
  AdfBuilder::Options o;
  o.ffs = ffs;
  return o;
}

class BothFilesystems : public ::testing::TestWithParam<bool> {};

TEST_P(BothFilesystems, ListsEveryFileWithSizeAndCrc) {
  AdfBuilder builder(Ffs(GetParam()));
  const std::vector<std::pair<std::string, Bytes>> files = {
      {"/s/startup-sequence", Bytes{'g', 'a', 'm', 'e', '\n'}},
      {"/c/loader", test::PatternBytes(5'000, 1)},
      {"/game", test::PatternBytes(80'000, 2)},  // needs extension blocks
      {"/empty", Bytes{}},
      {"/data/levels/one", test::PatternBytes(488, 3)},
      {"/data/levels/two", test::PatternBytes(512, 4)},
      {"/data/levels/three", test::PatternBytes(1, 5)},
  };
  for (const auto& [path, contents] : files) builder.AddFile(path, contents);
  const FileList list = List(builder.Build());

  ASSERT_EQ(list.size(), files.size());
  for (const auto& [path, contents] : files) {
    const std::string& wanted = path;
    auto found =
        std::find_if(list.begin(), list.end(), [&](const auto& f) { return f.Path == wanted; });
    ASSERT_NE(found, list.end()) << path;
    EXPECT_EQ(found->Size, contents.size()) << path;
    EXPECT_EQ(found->Status, 0u) << path;
    EXPECT_EQ(found->Crc, ZlibCrc(contents)) << path;
    EXPECT_EQ(ClassifyBlock(*FromBytes(builder.Build()), found->HeaderBlock), bsFileHeader);
  }
}

TEST_P(BothFilesystems, DataBlockCountFollowsTheBlockPayload) {
  AdfBuilder builder(Ffs(GetParam()));
  const uint32_t header = builder.AddFile("/f", test::PatternBytes(1000, 6));
  EXPECT_EQ(builder.DataBlocks(header).size(), GetParam() ? 2u : 3u);
  const FileList list = List(builder.Build());
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Status, 0u);
}

INSTANTIATE_TEST_SUITE_P(Walk, BothFilesystems, ::testing::Values(false, true),
                         [](const auto& p) { return p.param ? "Ffs" : "Ofs"; });

TEST(Walk, DirectoriesAreEnteredAtOnceDepthFirst) {
  AdfBuilder builder;
  // "b" and "a" land in different root slots; "a" (a directory) is walked
  // completely before the chain or slot after it goes on.
  builder.AddFile("/a/inner", Bytes{1});
  builder.AddFile("/b", Bytes{2});
  builder.AddFile("/a/deeper/x", Bytes{3});
  const auto paths = Paths(List(builder.Build()));
  ASSERT_EQ(paths.size(), 3u);
  const unsigned slotA = test::AmigaHash("a"), slotB = test::AmigaHash("b");
  ASSERT_NE(slotA, slotB);
  // The files below "a" stay together in the listing.
  auto posB = std::find(paths.begin(), paths.end(), "/b") - paths.begin();
  if (slotA < slotB) {
    EXPECT_EQ(posB, 2);
  } else {
    EXPECT_EQ(posB, 0);
  }
}

TEST(Walk, HashCollisionsAreFollowedAlongTheChain) {
  // Names with the same hash share a slot; all of them are listed in chain order.
  std::vector<std::string> names;
  const unsigned slot = test::AmigaHash("file0");
  for (int i = 0; names.size() < 4 && i < 5000; ++i) {
    std::string name = "file" + std::to_string(i);
    if (test::AmigaHash(name) == slot) names.push_back(name);
  }
  ASSERT_EQ(names.size(), 4u);
  AdfBuilder builder;
  for (const auto& n : names) builder.AddFile("/" + n, Bytes(10, 1));
  const auto paths = Paths(List(builder.Build()));
  ASSERT_EQ(paths.size(), 4u);
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(paths[i], "/" + names[i]);
}

TEST(Walk, BadRootChecksumListsNothing) {
  AdfBuilder builder;
  builder.AddFile("/a", Bytes(10, 1));
  Bytes image = builder.Build();
  test::BreakChecksum(image, kRootBlock);
  EXPECT_TRUE(List(image).empty());
}

TEST(Walk, ImageTooShortForTheRootListsNothing) {
  AdfBuilder builder;
  builder.AddFile("/a", Bytes(10, 1));
  Bytes image = builder.Build();
  image.resize(880 * 512 + 300);
  EXPECT_TRUE(List(image).empty());
}

// A disk of exactly 3520 blocks walks from block 1760 to blocks up to its
// last; at any other size, and for a floppy padded to 3520 blocks, the root
// is not where the walk looks.
TEST_P(BothFilesystems, HighDensityDiskWalksFromItsMiddle) {
  AdfBuilder::Options options = Ffs(GetParam());
  options.blocks = kHighDensityBlocks;
  AdfBuilder builder(options);
  const Bytes big = test::PatternBytes(1'000'000, 6);  // past the last block, round to block 2
  const uint32_t header = builder.AddFile("/big", big);
  Bytes bytes = builder.Build();
  ASSERT_LT(builder.DataBlocks(header).back(), 1760u);
  const FileList list = List(bytes);
  ASSERT_EQ(Paths(list), std::vector<std::string>{"/big"});
  EXPECT_EQ(list[0].Crc, ZlibCrc(big));

  Bytes padded = AdfBuilder(Ffs(GetParam())).Build();
  padded.resize(bytes.size());
  bytes.resize(bytes.size() + 512);
  EXPECT_TRUE(List(bytes).empty());
  EXPECT_TRUE(List(padded).empty());
}

TEST(Walk, FileHeaderWithBadChecksumIsNotListed) {
  AdfBuilder builder;
  const uint32_t a = builder.AddFile("/a", Bytes(10, 1));
  builder.AddFile("/b", Bytes(10, 2));
  Bytes image = builder.Build();
  test::BreakChecksum(image, a);
  EXPECT_EQ(Paths(List(image)), std::vector<std::string>{"/b"});
}

TEST(Walk, TwoChainsToOneHeaderListItOnce) {
  AdfBuilder builder;
  const uint32_t a = builder.AddFile("/a", Bytes(10, 1));
  Bytes image = builder.Build();
  const unsigned other = (test::AmigaHash("a") + 1) % 72;
  test::SetLong(image, kRootBlock, kHashTable + other, a);
  EXPECT_EQ(List(image).size(), 1u);
}

TEST(Walk, ChainLoopingBackEnds) {
  AdfBuilder builder;
  std::vector<std::string> names;
  const unsigned slot = test::AmigaHash("x0");
  for (int i = 0; names.size() < 3; ++i) {
    std::string name = "x" + std::to_string(i);
    if (test::AmigaHash(name) == slot) names.push_back(name);
  }
  std::vector<uint32_t> blocks;
  for (const auto& n : names) blocks.push_back(builder.AddFile("/" + n, Bytes(3, 1)));
  Bytes image = builder.Build();
  test::SetLong(image, blocks.back(), kHashChain, blocks.front());
  EXPECT_EQ(List(image).size(), 3u);
}

TEST(Walk, DirectoryLoopingToItsParentEnds) {
  AdfBuilder builder;
  const uint32_t dir = builder.AddDir("/d");
  builder.AddFile("/d/f", Bytes(3, 1));
  Bytes image = builder.Build();
  // An empty slot of d points back to the root, another to d itself.
  test::SetLong(image, dir, kHashTable + (test::AmigaHash("f") + 1) % 72, kRootBlock);
  test::SetLong(image, dir, kHashTable + (test::AmigaHash("f") + 2) % 72, dir);
  EXPECT_EQ(Paths(List(image)), std::vector<std::string>{"/d/f"});
}

TEST(Walk, PointersOutOfRangeEndTheChain) {
  AdfBuilder builder;
  const uint32_t a = builder.AddFile("/a", Bytes(3, 1));
  Bytes image = builder.Build();
  test::SetLong(image, a, kHashChain, 0xFFFFFFF0u);
  test::SetLong(image, kRootBlock, kHashTable + (test::AmigaHash("a") + 1) % 72, 1760);
  EXPECT_EQ(List(image).size(), 1u);
}

TEST(Walk, LongPathsAreCutTo119Characters) {
  AdfBuilder builder;
  const std::string path = "/" + std::string(30, 'a') + "/" + std::string(30, 'b') + "/" +
                           std::string(30, 'c') + "/" + std::string(30, 'd');
  builder.AddFile(path + "/file", Bytes(5, 1));
  const FileList list = List(builder.Build());
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Path.size(), kMaxPathLength);
  EXPECT_EQ(list[0].Path, (path + "/file").substr(0, kMaxPathLength));
  EXPECT_EQ(list[0].Status, 0u);
}

TEST(Walk, DeepNestingNeitherOverflowsNorGrowsPaths) {
  AdfBuilder builder;
  std::string path;
  for (int i = 0; i < 1500; ++i) path += "/d";
  builder.AddFile(path + "/f", Bytes(5, 1));
  const FileList list = List(builder.Build());
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Path, path.substr(0, kMaxPathLength));
}

TEST(Walk, NameRunningPastTheImageEndStopsThere) {
  AdfBuilder::Options options;
  AdfBuilder builder(options);
  const uint32_t last = builder.AddFileAt("/n", Bytes{}, 1759);
  Bytes image = builder.Build();
  image[static_cast<size_t>(last) * 512 + kNameOffset] = 255;  // length byte only
  test::FixChecksum(image, last);
  const FileList list = List(image);
  ASSERT_EQ(list.size(), 1u);
  // From byte 433 of the last block to the end of the image: 79 bytes.
  EXPECT_EQ(list[0].Path.size(), 1u + 79u);
}

TEST(Walk, WalksOfOneImageAreIndependent) {
  AdfBuilder builder;
  builder.AddFile("/a", Bytes(10, 1));
  builder.AddFile("/b/c", Bytes(700, 2));
  ImagePtr image = FromBytes(builder.Build());
  const FileList first = ListFiles(*image, false);
  const FileList second = ListFiles(*image, false);
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(Paths(first), Paths(second));
}

// ---- ReadFileData ----

struct Read {
  BlockStatus status;
  Bytes buffer;
};

Read ReadOne(const Bytes& image, uint32_t header, bool ffs) {
  ImagePtr adf = FromBytes(image);
  FileEntry entry;
  entry.HeaderBlock = header;
  VisitedMap map;
  Read r;
  r.status = ReadFileData(*adf, entry, ffs, map, r.buffer);
  return r;
}

TEST(ReadFileData, OfsSecondDataBlockWithBadChecksum) {
  AdfBuilder::Options options;
  options.firstFree = 898;  // header 898, data 899 and 900
  AdfBuilder builder(options);
  const Bytes contents = test::PatternBytes(1000, 3);
  const uint32_t header = builder.AddFile("/f", contents);
  ASSERT_EQ(builder.DataBlocks(header)[1], 900u);
  Bytes image = builder.Build();
  test::BreakChecksum(image, 900);

  const FileList list = List(image);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Status, 0x03840017u);
  EXPECT_EQ(list[0].Crc, 0x03840017u);

  const Read r = ReadOne(image, header, false);
  ASSERT_EQ(r.buffer.size(), 1000u);
  // The first block's contents are there, the rest is zero.
  EXPECT_TRUE(std::equal(contents.begin(), contents.begin() + 488, r.buffer.begin()));
  EXPECT_TRUE(
      std::all_of(r.buffer.begin() + 488, r.buffer.end(), [](uint8_t b) { return b == 0; }));
}

TEST(ReadFileData, HeaderOutOfRange) {
  ImagePtr image = FromBytes(AdfBuilder().Build());
  FileEntry entry;
  entry.HeaderBlock = 5000;
  VisitedMap map;
  Bytes buffer{1, 2, 3};
  EXPECT_EQ(ReadFileData(*image, entry, false, map, buffer),
            AtBlock(bsFileHeader | bsOutOfRange, 5000));
  EXPECT_TRUE(buffer.empty());
}

struct DamageCase {
  const char* what;
  bool ffs;
  size_t size;
  BlockStatus (*damage)(Bytes& image, uint32_t header, const AdfBuilder& builder);
};

const DamageCase kDamageCases[] = {
    {"header with bad checksum reports as a table block", false, 100,
     [](Bytes& im, uint32_t h, const AdfBuilder&) {
       test::BreakChecksum(im, h);
       return AtBlock(bsFileExt | bsChecksumError, h);
     }},
    {"data pointer out of range", false, 1000,
     [](Bytes& im, uint32_t h, const AdfBuilder&) {
       test::SetLong(im, h, kFirstDataSlot - 1, 1760);
       return AtBlock(bsData | bsOutOfRange, 1760);
     }},
    {"data block used twice", true, 1500,
     [](Bytes& im, uint32_t h, const AdfBuilder& b) {
       test::SetLong(im, h, kFirstDataSlot - 2, b.DataBlocks(h)[0]);
       return AtBlock(bsData | bsUsedTwice, b.DataBlocks(h)[0]);
     }},
    {"OFS pointer to a block that is not data", false, 1000,
     [](Bytes& im, uint32_t h, const AdfBuilder& b) {
       const uint32_t d = b.DataBlocks(h)[1];
       test::SetLong(im, d, kPrimaryType, 16);
       return AtBlock(bsData | bsNotData, d);
     }},
    {"extension pointer 0 when more data is needed", true, 80 * 512,
     [](Bytes& im, uint32_t h, const AdfBuilder&) {
       test::SetLong(im, h, kExtension, 0);
       return AtBlock(bsFileExt | bsChecksumError, 0);
     }},
    {"extension 0 after block 0 was used as data", true, 80 * 512,
     [](Bytes& im, uint32_t h, const AdfBuilder&) {
       test::SetLong(im, h, kFirstDataSlot - 5, 0);
       test::SetLong(im, h, kExtension, 0);
       return AtBlock(bsFileExt | bsUsedTwice, 0);
     }},
    {"extension out of range", false, 80 * 488,
     [](Bytes& im, uint32_t h, const AdfBuilder&) {
       test::SetLong(im, h, kExtension, 70000);
       return AtBlock(bsFileExt | bsOutOfRange, 70000);
     }},
    {"extension chain looping to the header", true, 150 * 512,
     [](Bytes& im, uint32_t h, const AdfBuilder& b) {
       test::SetLong(im, b.ExtensionBlocks(h)[0], kExtension, h);
       return AtBlock(bsFileExt | bsUsedTwice, h);
     }},
    {"extension with bad checksum", false, 80 * 488,
     [](Bytes& im, uint32_t h, const AdfBuilder& b) {
       test::BreakChecksum(im, b.ExtensionBlocks(h)[0]);
       return AtBlock(bsFileExt | bsChecksumError, b.ExtensionBlocks(h)[0]);
     }},
    {"FFS size larger than the table: block 0, then used twice", true, 600,
     [](Bytes& im, uint32_t h, const AdfBuilder&) {
       test::SetLong(im, h, kByteSize, 2000);
       return AtBlock(bsData | bsUsedTwice, 0);
     }},
};

TEST(ReadFileData, DamagedChainsReportTheBlockAtFault) {
  for (const DamageCase& c : kDamageCases) {
    AdfBuilder builder(Ffs(c.ffs));
    const uint32_t header = builder.AddFile("/f", test::PatternBytes(c.size, 11));
    Bytes image = builder.Build();
    const BlockStatus expected = c.damage(image, header, builder);
    EXPECT_EQ(ReadOne(image, header, c.ffs).status, expected) << c.what;
  }
}

TEST(ReadFileData, EmptyFileNeedsNoBlocks) {
  AdfBuilder builder;
  const uint32_t header = builder.AddFile("/e", Bytes{});
  Bytes image = builder.Build();
  test::SetLong(image, header, kFirstDataSlot, 99999);  // never followed
  const Read r = ReadOne(image, header, false);
  EXPECT_EQ(r.status, 0u);
  EXPECT_TRUE(r.buffer.empty());
  const FileList list = List(image);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Crc, 0u);
}

TEST(ReadFileData, SizeBeyondTheImageIsCutButKept) {
  AdfBuilder builder(Ffs(true));
  const uint32_t header = builder.AddFile("/big", test::PatternBytes(2000, 12));
  Bytes image = builder.Build();
  test::SetLong(image, header, kByteSize, 0x7FFFFFFFu);
  const FileList list = List(image);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Size, 0x7FFFFFFFu);
  EXPECT_NE(list[0].Status, 0u);
  EXPECT_EQ(ReadOne(image, header, true).buffer.size(), image.size());
}

TEST(ReadFileData, FfsFlagComesFromTheBootBlock) {
  for (bool ffs : {false, true}) {
    ImagePtr image = FromBytes(AdfBuilder(Ffs(ffs)).Build());
    EXPECT_EQ(ImageIsFfs(*image), ffs);
  }
  const Bytes tiny{'D', 'O', 'S'};
  ImagePtr image = FromBytes(tiny);
  ASSERT_TRUE(image == nullptr || !ImageIsFfs(*image));
}

}  // namespace
}  // namespace moswit
