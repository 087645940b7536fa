// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/aboutbox.h"

#include <gtest/gtest.h>

namespace moswit {
namespace {

TEST(AboutBoxTest, EighteenLinesWithTheirBlanksAndEmptyLines) {
  const auto& lines = AboutLines();
  EXPECT_EQ(lines.front(),
            "Moswit acts as a database maker and renamer for Amiga Disk Files (ADFs).");
  EXPECT_EQ(lines[15], "file contains game code, graphics or music or something else.");
  std::vector<size_t> empty;
  std::vector<size_t> endInBlank;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) empty.push_back(i + 1);
    if (!lines[i].empty() && lines[i].back() == ' ') endInBlank.push_back(i + 1);
  }
  EXPECT_EQ(empty, (std::vector<size_t>{2, 7, 12, 17, 18}));
  EXPECT_EQ(endInBlank, (std::vector<size_t>{3, 4, 5, 8, 9, 10, 11, 13, 14, 15}));
}

TEST(AboutBoxTest, TextJoinsTheLinesByLineBreaks) {
  const std::string text = AboutText();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 17);
  EXPECT_EQ(text.substr(text.size() - 3), ".\n\n");
}

}  // namespace
}  // namespace moswit
