// SPDX-License-Identifier: GPL-2.0-or-later
#include "image/zipmember.h"

#include <gtest/gtest.h>

#include <functional>

#include "image/adf.h"
#include "support/tempdir.h"
#include "support/zipwriter.h"

namespace moswit {
namespace {

using test::Bytes;
using test::MakeZip;

uint32_t Get32(const Bytes& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
void Put16(Bytes& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}
// Where the fields are in a MakeZip archive without a comment.
size_t EndRecord(const Bytes& zip) { return zip.size() - 22; }
size_t DirectoryEntry(const Bytes& zip, size_t n) {
  size_t at = Get32(zip, EndRecord(zip) + 16);
  for (size_t i = 0; i < n; ++i) at += 46 + (zip[at + 28] | (zip[at + 29] << 8));
  return at;
}

std::vector<ZipEntry> Entries(const Bytes& zip) {
  MemorySource source(zip.data(), zip.size());
  std::vector<ZipEntry> entries;
  std::string error;
  EXPECT_TRUE(ReadZipEntries(source, entries, error)) << error;
  return entries;
}

std::vector<std::string> Names(const std::vector<ZipEntry>& entries) {
  std::vector<std::string> names;
  for (const ZipEntry& entry : entries) names.push_back(entry.name);
  return names;
}

// Which members are images, and what an archive without one says.
TEST(ZipDirectory, ImageMembersOfAnArchive) {
  const Bytes disk = test::PatternBytes(3000, 1);
  struct Case {
    const char* what;
    std::vector<std::string> names;
    std::vector<size_t> images;
    const char* reason;
  };
  const Case cases[] = {
      {"a folder first, as zip -r writes", {"Game/", "Game/Game.adf"}, {1}, ""},
      {"one file, whatever its name", {"README"}, {0}, ""},
      {"several: the .adf ones in any case",
       {"Disk1.adf", "docs/", "read.me", "sub/Disk2.ADF", "x.adf.txt"},
       {0, 3},
       ""},
      {"several without an image", {"a.txt", "b.dms"}, {}, "none of its 2 files ends in .adf"},
      {"folders only", {"a/", "a\\b\\"}, {}, "it holds no file, only folders"},
  };
  for (const Case& c : cases) {
    std::vector<test::ZipMember> members;
    for (const std::string& name : c.names) members.push_back({name, disk});
    const std::vector<ZipEntry> entries = Entries(MakeZip(members));
    EXPECT_EQ(Names(entries), c.names) << c.what;
    EXPECT_EQ(ZipImageMembers(entries), c.images) << c.what;
    if (c.images.empty()) {
      EXPECT_NE(NoZipImageReason(entries).find(c.reason), std::string::npos)
          << c.what << ": " << NoZipImageReason(entries);
    }
  }
}

// Damaged and lying fields: the directory gives what it truly holds, the
// archive falls back to its first local header without one, and a member
// whose header is not where the directory says fails with a reason.
TEST(ZipDirectory, DamagedAndLyingEntries) {
  const Bytes first = test::PatternBytes(2000, 2);
  const Bytes second = test::PatternBytes(2500, 3);
  const Bytes zip = MakeZip({{"one.adf", first}, {"two.adf", second}});
  struct Case {
    const char* what;
    std::function<void(Bytes&)> damage;
    std::vector<std::string> names;
    std::vector<std::string> loads;  // the contents or the reason, member by member
  };
  const std::string one(first.begin(), first.end());
  const std::string two(second.begin(), second.end());
  const Case cases[] = {
      {"intact", [](Bytes&) {}, {"one.adf", "two.adf"}, {one, two}},
      {"count too high",
       [](Bytes& z) { Put16(z, EndRecord(z) + 10, 9); },
       {"one.adf", "two.adf"},
       {one, two}},
      {"count too low", [](Bytes& z) { Put16(z, EndRecord(z) + 10, 1); }, {"one.adf"}, {one}},
      {"second signature broken",
       [](Bytes& z) { z[DirectoryEntry(z, 1)] ^= 0xFF; },
       {"one.adf"},
       {one}},
      {"name longer than the directory",
       [](Bytes& z) { Put16(z, DirectoryEntry(z, 1) + 28, 0xFFFF); },
       {"one.adf"},
       {one}},
      // Without a directory, the local headers lead from one member to the next.
      {"directory offset past its end",
       [](Bytes& z) { Put32(z, EndRecord(z) + 16, 0xFFFFFF00); },
       {"one.adf", "two.adf"},
       {one, two}},
      {"no end record",
       [](Bytes& z) { z.resize(DirectoryEntry(z, 0)); },
       {"one.adf", "two.adf"},
       {one, two}},
      {"cut inside the second member",
       [](Bytes& z) { z.resize(Get32(z, DirectoryEntry(z, 1) + 42) + 40); },
       {"one.adf", "two.adf"},
       {one, kReadBeyondEnd}},
      {"local offset into the data",
       [](Bytes& z) { Put32(z, DirectoryEntry(z, 1) + 42, 40); },
       {"one.adf", "two.adf"},
       {one, "Damaged ZIP archive: no local header at offset 40"}},
      {"local offset past the end",
       [](Bytes& z) { Put32(z, DirectoryEntry(z, 1) + 42, 0xFFFFFFF0); },
       {"one.adf", "two.adf"},
       {one, kReadBeyondEnd}},
      {"both entries at the first header",
       [](Bytes& z) { Put32(z, DirectoryEntry(z, 1) + 42, 0); },
       {"one.adf", "two.adf"},
       {one, one}},
  };
  for (const Case& c : cases) {
    Bytes damaged = zip;
    c.damage(damaged);
    const std::vector<ZipEntry> entries = Entries(damaged);
    EXPECT_EQ(Names(entries), c.names) << c.what;
    ASSERT_EQ(entries.size(), c.loads.size()) << c.what;
    for (size_t i = 0; i < entries.size(); ++i) {
      MemorySource source(damaged.data(), damaged.size());
      std::vector<uint8_t> out;
      std::string error;
      const bool extracted = ExtractZipMember(source, entries[i], 1 << 20, out, error);
      EXPECT_EQ(extracted ? std::string(out.begin(), out.end()) : error, c.loads[i])
          << c.what << ", member " << i;
    }
  }
}

// Names as zippers write them: UTF-8 with or without the flag, code page
// 437 from DOS and Windows; control bytes never reach a listing.
TEST(ZipDirectory, NamesInUtf8) {
  const std::pair<std::string, std::string> cases[] = {
      {"Game (1990)[1|2].adf", "Game (1990)[1|2].adf"},
      {"M\xC3\xBCnchen.adf", "M\xC3\xBCnchen.adf"},    // UTF-8 as it is
      {"M\x81nchen.adf", "M\xC3\xBCnchen.adf"},        // 437: 81 is u umlaut
      {"Caf\x82\xE1.adf", "Caf\xC3\xA9\xC3\x9F.adf"},  // 437: e acute, sharp s
      {"\xE6\x97\xA5\xE6\x9C\xAC.adf", "\xE6\x97\xA5\xE6\x9C\xAC.adf"},
      {"two\nlines\x7F.adf", "two_lines_.adf"},
  };
  for (const auto& [stored, shown] : cases) {
    ZipEntry entry;
    entry.name = stored;
    EXPECT_EQ(ZipEntryName(entry), shown) << stored;
  }
}

// Every image member loads by its position; without one the first image
// member loads; a position that is no file fails.
TEST(ZipDirectory, LoadingByPosition) {
  test::TempDir dir;
  const Bytes a = test::PatternBytes(4096, 4);
  const Bytes b = test::PatternBytes(8192, 5);
  const std::string path =
      dir.Write("set.zip", MakeZip({{"Set/", {}}, {"Set/Disk1.adf", a}, {"Set/Disk2.ADF", b}}));
  const std::vector<ArchiveMember> members = ArchiveImageMembers(path);
  ASSERT_EQ(members.size(), 2u);
  EXPECT_EQ(members[1].position, 2u);
  EXPECT_EQ(members[1].name, "Set/Disk2.ADF");
  EXPECT_EQ(LoadImage(path, nullptr, members[0].position)->Data, a);
  EXPECT_EQ(LoadImage(path, nullptr, members[1].position)->Data, b);
  EXPECT_EQ(LoadImage(path)->Data, a);
  EXPECT_EQ(LoadedImageName(path), path + "/Set/Disk1.adf");
  for (const uint32_t position : {0u, 3u}) {
    FileError error;
    EXPECT_FALSE(LoadImage(path, &error, position));
    EXPECT_EQ(error.message, "The ZIP archive has no file at position " + std::to_string(position));
  }
  FileError error;
  EXPECT_FALSE(LoadImage(dir.Write("plain.adf", a), &error, 1));
  EXPECT_NE(error.message.find("Not a ZIP archive"), std::string::npos);
  const std::string plain = dir.Write("plain.zip", a);
  EXPECT_TRUE(ArchiveImageMembers(plain).empty());
  EXPECT_EQ(LoadedImageName(plain), plain);
}

}  // namespace
}  // namespace moswit
