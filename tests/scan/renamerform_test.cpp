#include "scan/renamerform.h"

#include <gtest/gtest.h>

#include "scan/scanner.h"

namespace moswit {
namespace {

TEST(RenamerFormTest, DefaultFolderIsHomeWithSeparatorOrTheSystemDrive) {
  EXPECT_EQ(DefaultScanFolder("/home/u", false, '/'), "/home/u/");
  EXPECT_EQ(DefaultScanFolder("/home/u/", false, '/'), "/home/u/");
  EXPECT_EQ(DefaultScanFolder("/", false, '/'), "/");
  EXPECT_EQ(DefaultScanFolder("C:\\Users\\u", true, '\\'), "C:\\");
}

TEST(RenamerFormTest, PickedPathIsCutAfterItsLastSeparator) {
  EXPECT_EQ(PickedFolder("/adf/amiga/No file selection needed", '/'), "/adf/amiga/");
  EXPECT_EQ(PickedFolder("/adf/amiga/", '/'), "/adf/amiga/");
  EXPECT_EQ(PickedFolder("/", '/'), "/");
  EXPECT_EQ(PickedFolder("C:\\adf\\x", '\\'), "C:\\adf\\");
  EXPECT_FALSE(PickedFolder("nothing", '/').has_value());
  EXPECT_FALSE(PickedFolder("", '/').has_value());
}

TEST(RenamerFormTest, ProgressFollowsTheScanningStatus) {
  struct Case {
    size_t i, n;
  };
  for (const Case c : {Case{1, 1}, Case{2, 3}, Case{9'999, 10'000}, Case{0, 0}}) {
    const auto progress = ParseScanningStatus(ScanningStatus(c.i, c.n, "/adf/", "b [1 of 2]"));
    ASSERT_TRUE(progress.has_value()) << c.i;
    EXPECT_EQ(progress->done, c.i);
    EXPECT_EQ(progress->total, c.n);
  }
  for (const char* other : {kPreparingStatus, kReadyStatus, "Scanning file 3 of 2 [150] / x",
                            "Scanning file x of 2 [0] / x", "Scanning file 1 of 2", ""}) {
    EXPECT_FALSE(ParseScanningStatus(other).has_value()) << other;
  }
}

}  // namespace
}  // namespace moswit
