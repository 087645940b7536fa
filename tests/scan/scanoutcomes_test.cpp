// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/scanoutcomes.h"

#include <gtest/gtest.h>

namespace moswit {
namespace {

TEST(RowEnding, TheImageEndingInLowerCase) {
  struct Case {
    ImageRow row;
    const char* ending;
  };
  const Case cases[] = {
      {{"sub/Game", "/src/sub/Game.ADF"}, ".adf"},
      {{"Game.Adf.GZ", "/src/Game.Adf.GZ"}, ".adf.gz"},
      {{"x.adz", "/src/x.adz"}, ".adz"},
      {{"other", "/src/x.y/Name.Zip"}, ".zip"},
      {{"other", "/src/x.y/Name"}, ""},
      {{"set.zip/Disk2", "/src/set.zip", 3, "Disk2.ADF"}, ".adf"},  // copied out as a plain image
  };
  for (const Case& c : cases) EXPECT_EQ(RowEnding(c.row), c.ending) << c.row.path;
}

}  // namespace
}  // namespace moswit
