// SPDX-License-Identifier: GPL-2.0-or-later
#include "collection/collectiontree.h"

#include <gtest/gtest.h>

#include "support/didbuilder.h"

namespace moswit {
namespace {

TEST(FoldedText, LowersTheLettersOfBothCasesInWindows1252Only) {
  const std::pair<std::string, std::string> cases[] = {
      {"Sample QUEST", "sample quest"},
      {"\xC3\x89"
       "COLE \xC3\x80 \xC3\x9E",
       "\xC3\xA9"
       "cole \xC3\xA0 \xC3\xBE"},                                                // É À Þ
      {"\xC5\xA0\xC5\x92\xC5\xBD\xC5\xB8", "\xC5\xA1\xC5\x93\xC5\xBE\xC3\xBF"},  // ŠŒŽŸ
      {"2\xC3\x97"
       "3",
       "2\xC3\x97"
       "3"},                     // × stays
      {"\xD0\x94", "\xD0\x94"},  // Cyrillic: no case in Windows-1252
      {"Bad\xC9"
       "X",
       "bad\xC9"
       "x"},  // a byte that is no UTF-8 stays
  };
  for (const auto& [text, folded] : cases) EXPECT_EQ(FoldedText(text), folded) << text;
}

// Alpha: A1 have, A2 missing; Beta: B1 partial; Café: C1 missing, C2
// partial; then an unknown image and one that could not be read.
class TreeTest : public ::testing::Test {
 protected:
  TreeTest() {
    alpha_ = &db_.Game("Alpha", "Soft");
    db_.Version(*alpha_, {1, 2});
    a1_ = &db_.Disk(*alpha_, "A1");
    db_.Disk(*alpha_, "A2");
    beta_ = &db_.Game("Beta", "Soft");
    db_.Version(*beta_, {1});
    b1_ = &db_.Disk(*beta_, "B1");
    cafe_ = &db_.Game("Caf\xE9", "Soft");
    db_.Version(*cafe_, {1, 2});
    db_.Disk(*cafe_, "C1");
    c2_ = &db_.Disk(*cafe_, "C2");

    ScanOutcomes outcomes;
    const auto add = [&outcomes](std::string relative, const GameRecord* game,
                                 const DiskRecord* disk, uint32_t accuracy, std::string codes) {
      const size_t i = outcomes.images.size();
      ImageOutcome& image = outcomes.images.emplace_back();
      image.path = "/c/" + relative;
      image.relative = std::move(relative);
      std::vector<GameMatch> line;
      if (disk != nullptr) line.push_back({game, disk, accuracy, std::move(codes), 1});
      AddLine(outcomes, i, line);
      return i;
    };
    add("good/a1.adf", alpha_, a1_, 1000, "");
    add("B one.adf", beta_, b1_, 900, "[mm1]");
    add("set.zip/c2.adf", cafe_, c2_, 1000, "[md1]");
    outcomes.images[2].path = "/c/set.zip";
    outcomes.images[2].member = 4;
    add("Junk.adf", nullptr, nullptr, 0, "");
    add("broken.adf", nullptr, nullptr, 0, "");
    outcomes.images[4].unreadable = "broken.adf: Read beyond end of file";
    report_ = BuildCollectionReport(db_.Database(), std::move(outcomes));
  }

  // The shown rows, one text per group: "name:" and its rows' names.
  static std::vector<std::string> Shown(const CollectionTree& tree) {
    std::vector<std::string> groups;
    for (size_t g = 0; g < tree.Groups().size(); ++g) {
      std::string text = tree.Cells({g}).name + ":";
      static const char* const kDisks[] = {"A1", "A2", "B1", "C1", "C2"};
      for (size_t i = 0; i < tree.Groups()[g].shown.size(); ++i) {
        const size_t index = tree.Groups()[g].shown[i];
        text += " " + (tree.IsUnknownGroup(g) ? tree.Cells({g, i}).image : kDisks[index]);
      }
      groups.push_back(text);
    }
    return groups;
  }

