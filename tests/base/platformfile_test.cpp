// SPDX-License-Identifier: GPL-2.0-or-later
// The system's file calls where Windows and POSIX systems differ: reads at
// offsets without read-ahead hints, the errors of opening, folder keys.
#include "base/platformfile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include "base/pathtext.h"
#include "image/adf.h"
#include "support/adfbuilder.h"
#include "support/tempdir.h"

namespace moswit {
namespace {

namespace fs = std::filesystem;

TEST(ReadOnlyFile, ReadsAtOffsetsUpToTheEnd) {
  test::TempDir dir;
  const test::Bytes bytes = test::PatternBytes(3000, 7);
  ReadOnlyFile file;
  ASSERT_EQ(file.Open(PathFromText(dir.Write("f", bytes))), 0);
  EXPECT_EQ(file.Length(), 3000u);
  struct Case {
    uint64_t offset;
    size_t length;
    int64_t got;
  };
  // Out of order, so a position kept from the read before would show.
  for (const Case& c : {Case{1000, 500, 500}, Case{0, 10, 10}, Case{2900, 500, 100},
                        Case{3000, 1, 0}, Case{5000, 1, 0}}) {
    std::vector<uint8_t> read(c.length);
    ASSERT_EQ(file.ReadAt(c.offset, read.data(), c.length), c.got) << c.offset;
    read.resize(static_cast<size_t>(c.got));
    EXPECT_TRUE(
        std::equal(read.begin(), read.end(), bytes.begin() + std::min<uint64_t>(c.offset, 3000)));
  }
}

TEST(ReadOnlyFile, FoldersAndMissingFilesGiveTheirErrno) {
  test::TempDir dir;
  EXPECT_EQ(ReadOnlyFile().Open(dir.Path()), EISDIR);
  EXPECT_EQ(ReadOnlyFile().Open(dir.Path() / "missing"), ENOENT);
}

// A hint is asked only where the system takes one, never for what is not a
// plain file, and the image loads the same either way.
TEST(ReadAhead, OnlyAHint) {
  test::TempDir dir;
  const std::string path = dir.Write("a.adf", test::AdfBuilder().Build());
  const bool asked = AdviseReadAhead(path);
  if (!kReadAheadHints) {
    EXPECT_FALSE(asked);
  }
  EXPECT_FALSE(AdviseReadAhead(dir.Path().string()));
  EXPECT_FALSE(AdviseReadAhead(path + ".missing"));
  ImagePtr image = LoadImage(path);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Data, test::AdfBuilder().Build());
}

TEST(FileKey, OneFolderByAnyPathAndNoOther) {
  test::TempDir dir;
  fs::create_directories(dir.Path() / "a" / "b");
  FileKey folder, again, other;
  ASSERT_TRUE(KeyOfFile(dir.Path() / "a", folder));
  ASSERT_TRUE(KeyOfFile(dir.Path() / "a" / "b" / "..", again));
  ASSERT_TRUE(KeyOfFile(dir.Path() / "a" / "b", other));
  EXPECT_EQ(folder, again);
  EXPECT_NE(folder, other);
  EXPECT_FALSE(KeyOfFile(dir.Path() / "missing", other));
}

}  // namespace
}  // namespace moswit
