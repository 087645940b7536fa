// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/mainform.h"

#include <gtest/gtest.h>

#include <string>

namespace moswit {
namespace {

struct BrowserCase {
  const char* path;
  bool isFolder;
  bool driveLetters;
  bool shown;
};

TEST(ShowInBrowserTest, FoldersAndOnlyAdfAndZipFiles) {
  const BrowserCase cases[] = {
      {"/home/u/game.adf", false, false, true},
      {"/home/u/GAME.ZIP", false, false, true},
      {"/home/u/Mixed.aDf", false, false, true},
      {"/home/u/readme.txt", false, false, false},
      {"/home/u/image.adz", false, false, true},
      {"/home/u/image.ADF.gz", false, false, true},
      {"/home/u/image.gz", false, false, false},
      {"/home/u/game.adf.bak", false, false, false},
      {"/home/u/adf", false, false, false},
      {"zip", false, false, false},
      {".zip", false, false, true},
      {"/home/u/x.adf", true, false, true},
      {"/home/u/plain", true, false, true},
      // Only where paths have drive letters are the floppy drives hidden.
      {"A:\\", true, true, false},
      {"B:\\games", true, true, false},
      {"C:\\", true, true, true},
      {"a:\\", true, true, true},
      {"A:\\disk.adf", false, true, true},
      {"A:/mnt", true, false, true},
  };
  for (const BrowserCase& c : cases) {
    EXPECT_EQ(ShowInBrowser(c.path, c.isFolder, c.driveLetters), c.shown) << c.path;
  }
}

TEST(WithDidExtensionTest, AppendsUnlessItEndsInDid) {
  const std::pair<const char*, const char*> cases[] = {
      {"/db/test", "/db/test.did"},
      {"/db/test.did", "/db/test.did"},
      {"/db/TEST.DiD", "/db/TEST.DiD"},
      {"/db/test.did.txt", "/db/test.did.txt.did"},
      {"did", "did.did"},
      {".did", ".did"},
      {"", ".did"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(WithDidExtension(in), out) << in;
}

TEST(ToolkitFilterTest, PairsBecomeDialogFilters) {
  EXPECT_EQ(ToolkitFilter(kDidFilter), "Disk Image Database (*.did)");
  EXPECT_EQ(ToolkitFilter("Images|*.adf|All files|*"), "Images (*.adf);;All files (*)");
  EXPECT_EQ(ToolkitFilter("Images"), "Images");
  EXPECT_EQ(ToolkitFilter(""), "");
}

TEST(InitialDialogFolderTest, SystemDriveOrHome) {
  EXPECT_EQ(InitialDialogFolder("/home/u", true), "c:\\");
  EXPECT_EQ(InitialDialogFolder("/home/u", false), "/home/u");
}

}  // namespace
}  // namespace moswit
