// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editors/recordactions.h"
#include "editors/recordtree.h"
#include "support/didbuilder.h"

namespace moswit {
namespace {

std::vector<std::string> Texts(const RecordTree& tree) {
  std::vector<std::string> texts;
  for (const GameBranch& branch : tree.games) {
    texts.push_back(branch.node.text);
    for (const RecordNode& child : branch.children) texts.push_back("\t" + child.text);
  }
  return texts;
}

TEST(RecordTree, GameNodesShowNamePublisherYearAndComment) {
  test::DidBuilder builder;
  GameRecord& game = builder.Game("X", "Y", {1990, 4, 1});
  game.comment = "old";
  EXPECT_EQ(GameNodeText(game), "X (Y / 1990) [old]");
  EXPECT_EQ(GameNodeText(builder.Game("X")), "X ( / 0)");
  EXPECT_EQ(GameNodeText(AppendGame(builder.Database())), "[New Game] (Publisher / 0)");
}

TEST(RecordTree, ChildrenAreVersionsThenDisksInListOrder) {
  test::DidBuilder builder;
  GameRecord& game = builder.Game("Example Game", "Example Soft", {1991, 3, 0});
  VersionRecord& a = builder.Version(game, {1, 2});
  a.crackedBy = "Group X";
  a.languages = kLangEn | kLangDe;
  VersionRecord& b = builder.Version(game, {1, 3});
  b.crackedBy = "Group X";
  b.comment = "fixed intro";
  builder.Disk(game, "Disk1");
  builder.Disk(game, "Disk2").comment = "damaged";
  builder.Disk(game, "Disk3");
  builder.Disk(game, "Spare");
  AppendVersion(game);  // a new version, unchanged: no tags

  RecordTree tree = FillRecordTree(builder.Database());
  EXPECT_EQ(Texts(tree), (std::vector<std::string>{
                             "Example Game (Example Soft / 1991)",
                             "\tV#1: (En-De)[cr Group X]",
                             "\tV#2: [cr Group X] (fixed intro)",
                             "\tV#3: ",
                             "\tD#1: Example Game (1991-03)(Example Soft)[cr Group X][1|2][mv]",
                             "\tD#2: Example Game (1991-03)(Example Soft)[cr Group X][2|2](En-De) "
                             "(damaged)",
                             "\tD#3: Example Game (1991-03)(Example Soft)[cr Group X][2|2]",
                             "\tD#4: Spare",
                         }));
  const std::vector<RecordNode>& children = tree.games[0].children;
  EXPECT_EQ(children[1].version, &b);
  EXPECT_EQ(children[1].Icon(), 1);
  EXPECT_EQ(children[4].disk, &game.disks[1]);
  EXPECT_EQ(children[4].Icon(), 2);
  EXPECT_EQ(children[4].game, &game);
  EXPECT_EQ(tree.games[0].node.Icon(), 0);
  EXPECT_EQ(tree.stats, "1 games, 3 versions, 4 disks, ~3kb mem used");
}

TEST(RecordTree, GamesSortByTextCaseSensitivelyAndStably) {
  test::DidBuilder builder;
  for (const char* name : {"b", "B", "a", "A", "ab"}) builder.Game(name);
  GameRecord& twin = builder.Game("a");
  RecordTree tree = FillRecordTree(builder.Database());
  // In the C locale collation is byte order.
  EXPECT_EQ(Texts(tree), (std::vector<std::string>{"A ( / 0)", "B ( / 0)", "a ( / 0)", "a ( / 0)",
                                                   "ab ( / 0)", "b ( / 0)"}));
  EXPECT_EQ(tree.games[3].node.game, &twin);
}

TEST(RecordTree, StatsLine) {
  EXPECT_EQ(StatsText({}), "0 games, 0 versions, 0 disks, ~0kb mem used");
  EXPECT_EQ(StatsText({2, 3, 4}), "2 games, 3 versions, 4 disks, ~3kb mem used");
  EXPECT_EQ(StatsText({20000, 30000, 60000}),
            "20000 games, 30000 versions, 60000 disks, ~50390kb mem used");
  // The sum is taken in 32 bits.
  EXPECT_EQ(StatsText({0, 0, 8000000}), "0 games, 0 versions, 8000000 disks, ~55696kb mem used");
}

TEST(RecordActions, NewVersionAndDiskOnlyUnderAGameNode) {
  test::DidBuilder builder;
  GameRecord& game = builder.Game("G");
  builder.Disk(game, "D");
  RecordTree tree = FillRecordTree(builder.Database());
  const RecordNode& diskNode = NodeAt(tree, {0, 0});
  EXPECT_EQ(NewVersion(&diskNode), nullptr);
  EXPECT_EQ(NewDisk(nullptr), nullptr);
  VersionRecord* version = NewVersion(&NodeAt(tree, {0, {}}));
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(&game.versions[0], version);
  EXPECT_EQ(version->versionName.Value(), "[New Version]");
  DiskRecord* disk = NewDisk(&NodeAt(tree, {0, {}}));
  ASSERT_EQ(game.disks.Size(), 2u);
  EXPECT_EQ(disk, &game.disks[1]);
  EXPECT_EQ(disk->name.Value(), "[New Disk]");
  EXPECT_EQ(tree.games[0].children.size(), 1u);  // until the next fill
}

TEST(RecordActions, DeleteLeavesTheOtherNodesAsTheyWere) {
  test::DidBuilder builder;
  GameRecord& game = builder.Game("G");
  builder.Version(game, {1});
  DiskRecord& first = builder.Disk(game, "One");
  first.files.Append();
  builder.Disk(game, "Two");
  builder.Disk(game, "Three");
  GameRecord& other = builder.Game("H");
  RecordTree tree = FillRecordTree(builder.Database());

  ASSERT_EQ(FindRecord(tree, &first), (NodePosition{0, 1}));
  EXPECT_EQ(RecordsBelow(NodeAt(tree, {0, 1})), (std::vector<RecordRef>{&first, &first.files[0]}));
  EXPECT_EQ(RecordsBelow(NodeAt(tree, {0, {}})).size(), 6u);
  DeleteNode(tree, {0, 1}, builder.Database());
  EXPECT_EQ(game.disks.Size(), 2u);
  EXPECT_EQ(game.versions[0].diskOrder[0], 1);
  EXPECT_EQ(Texts(tree), (std::vector<std::string>{"G ( / 0)", "\tV#1: ", "\tD#2: Two",
                                                   "\tD#3: Three", "H ( / 0)"}));
  EXPECT_EQ(tree.counts.disks, 3u);

  DeleteNode(tree, {0, {}}, builder.Database());
  ASSERT_EQ(builder.Database().games.Size(), 1u);
  EXPECT_EQ(&builder.Database().games[0], &other);
  EXPECT_EQ(FindRecord(tree, &other), (NodePosition{0, {}}));
  EXPECT_EQ(FindRecord(tree, nullptr), std::nullopt);
}

}  // namespace
}  // namespace moswit