  test::DidBuilder db_;
  GameRecord* alpha_;
  GameRecord* beta_;
  GameRecord* cafe_;
  DiskRecord* a1_;
  DiskRecord* b1_;
  DiskRecord* c2_;
  CollectionReport report_;
};

TEST_F(TreeTest, FilterNarrowsByTextAndState) {
  using Rows = std::vector<std::string>;
  const std::string cafe = "Caf\xE9:";
  struct Case {
    const char* rule;
    CollectionFilter filter;
    Rows rows;
  };
  const Case cases[] = {
      {"no filter: every disk by game, then the unknown images",
       {},
       {"Alpha: A1 A2", "Beta: B1", cafe + " C1 C2", "Unknown images: Junk.adf broken.adf"}},
      {"a name, case ignored", {"ALPHA"}, {"Alpha: A1 A2"}},
      {"a letter of Windows-1252 in the other case", {"CAF\xC3\x89"}, {cafe + " C1 C2"}},
      {"a best image's path, and an unknown image's", {"ONE"}, {"Beta: B1"}},
      {"a path inside an archive", {"zip/c2"}, {cafe + " C2"}},
      {"an unknown image", {"junk"}, {"Unknown images: Junk.adf"}},
      {"only missing", {"", true, false}, {"Alpha: A2", cafe + " C1"}},
      {"only partial", {"", false, true}, {"Beta: B1", cafe + " C2"}},
      {"both toggles: either state", {"", true, true}, {"Alpha: A2", "Beta: B1", cafe + " C1 C2"}},
      {"text and toggle together", {"caf", false, true}, {cafe + " C2"}},
      {"nothing matches", {"zzz"}, {}},
  };
  CollectionTree tree(report_);
  for (const Case& c : cases) {
    tree.Filter(c.filter);
    EXPECT_EQ(Shown(tree), c.rows) << c.rule;
  }
  tree.Filter({"", true, false});
  EXPECT_EQ(CollectionStatus(tree),
            "5 disks: 1 have, 2 partial, 2 missing; 2 unknown images; shown: 2 disks, 0 unknown "
            "images");
  tree.Filter({});
  EXPECT_EQ(CollectionStatus(tree), "5 disks: 1 have, 2 partial, 2 missing; 2 unknown images");
}

TEST_F(TreeTest, RowsShowStateImageAndResult) {
  const CollectionTree tree(report_);
  struct Case {
    TreeRow row;
    const char* state;
    uint32_t colour;
    const char* image;
    const char* accuracy;
    const char* codes;
  };
  const uint32_t have = StatusColour(DiskStatus::kHave);
  const uint32_t partial = StatusColour(DiskStatus::kPartial);
  const uint32_t missing = StatusColour(DiskStatus::kMissing);
  const Case cases[] = {
      {{0}, "1 of 2 have", partial, "", "", ""},
      {{0, 0}, "have", have, "good/a1.adf", "1000", ""},
      {{0, 1}, "missing", missing, "", "", ""},
      {{1}, "partial", partial, "", "", ""},  // its only disk is partial
      {{1, 0}, "partial", partial, "B one.adf", "900", "[mm1]"},
      {{2}, "0 of 2 have", partial, "", "", ""},
      {{3}, "unknown", kUnknownColour, "", "", ""},
      {{3, 0}, "unknown", kUnknownColour, "Junk.adf", "", ""},
      {{3, 1}, "unknown", kUnknownColour, "broken.adf", "", "broken.adf: Read beyond end of file"},
  };
  for (const Case& c : cases) {
    const CollectionCells cells = tree.Cells(c.row);
    const std::string where = std::to_string(c.row.group) + "/" + std::to_string(c.row.item);
    EXPECT_EQ(cells.state, c.state) << where;
    EXPECT_EQ(cells.colour, c.colour) << where;
    EXPECT_EQ(cells.image, c.image) << where;
    EXPECT_EQ(cells.accuracy, c.accuracy) << where;
    EXPECT_EQ(cells.codes, c.codes) << where;
  }
  EXPECT_EQ(tree.Cells({3, 0}).name, kUnidentifiedName);
  EXPECT_EQ(tree.Cells({3, 1}).name, kUnreadableName);
  // Rows past the end give nothing rather than reading past the tree.
  EXPECT_EQ(tree.Cells({9, 0}).state, "");
  EXPECT_EQ(tree.Cells({0, 9}).state, "");

  CollectionReport allMissing;
  allMissing.disks = DiskEntries(db_.Database());
  EXPECT_EQ(CollectionTree(allMissing).Cells({0}).state, "missing");
}

TEST_F(TreeTest, ImageOfARowIsWhatItsDoubleClickOpens) {
  const CollectionTree tree(report_);
  const auto path = [&tree](const TreeRow& row) {
    const ImageOutcome* image = tree.Image(row);
    return image == nullptr ? std::string("-") : image->path + "#" + std::to_string(image->member);
  };
  const std::string first = "#" + std::to_string(kFirstImageMember);
  EXPECT_EQ(path({0, 0}), "/c/good/a1.adf" + first);
  EXPECT_EQ(path({2, 1}), "/c/set.zip#4");  // the member that filled the disk
  EXPECT_EQ(path({3, 0}), "/c/Junk.adf" + first);
  for (const TreeRow row : {TreeRow{0}, TreeRow{0, 1}, TreeRow{3, 1}, TreeRow{7, 0}}) {
    EXPECT_EQ(path(row), "-") << row.group << "/" << row.item;
  }
}

TEST_F(TreeTest, NamesOfSelectedRowsComeOnceInTreeOrder) {
  CollectionTree tree(report_);
  const std::string a1 = report_.disks[0].name;
  const std::string a2 = report_.disks[1].name;
  const std::string b1 = report_.disks[2].name;
  // A game row names its disks; a disk selected with its game comes once;
  // unknown images have no name.
  EXPECT_EQ(tree.Names({{1, 0}, {0, 1}, {0}, {3, 0}, {3}}), a1 + "\n" + a2 + "\n" + b1 + "\n");
  // A filtered game row names only the disks it shows.
  tree.Filter({"", true, false});
  EXPECT_EQ(tree.Names({{0}}), a2 + "\n");
  EXPECT_EQ(tree.Names({}), "");
}

}  // namespace
}  // namespace moswit
