// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "editors/attributefields.h"

namespace moswit {
namespace {

// Each box against the same two records: what it shows and what each of
// its three states leaves in both.
TEST(AttributeBoxes, MixedBitsGreyAndEachStateApplies) {
  const AttributeFlags first = kAttrBoot | kAttrShared | kAttrUnused | (1u << 12);
  const AttributeFlags second = kAttrShared | kAttrUnused | kAttrGame;
  const AttributeFlags both[] = {first, second};
  const AttributeBoxes shown = BoxesOf(both);
  EXPECT_EQ(shown.greyed, kAttrBoot | kAttrGame);  // bit 12 is no box
  EXPECT_EQ(shown.checked, kAttrShared | kAttrUnused);

  const struct {
    const char* what;
    AttributeFlags bit;
    int state;  // 0 unchecked, 1 checked, 2 greyed
    AttributeFlags first;
    AttributeFlags second;
  } cases[] = {
      {"Boot left greyed keeps both", kAttrBoot, 2, first, second},
      {"Boot checked sets both", kAttrBoot, 1, first, second | kAttrBoot},
      {"Boot unchecked clears both", kAttrBoot, 0, first & ~kAttrBoot, second},
      {"Shared unchecked clears both", kAttrShared, 0, first & ~kAttrShared, second & ~kAttrShared},
      {"Unused unchecked clears bit 31", kAttrUnused, 0, first & ~0x80000000u,
       second & ~0x80000000u},
      {"Shared greyed keeps both", kAttrShared, 2, first, second},
  };
  for (const auto& c : cases) {
    AttributeBoxes boxes = shown;
    boxes.checked &= ~c.bit;
    boxes.greyed &= ~c.bit;
    if (c.state == 1) boxes.checked |= c.bit;
    if (c.state == 2) boxes.greyed |= c.bit;
    EXPECT_EQ(ApplyBoxes(boxes, first), c.first) << c.what;
    EXPECT_EQ(ApplyBoxes(boxes, second), c.second) << c.what;
  }
  // One record: its bits, nothing greyed; every box unchecked clears only
  // box bits.
  EXPECT_EQ(BoxesOf(first), (AttributeBoxes{first & ~(1u << 12), 0}));
  EXPECT_EQ(ApplyBoxes({}, 0xFFFFFFFFu), ~kBoxBits);
  EXPECT_EQ(BoxesOf(std::vector<AttributeFlags>{}), AttributeBoxes{});
}

TEST(AttributeFields, SingleRecordsShowAndKeepTheirIdentity) {
  FileRecord file;
  file.path = "/s/startup-sequence";
  file.size = 1234;
  file.crc32 = 0x1A2B;
  file.attributes = kAttrBoot;
  AttributeFields fields = LoadFileFields(file);
  EXPECT_EQ(fields.identity,
            (std::array<std::string, 3>{"/s/startup-sequence", "1234", "00001A2B"}));
  fields.description = std::string(300, 'd');
  fields.boxes.greyed = kAttrBoot;  // clicked through to greyed: kept
  fields.boxes.checked = kAttrDocs;
  const FileRecord before = file;
  StoreFileFields(fields, file);
  EXPECT_EQ(std::tie(file.path, file.size, file.crc32),
            std::tie(before.path, before.size, before.crc32));
  EXPECT_EQ(file.attributes, kAttrBoot | kAttrDocs);
  EXPECT_EQ(file.description.Value(), std::string(255, 'd'));
  fields.description.clear();
  StoreFileFields(fields, file);
  EXPECT_FALSE(file.description.Present());

  RangeRecord range{0x400, 0x5FF, 0xCAFEBABE, kAttrGame, {}};
  fields = LoadRangeFields(range);
  EXPECT_EQ(fields.identity, (std::array<std::string, 3>{"00000400", "000005FF", "CAFEBABE"}));
  const RangeRecord unchanged = range;
  StoreRangeFields(fields, range);
  EXPECT_EQ(range, unchanged);
}

// Multi-edit walks the disk's list: only selected records still in it, in
// list order; a typed description goes to each, an empty one to none.
TEST(AttributeFields, MultiEditTouchesTheSelectedRecordsOnly) {
  DiskRecord disk;
  for (const char* path : {"/a", "/b", "/c"}) {
    FileRecord& file = AppendFile(disk);
    file.path = path;
    file.description = std::string("was ") + path;
    file.attributes = kAttrShared;
  }
  disk.files[0].attributes |= kAttrBoot;
  const FileRecord gone{};  // selected, but in no list
  const std::vector<const FileRecord*> selected = {&disk.files[2], &gone, &disk.files[0]};

  AttributeFields fields = LoadMultiFields(disk.files, selected);
  EXPECT_EQ(fields.identity,
            (std::array<std::string, 3>{"<editing multiple files>", "<multi>", "<multi>"}));
  EXPECT_EQ(fields.description, "");
  EXPECT_EQ(fields.boxes, (AttributeBoxes{kAttrShared, kAttrBoot}));

  fields.boxes.checked = kAttrGame;  // Shared unchecked, Boot still greyed
  StoreMultiFields(fields, disk.files, selected);
  EXPECT_EQ(disk.files[0].attributes, kAttrBoot | kAttrGame);
  EXPECT_EQ(disk.files[1].attributes, kAttrShared);
  EXPECT_EQ(disk.files[2].attributes, kAttrGame);
  EXPECT_EQ(disk.files[0].description.Value(), "was /a");
  EXPECT_EQ(disk.files[0].path.Value(), "/a");

  fields.description = "typed";
  StoreMultiFields(fields, disk.files, selected);
  EXPECT_EQ(disk.files[0].description.Value(), "typed");
  EXPECT_EQ(disk.files[1].description.Value(), "was /b");
  EXPECT_EQ(disk.files[2].description.Value(), "typed");

  for (int i = 0; i < 2; ++i) AppendRange(disk).attributes = kAttrGame;
  const std::vector<const RangeRecord*> ranges = {&disk.ranges[0], &disk.ranges[1]};
  fields = LoadMultiFields(disk.ranges, ranges);
  EXPECT_EQ(fields.identity, (std::array<std::string, 3>{"<multi>", "<multi>", "<multi>"}));
  EXPECT_EQ(fields.boxes, (AttributeBoxes{kAttrGame, 0}));
}

}  // namespace
}  // namespace moswit
