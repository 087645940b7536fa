// SPDX-License-Identifier: GPL-2.0-or-later
#include "database/recordref.h"

#include <gtest/gtest.h>

#include <unordered_set>

#include "support/didbuilder.h"

namespace moswit {
namespace {

// A reference names one record of one kind: it never mistakes a record for
// another, nor for one of another kind at the same address.
TEST(RecordRef, NamesOneRecordOfOneKind) {
  test::DidBuilder builder;
  GameRecord& game = builder.Game("G");
  VersionRecord& version = builder.Version(game, {1});
  DiskRecord& disk = builder.Disk(game, "D");
  FileRecord& file = AppendFile(disk);
  RangeRecord& range = AppendRange(disk);
  const RecordRef refs[] = {&game, &version, &disk, &file, &range};
  std::unordered_set<RecordRef> distinct(std::begin(refs), std::end(refs));
  EXPECT_EQ(distinct.size(), 5u);
  EXPECT_EQ(refs[2], RecordRef(&disk));
  EXPECT_EQ(refs[2].As<DiskRecord>(), &disk);
  EXPECT_EQ(refs[2].As<GameRecord>(), nullptr);
  EXPECT_EQ(refs[3].GetKind(), RecordRef::Kind::kFile);
  EXPECT_EQ(refs[4].As<RangeRecord>(), &range);

  EXPECT_TRUE(RecordRef(static_cast<const DiskRecord*>(nullptr)).Empty());
  EXPECT_EQ(RecordRef(static_cast<const FileRecord*>(nullptr)), RecordRef());
  EXPECT_EQ(RecordRef().As<GameRecord>(), nullptr);
  EXPECT_FALSE(refs[0].Empty());
}

}  // namespace
}  // namespace moswit
