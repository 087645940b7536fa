// SPDX-License-Identifier: GPL-2.0-or-later
#include "database/packedfields.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace moswit {
namespace {

// The bits of one member's rows: each inside the member, none shared (the
// radio buttons of a member share the whole of it); the rows of a member
// stand together, and no control is named twice in either table.
template <typename Holder>
void ExpectRowsFitTheirMembers(std::set<std::string>& names) {
  const auto table = PackedTable<Holder>();
  for (size_t i = 0; i < table.size(); ++i) {
    const PackedField<Holder>& field = table[i];
    SCOPED_TRACE(field.control.name);
    EXPECT_TRUE(names.insert(field.control.name).second);
    const unsigned bits =
        std::visit([&](auto member) { return static_cast<unsigned>(8 * sizeof(Holder{}.*member)); },
                   field.member);
    EXPECT_LE(field.shift + field.width, bits);
    EXPECT_EQ(field.width == 1, field.kind == PackedKind::kFlag);
    // A row that starts a member's run is the member's first row.
    if (i > 0 && table[i - 1].member != field.member) {
      for (size_t j = 0; j < i; ++j) EXPECT_FALSE(table[j].member == field.member) << "apart";
    }
    if (i > 0 && table[i - 1].member == field.member) continue;
    uint64_t used = 0;
    for (size_t j = i; j < table.size(); ++j) {
      if (table[j].member != field.member) continue;
      if (table[j].kind == PackedKind::kChoice) continue;
      const uint64_t mask = ((uint64_t{1} << table[j].width) - 1) << table[j].shift;
      EXPECT_EQ(used & mask, 0u) << table[j].control.name;
      used |= mask;
    }
  }
}

TEST(PackedFields, RowsFitTheirMembersAndNameEachControlOnce) {
  std::set<std::string> names;
  ExpectRowsFitTheirMembers<VersionRecord>(names);
  ExpectRowsFitTheirMembers<CompatInfo>(names);
}

// Every control shows what it stores, whatever the holder held: stored once,
// shown again, stored again, nothing changes.
TEST(PackedFields, WhatIsShownStoresAndShowsTheSame) {
  const auto table = PackedTable<CompatInfo>();
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    CompatInfo compat;
    uint32_t state = seed * 2654435761u;
    const auto next = [&state] { return state = state * 1664525u + 1013904223u; };
    compat.cpu = static_cast<uint16_t>(next());
    compat.floppy = static_cast<uint16_t>(next());
    compat.specialSettings = static_cast<uint16_t>(next());
    compat.winUae = next();
    compat.winFellow = next();
    CompatInfo stored;
    StorePacked(table, LoadPacked(table, compat), stored);
    CompatInfo again;
    StorePacked(table, LoadPacked(table, stored), again);
    EXPECT_EQ(again, stored) << seed;
    EXPECT_EQ(LoadPacked(table, stored), LoadPacked(table, compat)) << seed;
  }
}

}  // namespace
}  // namespace moswit
