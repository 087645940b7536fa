// SPDX-License-Identifier: GPL-2.0-or-later
#include "base/slottable.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace moswit {
namespace {

struct Window {};

TEST(SlotTable, FirstEmptySlotIsTakenAndFreedSlotsAreReused) {
  int a = 0, b = 0, c = 0;
  SlotTable<int> table;
  EXPECT_EQ(table.Put(&a), 0u);
  EXPECT_EQ(table.Put(&b), 1u);
  table.Release(&a);
  EXPECT_EQ(table.At(0), nullptr);
  EXPECT_EQ(table.Put(&c), 0u);
  EXPECT_EQ(table.InSlotOrder(), (std::vector<int*>{&c, &b}));
  table.Clear();
  EXPECT_TRUE(table.InSlotOrder().empty());
}

TEST(SlotTable, AFullTableRefusesWithoutWritingPastIt) {
  std::array<int, kSlotCount + 1> items{};
  SlotTable<int> table;
  for (size_t i = 0; i < kSlotCount; ++i) ASSERT_EQ(table.Put(&items[i]), i);
  EXPECT_FALSE(table.Put(&items[kSlotCount]).has_value());
  EXPECT_EQ(table.At(kSlotCount), nullptr);
  EXPECT_EQ(table.InSlotOrder().size(), kSlotCount);
}

TEST(SlotTable, AFullTableTakesNoMoreWindowsUntilASlotIsFreed) {
  SlotTable<Window> table;
  std::vector<Window> windows(kSlotCount + 1);
  for (size_t i = 0; i < kSlotCount; ++i) EXPECT_EQ(table.Put(&windows[i]), i);
  EXPECT_FALSE(table.FirstFree().has_value());
  EXPECT_EQ(table.Put(&windows.back()), std::nullopt);
  EXPECT_EQ(table.Slots().back().window, &windows[kSlotCount - 1]);

  // A window gives its slot back at once, or marks it for a later free.
  table.Release(&windows[7]);
  EXPECT_EQ(table.Put(&windows.back()), 7u);
  table.MarkChanged(&windows[3]);
  EXPECT_TRUE(table.FreeChanged());
  EXPECT_EQ(table.Put(&windows[3]), 3u);
  table.Clear();
  EXPECT_TRUE(table.Slots().front().Free() && table.Slots().back().Free());
}

}  // namespace
}  // namespace moswit
