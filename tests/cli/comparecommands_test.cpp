// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <sstream>

#include "base/numbertext.h"
#include "image/crc32.h"
#include "support/adfbuilder.h"
#include "support/runprogram.h"
#include "support/tempdir.h"

namespace moswit {
namespace {

using test::AdfBuilder;
using test::Bytes;

using test::Cli;

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}

std::string Hex(const Bytes& bytes) { return IntToHex(Crc32(bytes), 8); }

TEST(CompareCliTest, PrintsFileRowsThenRangeRows) {
  const test::TempDir dir;
  const Bytes same = test::PatternBytes(700, 1);
  const Bytes changed = test::PatternBytes(700, 2);
  AdfBuilder first;
  first.AddFile("/s/Startup-Sequence", same);
  first.AddFile("/game", same);
  AdfBuilder second;
  second.AddFile("/S/startup-sequence", same);
  second.AddFile("/game", changed);
  second.AddFile("/extra", Bytes{});
  const Bytes one = first.Build();
  const Bytes two = second.Build();

  const auto result = Cli({"compare", dir.Write("1.adf", one), dir.Write("2.adf", two)});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  const auto lines = Split(result.out, '\n');
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "F\t/extra\t!\t--\t--\t0\t00000000");
  EXPECT_EQ(lines[1], "F\t/game\t!\t700\t" + Hex(same) + "\t700\t" + Hex(changed));
  EXPECT_EQ(lines[2], "F\t/s/Startup-Sequence\t=\t700\t" + Hex(same) + "\t700\t" + Hex(same));
  // the range rows follow, alternating, the first from 0 with the first
  // bytes of each image, the last to the end of the area
  const auto head = Split(lines[3], '\t');
  ASSERT_EQ(head.size(), 6u);
  const auto end = one.begin() + HexToInt(head[2]) + 1;
  EXPECT_EQ(head,
            (std::vector<std::string>{"R", "00000000", head[2], "=", Hex({one.begin(), end}),
                                      Hex({two.begin(), two.begin() + (end - one.begin())})}));
  EXPECT_EQ(Split(lines.back(), '\t').at(2), "000DBFFF");
}

TEST(CompareCliTest, UnreadableImageAndWrongUsage) {
  const test::TempDir dir;
  const std::string good = dir.Write("1.adf", AdfBuilder().Build());
  const std::string missing = (dir.Path() / "missing.adf").string();
  const auto result = Cli({"compare", good, missing});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_TRUE(result.out.empty());
  EXPECT_EQ(Split(result.err, '\n').size(), 1u) << result.err;
  EXPECT_NE(result.err.find(missing), std::string::npos);

  const auto none = Cli({"compare"});
  EXPECT_EQ(none.exitStatus, 2);
  EXPECT_NE(none.err.find("usage:"), std::string::npos);
  EXPECT_EQ(Cli({"list", good, good}).exitStatus, 2);
  EXPECT_NE(Cli({"--help"}).out.find("compare IMAGE..."), std::string::npos);
}

}  // namespace
}  // namespace moswit
