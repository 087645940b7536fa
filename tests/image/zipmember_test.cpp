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
    ASSERT_EQ(entries.size(), c.names.size()) << c.what;
    EXPECT_EQ(ZipImageMembers(entries), c.images) << c.what;
    if (c.images.empty()) {
      EXPECT_NE(NoZipImageReason(entries).find(c.reason), std::string::npos)
          << c.what << ": " << NoZipImageReason(entries);
    }
  }
}

// Damaged and lying fields: the directory gives what it truly holds, an
// archive without one is read along its local headers, and a member whose
// header is not where the directory says fails with a reason.
TEST(ZipDirectory, DamagedAndLyingEntries) {
  const Bytes one = test::PatternBytes(2000, 2);
  const Bytes two = test::PatternBytes(2500, 3);
  const Bytes zip = MakeZip({{"one.adf", one}, {"two.adf", two}});
  // Each member's name and what it decodes to: "one", "two" or the reason.
  const auto outcome = [&](const Bytes& archive) {
    MemorySource source(archive.data(), archive.size());
    std::string text;
    for (const ZipEntry& entry : Entries(archive)) {
      std::vector<uint8_t> out;
      std::string error;
      const bool extracted = ExtractZipMember(source, entry, 1 << 20, out, error);
      text += entry.name + ":" +
              (!extracted   ? error
               : out == one ? "one"
               : out == two ? "two"
                            : "?");
      text += ";";
    }
    return text;
  };
  // Intact; the end record's count too high, too low; the second entry's
  // signature broken, its name past the directory; the directory's offset
  // past its end; no directory; cut inside the second member; the second
  // entry's local header offset into the data, past the end, at the first.
  const std::pair<std::function<void(Bytes&)>, std::string> cases[] = {
      {[](Bytes&) {}, "one.adf:one;two.adf:two;"},
      {[](Bytes& z) { Put16(z, EndRecord(z) + 10, 9); }, "one.adf:one;two.adf:two;"},
      {[](Bytes& z) { Put16(z, EndRecord(z) + 10, 1); }, "one.adf:one;"},
      {[](Bytes& z) { z[DirectoryEntry(z, 1)] ^= 0xFF; }, "one.adf:one;"},
      {[](Bytes& z) { Put16(z, DirectoryEntry(z, 1) + 28, 0xFFFF); }, "one.adf:one;"},
      {[](Bytes& z) { Put32(z, EndRecord(z) + 16, 0xFFFFFF00); }, "one.adf:one;two.adf:two;"},
      {[](Bytes& z) { z.resize(DirectoryEntry(z, 0)); }, "one.adf:one;two.adf:two;"},
      {[](Bytes& z) { z.resize(Get32(z, DirectoryEntry(z, 1) + 42) + 40); },
       "one.adf:one;two.adf:Read beyond end of file;"},
      {[](Bytes& z) { Put32(z, DirectoryEntry(z, 1) + 42, 40); },
       "one.adf:one;two.adf:Damaged ZIP archive: no local header at offset 40;"},
      {[](Bytes& z) { Put32(z, DirectoryEntry(z, 1) + 42, 0xFFFFFFF0); },
       "one.adf:one;two.adf:Read beyond end of file;"},
      {[](Bytes& z) { Put32(z, DirectoryEntry(z, 1) + 42, 0); }, "one.adf:one;two.adf:one;"},
  };
  for (const auto& [damage, expected] : cases) {
    Bytes damaged = zip;
    damage(damaged);
    EXPECT_EQ(outcome(damaged), expected);
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
      {"two\nlines\x7F.adf", "two_lines_.adf"},
  };
  for (const auto& [stored, shown] : cases) {
    ZipEntry entry;
    entry.name = stored;
    EXPECT_EQ(ZipEntryName(entry), shown) << stored;
  }
}

// A member loads by its position in the directory (the listing's rows do);
// a position that is no file, or a file that is no archive, fails.
TEST(ZipDirectory, LoadingByPosition) {
  test::TempDir dir;
  const Bytes a = test::PatternBytes(4096, 4);
  const Bytes b = test::PatternBytes(8192, 5);
  const std::string path =
      dir.Write("set.zip", MakeZip({{"Set/", {}}, {"Set/Disk1.adf", a}, {"Set/Disk2.ADF", b}}));
  EXPECT_EQ(LoadImage(path, nullptr, 2)->Data, b);
  EXPECT_EQ(LoadedImageName(path), path + "/Set/Disk1.adf");
  EXPECT_EQ(LoadedImageName(path, 2), path + "/Set/Disk2.ADF");
  const std::pair<std::string, uint32_t> failures[] = {
      {path, 0}, {path, 3}, {dir.Write("plain.adf", a), 1}};
  for (const auto& [file, position] : failures) {
    FileError error;
    EXPECT_FALSE(LoadImage(file, &error, position));
    EXPECT_NE(error.message.find("at position " + std::to_string(position)), std::string::npos);
  }
  const std::string plain = dir.Write("plain.zip", a);
  EXPECT_EQ(LoadedImageName(plain), plain);
}

}  // namespace
}  // namespace moswit
