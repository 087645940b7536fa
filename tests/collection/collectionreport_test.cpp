// SPDX-License-Identifier: GPL-2.0-or-later
#include "collection/collectionreport.h"

#include <gtest/gtest.h>

#include "database/standardname.h"
#include "support/didbuilder.h"

namespace moswit {
namespace {

// Two disks of Alpha and one of Beta; the images are given by what their
// result lines name.
class ReportTest : public ::testing::Test {
 protected:
  ReportTest() {
    alpha_ = &db_.Game("Alpha", "Soft");
    db_.Version(*alpha_, {1, 2});
    a1_ = &db_.Disk(*alpha_, "A1");
    a2_ = &db_.Disk(*alpha_, "A2");
    beta_ = &db_.Game("Beta", "Soft");
    db_.Version(*beta_, {1});
    b1_ = &db_.Disk(*beta_, "B1");
  }

  struct Named {
    int disk;  // 0: A1, 1: A2, 2: B1
    uint32_t accuracy;
    const char* codes;
    uint32_t differences = 0;
  };

  std::string Report(const std::vector<std::vector<Named>>& images) {
    const std::pair<GameRecord*, DiskRecord*> disks[] = {
        {alpha_, a1_}, {alpha_, a2_}, {beta_, b1_}};
    ScanOutcomes outcomes;
    outcomes.images.resize(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
      outcomes.images[i].relative = "img" + std::to_string(i) + ".adf";
      std::vector<GameMatch> line;
      for (const Named& n : images[i]) {
        line.push_back(
            {disks[n.disk].first, disks[n.disk].second, n.accuracy, n.codes, n.differences});
      }
      AddLine(outcomes, i, line);
    }
    const CollectionReport report = BuildCollectionReport(db_.Database(), std::move(outcomes));
    return ReportText(report) + ReportSummary(report);
  }

  std::string A1() const { return StandardName(*alpha_, *a1_); }
  std::string A2() const { return StandardName(*alpha_, *a2_); }
  std::string B1() const { return StandardName(*beta_, *b1_); }

  test::DidBuilder db_;
  GameRecord* alpha_;
  GameRecord* beta_;
  DiskRecord* a1_;
  DiskRecord* a2_;
  DiskRecord* b1_;
};

TEST_F(ReportTest, BestImageAndStatusOfEveryDisk) {
  struct Case {
    const char* rule;
    std::vector<std::vector<Named>> images;
    std::string a1Line;  // the A1 line without its status and name
    const char* a1Status;
  };
  const Case cases[] = {
      {"the highest accuracy wins over listing order",
       {{{0, 800, "[mm1]"}}, {{0, 900, "[mm1]"}}},
       "img1.adf\t900\t[mm1]\t2",
       "partial"},
      {"at equal accuracy, no codes before codes",
       {{{0, 1000, "[x1]", 1}}, {{0, 1000, ""}}, {{0, 1000, ""}}},
       "img1.adf\t1000\t\t3",
       "have"},
      {"at equal accuracy, fewer differences first",
       {{{0, 950, "[md3]", 3}}, {{0, 950, "[mm1][md1]", 2}}},
       "img1.adf\t950\t[mm1][md1]\t2",
       "partial"},
      {"a tie keeps the first listed",
       {{{0, 950, "[md1]", 1}}, {{0, 950, "[mm1]", 1}}},
       "img0.adf\t950\t[md1]\t2",
       "partial"},
      {"1000 with codes is partial",
       {{{0, 1000, "[sd1234]"}}},
       "img0.adf\t1000\t[sd1234]\t1",
       "partial"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    EXPECT_EQ(Report(c.images),
              std::string(c.a1Status) + "\t" + A1() + "\t" + c.a1Line + "\n" + "missing\t" + A2() +
                  "\t\t\t\t0\n" + "missing\t" + B1() + "\t\t\t\t0\n" +
                  "3 disks: " + (c.a1Status[0] == 'h' ? "1 have, 0 partial" : "0 have, 1 partial") +
                  ", 2 missing; 0 unknown images");
  }
}

// A line naming two games counts as naming the disks of both, but the
// image fills only one of them: the highest accuracy, then the fewest
// differences, then the first. An image naming no disk (unidentified, or
// not loaded at all) is unknown, in listing order.
TEST_F(ReportTest, AnImageFillsOneDiskOfItsLine) {
  EXPECT_EQ(Report({{}, {{1, 1000, ""}, {2, 700, "[mm1]", 1}}, {}}),
            "missing\t" + A1() + "\t\t\t\t0\n" +               //
                "have\t" + A2() + "\timg1.adf\t1000\t\t1\n" +  //
                "missing\t" + B1() + "\t\t\t\t1\n" +           //
                "unknown\t\timg0.adf\t\t\t\n" +                //
                "unknown\t\timg2.adf\t\t\t\n" +                //
                "3 disks: 1 have, 0 partial, 2 missing; 2 unknown images");
  // Fewest differences at equal accuracy; the first at a full tie. The
  // image left over still gives B1 its best image.
  EXPECT_EQ(Report({{{0, 900, "[md2]", 2}, {2, 900, "[mm1]", 1}},
                    {{0, 900, "[md1]", 1}, {2, 900, "[md1]", 1}},
                    {{2, 800, "[x1]", 1}}}),
            "partial\t" + A1() + "\timg1.adf\t900\t[md1]\t2\n" +      //
                "missing\t" + A2() + "\t\t\t\t0\n" +                  //
                "partial\t" + B1() + "\timg0.adf\t900\t[mm1]\t3\n" +  //
                "3 disks: 0 have, 2 partial, 1 missing; 0 unknown images");
}

}  // namespace
}  // namespace moswit
