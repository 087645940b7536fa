// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "editors/openeditors.h"

namespace moswit {
namespace {

// An editor as the tables see it; the windows use RecordEditor.
struct Editor {};

TEST(OpenEditors, ClosedEditorsAreFreedOnTheNextActivation) {
  OpenEditors<Editor> open;
  Editor editors[3] = {};
  GameRecord records[2];
  EXPECT_EQ(open.games.Take(&editors[0], {&records[0]}), 0u);
  EXPECT_EQ(open.versions.Take(&editors[1], {&records[1]}), 0u);
  EXPECT_EQ(open.games.Take(&editors[2], {&records[0]}), 1u);
  EXPECT_FALSE(open.FreeChanged());

  open.games.MarkChanged(&editors[0]);
  EXPECT_EQ(open.EditorsOf(std::vector<RecordRef>{&records[0]}),
            (std::vector<Editor*>{&editors[2]}));
  EXPECT_TRUE(open.FreeChanged());
  EXPECT_FALSE(open.FreeChanged());
  EXPECT_EQ(open.games.Take(&editors[0], {&records[1]}), 0u);  // the first free slot again

  // Closed File editors are not the tree's concern.
  open.files.Take(&editors[1], {&records[1]});
  open.files.MarkChanged(&editors[1]);
  EXPECT_FALSE(open.FreeChanged());
  open.files.Release(&editors[1]);
  EXPECT_TRUE(open.files.Slots()[0].Free());
}

TEST(OpenEditors, AFullTableTakesNoMoreEditorsUntilASlotIsFreed) {
  EditorTable<Editor> table;
  std::vector<Editor> editors(kEditorSlots + 1);
  for (size_t i = 0; i < kEditorSlots; ++i) EXPECT_EQ(table.Take(&editors[i]), i);
  EXPECT_FALSE(table.HasFreeSlot());
  EXPECT_EQ(table.Take(&editors.back()), std::nullopt);
  EXPECT_EQ(table.Slots().back().editor, &editors[kEditorSlots - 1]);

  // A File or Range editor gives its slot back when it closes.
  table.Release(&editors[7]);
  EXPECT_EQ(table.Take(&editors.back()), 7u);
  table.MarkChanged(&editors[3]);
  EXPECT_TRUE(table.FreeChanged());
  EXPECT_EQ(table.Take(&editors[3]), 3u);
  table.Clear();
  EXPECT_TRUE(table.Slots().front().Free() && table.Slots().back().Free());
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
  open.disks.Take(&editors[0], {&second, &game, &second});
  open.disks.Take(&editors[1], {&first, &game, &first});
  open.disks.Take(&editors[2], {&second, &game, &second});
  open.games.Take(&editors[3], {&game});

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
