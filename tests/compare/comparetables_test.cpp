// SPDX-License-Identifier: GPL-2.0-or-later
#include "compare/comparetables.h"

#include <gtest/gtest.h>

#include "base/numbertext.h"
#include "compare/compareimagefiles.h"
#include "image/crc32.h"
#include "support/adfbuilder.h"
#include "support/exercise.h"
#include "support/tempdir.h"

namespace moswit {
namespace {

using test::Bytes;
using Strings = std::vector<std::string>;

// A built image with its walk, as an Inspector holds them.
struct Disk {
  Bytes bytes;
  FileList files;
};

Disk MakeDisk(const std::vector<std::pair<std::string, Bytes>>& files) {
  test::AdfBuilder builder;
  for (const auto& [path, contents] : files) builder.AddFile(path, contents);
  Disk disk{builder.Build(), {}};
  disk.files =
      ListFiles(tADF{"d.adf", static_cast<uint32_t>(disk.bytes.size()), disk.bytes}, false);
  return disk;
}

CompareTables Tables(const std::vector<std::pair<uint8_t, const Disk*>>& ticked) {
  std::vector<CompareImage> images;
  for (const auto& [number, disk] : ticked) images.push_back({number, disk->bytes, disk->files});
  return BuildCompareTables(images);
}

// A row as the dialog shows it: caption, "=" or "!", then the sub-items.
Strings Shown(const TableRow& row) {
  Strings shown = {row.caption, row.equal ? "=" : "!"};
  shown.insert(shown.end(), row.subItems.begin(), row.subItems.end());
  return shown;
}

Strings Titles(const CompareTable& table) {
  Strings titles;
  for (const TableColumn& column : table.columns) titles.push_back(column.title);
  return titles;
}

const Bytes kDigits{'1', '2', '3', '4', '5', '6', '7', '8', '9'};  // CRC CBF43926

TEST(CompareTablesTest, FileRowsMatchPathsIgnoringCase) {
  const Disk a =
      MakeDisk({{"/S/Startup-Sequence", kDigits}, {"/only", Bytes{1}}, {"/b", Bytes{2}}});
  const Disk b = MakeDisk({{"/s/startup-sequence", kDigits}, {"/b", Bytes{3}}, {"/B", kDigits}});
  const CompareTables tables = Tables({{3, &a}, {7, &b}});
  EXPECT_EQ(Titles(tables.files),
            (Strings{"Filename", "03-size", "03-crc32", "07-size", "07-crc32"}));
  ASSERT_EQ(tables.files.rows.size(), 3u);
  // sorted by collation, byte order in the C locale
  EXPECT_EQ(Shown(tables.files.rows[0]),
            (Strings{"/S/Startup-Sequence", "=", "9", "CBF43926", "9", "CBF43926"}));
  // only the first of two paths differing in case on image 07 is compared
  EXPECT_EQ(Shown(tables.files.rows[1]), (Strings{"/b", "!", "1", IntToHex(Crc32(Bytes{2}), 8), "1",
                                                  IntToHex(Crc32(Bytes{3}), 8)}));
  EXPECT_EQ(Shown(tables.files.rows[2]),
            (Strings{"/only", "!", "1", IntToHex(Crc32(Bytes{1}), 8), "--", "--"}));
  // captioned as on the lower-numbered image
  EXPECT_EQ(Tables({{3, &b}, {7, &a}}).files.rows[2].caption, "/s/startup-sequence");
}

TEST(CompareTablesTest, ASingleImageIsEqualEverywhere) {
  const Disk a = MakeDisk({{"/x", kDigits}, {"/s/y", Bytes(2000, 9)}});
  const CompareTables tables = Tables({{0x1A, &a}});
  ASSERT_EQ(tables.files.rows.size(), 2u);
  for (const TableRow& row : tables.files.rows) EXPECT_TRUE(row.equal) << row.caption;
  EXPECT_EQ(Titles(tables.ranges), (Strings{"Start", "End", "1A-crc32"}));
  ASSERT_EQ(tables.ranges.rows.size(), 1u);
  EXPECT_EQ(Shown(tables.ranges.rows[0]),
            (Strings{"00000000", "=", "000DBFFF", IntToHex(Crc32(a.bytes), 8)}));
}

TEST(CompareTablesTest, UntickingAnImageRemovesItsColumns) {
  const Disk a = MakeDisk({{"/x", kDigits}});
  const Disk b = MakeDisk({{"/x", Bytes(9, 'b')}});
  const CompareTables all = Tables({{0, &a}, {1, &b}, {2, &a}});
  EXPECT_FALSE(all.files.rows.at(0).equal);
  EXPECT_EQ(all.ranges.rows.size(), 3u);
  const CompareTables two = Tables({{0, &a}, {2, &a}});
  EXPECT_EQ(Titles(two.files), (Strings{"Filename", "00-size", "00-crc32", "02-size", "02-crc32"}));
  EXPECT_EQ(Titles(two.ranges), (Strings{"Start", "End", "00-crc32", "02-crc32"}));
  ASSERT_EQ(two.ranges.rows.size(), 1u);
  EXPECT_EQ(two.ranges.rows[0].subItems.size(), 3u);
  EXPECT_TRUE(two.files.rows.at(0).equal);
}

TEST(CompareTablesTest, AShortImageDiffersPastItsEnd) {
  const Disk a = MakeDisk({{"/x", kDigits}});
  Disk cut = a;
  cut.bytes.resize(1200 * 512);
  const CompareTables tables = Tables({{0, &a}, {1, &cut}});
  ASSERT_EQ(tables.ranges.rows.size(), 2u);
  const uint32_t tail = Crc32({a.bytes.data() + 0x96000, 0xDC000 - 0x96000});
  EXPECT_EQ(Shown(tables.ranges.rows[1]),
            (Strings{"00096000", "!", "000DBFFF", IntToHex(tail, 8), "00000000"}));
  EXPECT_TRUE(tables.files.rows.at(0).equal);
}

TEST(CompareTablesTest, NoImagesGiveEmptyTablesAndAtMost255AreCompared) {
  const CompareTables none = BuildCompareTables({});
  EXPECT_TRUE(none.files.rows.empty());
  EXPECT_TRUE(none.ranges.rows.empty());
  const Disk a = MakeDisk({{"/x", kDigits}});
  std::vector<CompareImage> images(256, CompareImage{0, a.bytes, a.files});
  for (size_t k = 0; k < images.size(); ++k) images[k].number = static_cast<uint8_t>(k);
  const CompareTables tables = BuildCompareTables(images);
  EXPECT_EQ(tables.files.columns.back().title, "FE-crc32");
  EXPECT_EQ(tables.ranges.rows.at(0).subItems.size(), 1u + 255);
}

std::vector<Strings> Shown(const CompareTable& table) {
  std::vector<Strings> rows = {Titles(table)};
  for (const TableRow& row : table.rows) rows.push_back(Shown(row));
  return rows;
}

// Read from files one after another, twice, images give the tables they
// give in memory: more than eight variants; image 0 shorter than the rest;
// an image cut inside a 64-byte line; high-density disks among others.
TEST(CompareTablesTest, ImageFilesGiveTheTablesOfTheLoadedImages) {
  const test::TempDir dir;
  const Bytes base =
      MakeDisk({{"/s/startup-sequence", kDigits}, {"/game", Bytes(30'000, 7)}}).bytes;
  test::AdfBuilder high({.blocks = 3520});
  high.AddFile("/game", Bytes(30'000, 8));
  const Bytes hd = high.Build();
  std::vector<Bytes> variants;
  for (size_t k = 0; k < 11; ++k) {
    variants.push_back(base);
    variants.back()[k * 80'021 % base.size()] ^= 0x5A;
  }
  const Bytes cut(base.begin(), base.begin() + 500'003);
  const Bytes head(base.begin(), base.begin() + 1000);
  Bytes tail = base;  // differs after the last whole line of `cut`
  tail[499'980] ^= 1;
  const std::vector<std::vector<Bytes>> sets = {
      variants, {head, base, cut}, {base, hd, cut, tail}, {hd, base}, {hd}};
  for (size_t set = 0; set < sets.size(); ++set) {
    std::vector<std::string> paths;
    std::vector<FileList> lists;
    for (const Bytes& bytes : sets[set]) {
      paths.push_back(dir.Write(std::to_string(set) + "/" + std::to_string(paths.size()), bytes));
      lists.push_back(ListFiles(test::ImageOf(bytes), false));
    }
    std::vector<CompareImage> images;
    for (size_t k = 0; k < paths.size(); ++k) {
      images.push_back({static_cast<uint8_t>(k), sets[set][k], lists[k]});
    }
    CompareTables fromFiles;
    FileError error;
    ASSERT_TRUE(CompareImageFiles(paths, fromFiles, error)) << FormatFileError(error);
    const CompareTables inMemory = BuildCompareTables(images);
    EXPECT_EQ(Shown(fromFiles.files), Shown(inMemory.files)) << "set " << set;
    EXPECT_EQ(Shown(fromFiles.ranges), Shown(inMemory.ranges)) << "set " << set;
  }
  CompareTables tables;
  FileError error;
  const std::string missing = (dir.Path() / "missing.adf").string();
  EXPECT_FALSE(CompareImageFiles({dir.Write("a.adf", base), missing}, tables, error));
  EXPECT_EQ(error.path, missing);
}

}  // namespace
}  // namespace moswit
