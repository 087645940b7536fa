// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "diskcontents/openeditors.h"

namespace moswit {
namespace {

// An editor as the tables see it; the windows use RecordEditor.
struct Editor {};

TEST(OpenEditors, ClosedEditorsAreFreedOnTheNextActivation) {
  OpenEditors<Editor> open;
  Editor editors[3] = {};
  GameRecord records[2];
  EXPECT_EQ(open.games.Put(&editors[0], {&records[0]}), 0u);
  EXPECT_EQ(open.versions.Put(&editors[1], {&records[1]}), 0u);
  EXPECT_EQ(open.games.Put(&editors[2], {&records[0]}), 1u);
  EXPECT_FALSE(open.FreeChanged());

  open.games.MarkChanged(&editors[0]);
  EXPECT_EQ(open.EditorsOf(std::vector<RecordRef>{&records[0]}),
            (std::vector<Editor*>{&editors[2]}));
  EXPECT_TRUE(open.FreeChanged());
  EXPECT_FALSE(open.FreeChanged());
  EXPECT_EQ(open.games.Put(&editors[0], {&records[1]}), 0u);  // the first free slot again

  // Closed File editors are not the tree's concern.
  open.files.Put(&editors[1], {&records[1]});
  open.files.MarkChanged(&editors[1]);
  EXPECT_FALSE(open.FreeChanged());
  open.files.Release(&editors[1]);
  EXPECT_TRUE(open.files.Slots()[0].Free());
}

// The Inspector offers the open Disk editors in table order; after a disk's
// rows change, the other open Disk editors of that disk list them anew.
TEST(OpenEditors, DiskEditorRules) {
  GameRecord game;
  game.name = "Quest";
  DiskRecord& first = AppendDisk(game);
  DiskRecord& second = AppendDisk(game);
  second.comment = "data";
  OpenEditors<Editor> open;
  Editor editors[4] = {};
  open.disks.Put(&editors[0], {&second, &game, &second});
  open.disks.Put(&editors[1], {&first, &game, &first});
  open.disks.Put(&editors[2], {&second, &game, &second});
  open.games.Put(&editors[3], {&game});

  const auto targets = HandOverTargets(open);
  ASSERT_EQ(targets.size(), 3u);
  EXPECT_EQ(targets[0].editor, &editors[0]);
  EXPECT_EQ(targets[0].disk, &second);
  EXPECT_EQ(targets[0].caption, "Quest / Disk #2: data");
  EXPECT_EQ(targets[1].caption, "Quest / Disk #1: ");
  EXPECT_EQ(DiskEditorsShowing(open, &second, &editors[0]), (std::vector<Editor*>{&editors[2]}));

  // A closed editor is neither offered nor refreshed, before and after its
  // slot is freed.
  open.disks.MarkChanged(&editors[2]);
  EXPECT_EQ(HandOverTargets(open).size(), 2u);
  EXPECT_TRUE(DiskEditorsShowing(open, &second, &editors[0]).empty());
  open.FreeChanged();
  EXPECT_EQ(DiskEditorsShowing(open, &second), (std::vector<Editor*>{&editors[0]}));
}

}  // namespace
}  // namespace moswit
