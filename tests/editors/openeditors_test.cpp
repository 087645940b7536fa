#include <gtest/gtest.h>

#include "editors/openeditors.h"

namespace moswit {
namespace {

TEST(OpenEditors, ClosedEditorsAreFreedOnTheNextActivation) {
  OpenEditors open;
  int editors[3] = {};
  int records[2] = {};
  EXPECT_EQ(open.games.Take(&editors[0], &records[0]), 0u);
  EXPECT_EQ(open.versions.Take(&editors[1], &records[1]), 0u);
  EXPECT_EQ(open.games.Take(&editors[2], &records[0]), 1u);
  EXPECT_FALSE(open.FreeChanged());

  open.games.MarkChanged(&editors[0]);
  EXPECT_EQ(open.EditorsOf(std::vector<const void*>{&records[0]}),
            (std::vector<const void*>{&editors[2]}));
  EXPECT_TRUE(open.FreeChanged());
  EXPECT_FALSE(open.FreeChanged());
  EXPECT_EQ(open.games.Take(&editors[0], &records[1]), 0u);  // the first free slot again

  // Closed File editors are not the tree's concern.
  open.files.Take(&editors[1], &records[1]);
  open.files.MarkChanged(&editors[1]);
  EXPECT_FALSE(open.FreeChanged());
  open.files.Release(&editors[1]);
  EXPECT_TRUE(open.files.Slots()[0].Free());
}

TEST(OpenEditors, AFullTableTakesNoMoreEditorsUntilASlotIsFreed) {
  EditorTable table;
  std::vector<int> editors(kEditorSlots + 1);
  for (size_t i = 0; i < kEditorSlots; ++i) EXPECT_EQ(table.Take(&editors[i], nullptr), i);
  EXPECT_FALSE(table.HasFreeSlot());
  EXPECT_EQ(table.Take(&editors.back(), nullptr), std::nullopt);
  EXPECT_EQ(table.Slots().back().editor, &editors[kEditorSlots - 1]);

  // A File or Range editor gives its slot back when it closes.
  table.Release(&editors[7]);
  EXPECT_EQ(table.Take(&editors.back(), nullptr), 7u);
  table.MarkChanged(&editors[3]);
  EXPECT_TRUE(table.FreeChanged());
  EXPECT_EQ(table.Take(&editors[3], nullptr), 3u);
  table.Clear();
  EXPECT_TRUE(table.Slots().front().Free() && table.Slots().back().Free());
}

}  // namespace
}  // namespace moswit
