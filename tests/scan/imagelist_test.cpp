// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/imagelist.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>

#include "support/tempdir.h"

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
  EXPECT_EQ(Captions(rows), (std::vector<std::string>{"", "A", "archive", "b", "deep/er/still/D",
                                                      "sub/C", "x.adf/inner"}));
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
  for (const Case& c : cases) EXPECT_EQ(HasAdfExtension(c.name), c.listed) << c.name;
}

// Zipped and gzipped images are listed too, without their whole ending.
TEST_F(ImageListTest, EveryImageEndingInAnyCase) {
  for (const char* name : {"a.adf.gz", "b.ADZ", "c.Zip", "d.gz", "e.adf.gz.bak", "g.zip.adf"}) {
    dir_.Write(name, {1});
  }
  std::vector<ImageRow> rows = ListImages(Folder());
  SortRows(rows);
  EXPECT_EQ(Captions(rows), (std::vector<std::string>{"a", "b", "c", "g.zip"}));
  EXPECT_EQ(ImageFileStem("/x/Game (1990)[1|2].ADF.GZ"), "Game (1990)[1|2]");
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
