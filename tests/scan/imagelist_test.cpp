// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/imagelist.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>

#include "support/tempdir.h"
#include "support/zipwriter.h"

namespace moswit {
namespace {

std::vector<std::string> Captions(const std::vector<ImageRow>& rows) {
  std::vector<std::string> captions;
  for (const auto& r : rows) captions.push_back(r.caption);
  return captions;
}

class ImageListTest : public ::testing::Test {
 protected:
  std::string Folder() const { return dir_.Path().string() + "/"; }
  test::TempDir dir_;
};

TEST_F(ImageListTest, ListsAdfFilesInAnyCaseBelowTheFolder) {
  for (const char* name : {"A.adf", "b.ADF", "sub/C.Adf", "notes.txt", "game.adf.bak",
                           "x.adf/inner.adf", "deep/er/still/D.aDf", "archive.zip", ".adf"}) {
    dir_.Write(name, {1, 2, 3});
  }
  std::vector<ImageRow> rows = ListImages(Folder());
  SortRows(rows);
  EXPECT_EQ(Captions(rows), (std::vector<std::string>{"", "A", "archive.zip", "b",
                                                      "deep/er/still/D", "sub/C", "x.adf/inner"}));
  for (const ImageRow& row : rows) {
    EXPECT_TRUE(std::filesystem::is_regular_file(row.path)) << row.path;
  }
  // The row keeps the real name: loading "sub/C" + ".adf" would miss on this file system.
  const auto sub =
      std::find_if(rows.begin(), rows.end(), [](const auto& r) { return r.caption == "sub/C"; });
  EXPECT_EQ(sub->path, Folder() + "sub/C.Adf");
}

TEST_F(ImageListTest, ExtensionRule) {
  struct Case {
    const char* name;
    bool listed;
  };
  const Case cases[] = {{"a.adf", true},  {"a.ADF", true},   {"a.AdF", true},  {".adf", true},
                        {"adf", false},   {"a.adf ", false}, {"a.adz", false}, {"a.adf.bak", false},
                        {"a_adf", false}, {"a.dms", false}};
  // A listed name's caption drops its ".adf"; any other stays whole.
  for (const Case& c : cases) EXPECT_EQ(ImageCaption(c.name) != c.name, c.listed) << c.name;
}

// Zipped and gzipped images are listed too; only ".adf" leaves the
// caption, so four forms of one name are four rows.
TEST_F(ImageListTest, EveryImageEndingInAnyCase) {
  for (const char* name : {"a.adf.gz", "b.ADZ", "c.Zip", "d.gz", "e.adf.gz.bak", "g.zip.adf",
                           "x.adf", "x.adz", "x.adf.gz", "x.zip"}) {
    dir_.Write(name, {1});
  }
  std::vector<ImageRow> rows = ListImages(Folder());
  SortRows(rows);
  EXPECT_EQ(Captions(rows), (std::vector<std::string>{"a.adf.gz", "b.ADZ", "c.Zip", "g.zip", "x",
                                                      "x.adf.gz", "x.adz", "x.zip"}));
  EXPECT_EQ(ImageFileStem("/x/Game (1990)[1|2].ADF.GZ"), "Game (1990)[1|2]");
}

// A ZIP archive of several images is a row per image, captioned after the
// archive and the member; one of a single image, or of none, is one row.
TEST_F(ImageListTest, ArchivesOfSeveralImagesGiveARowPerImage) {
  const test::Bytes disk = test::PatternBytes(2000, 1);
  dir_.Write(
      "sub/set.zip",
      test::MakeZip(
          {{"Set/", {}}, {"Set/Disk1.adf", disk}, {"readme.txt", disk}, {"Set/Disk2.ADF", disk}}));
  dir_.Write("one.ZIP", test::MakeZip({{"Game/", {}}, {"Game/Game.adf", disk}}));
  dir_.Write("docs.zip", test::MakeZip({{"a.txt", disk}, {"b.txt", disk}}));
  dir_.Write("plain.zip.adf", test::MakeZip({{"1.adf", disk}, {"2.adf", disk}}));
  std::vector<ImageRow> rows = ListImages(Folder());
  SortRows(rows);
  EXPECT_EQ(Captions(rows),
            (std::vector<std::string>{"docs.zip", "one.ZIP", "plain.zip", "sub/set.zip/Set/Disk1",
                                      "sub/set.zip/Set/Disk2"}));
  EXPECT_EQ(rows[3].path, Folder() + "sub/set.zip");
  EXPECT_EQ(rows[3].member, 1u);
  EXPECT_EQ(rows[4].member, 3u);
  EXPECT_EQ(rows[4].memberName, "Set/Disk2.ADF");
}

TEST_F(ImageListTest, MissingFolderListsNothing) {
  EXPECT_TRUE(ListImages(Folder() + "nowhere/").empty());
  EXPECT_TRUE(ListImages("").empty());
}

#ifndef _WIN32  // fifos and symbolic links made by a test are POSIX's
TEST_F(ImageListTest, LinkLoopsAndSpecialFilesAreSkipped) {
  dir_.Write("a/game.adf", {1});
  std::filesystem::create_directory_symlink(dir_.Path() / "a", dir_.Path() / "a" / "loop");
  ASSERT_EQ(::mkfifo((dir_.Path() / "pipe.adf").c_str(), 0600), 0);
  std::filesystem::create_symlink(dir_.Path() / "gone.adf", dir_.Path() / "dangling.adf");
  std::vector<ImageRow> rows = ListImages(Folder());
  EXPECT_EQ(Captions(rows), std::vector<std::string>{"a/game"});
}
#endif

TEST_F(ImageListTest, SeparatorIsAddedOnce) {
  EXPECT_EQ(WithTrailingSeparator("/x"), "/x/");
  EXPECT_EQ(WithTrailingSeparator("/x/"), "/x/");
  EXPECT_EQ(WithTrailingSeparator(""), "");
}

TEST(SortRows, CaseSensitiveAndStable) {
  std::vector<ImageRow> rows = {{"b", "1"}, {"B", "2"}, {"a", "3"}, {"A", "4"}, {"b", "5"}};
  SortRows(rows);
  // In the C locale collation is byte order.
  EXPECT_EQ(Captions(rows), (std::vector<std::string>{"A", "B", "a", "b", "b"}));
  EXPECT_EQ(rows[3].path, "1");
  EXPECT_EQ(rows[4].path, "5");
}

}  // namespace
}  // namespace moswit
