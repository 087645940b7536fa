// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/renamerform.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace moswit
