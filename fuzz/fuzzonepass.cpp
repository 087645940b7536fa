// SPDX-License-Identifier: GPL-2.0-or-later
// Arbitrary bytes as an image, its block CRCs taken as it arrives in pieces
// of a size the input's length picks (from one byte to 128 KiB): the
// one-pass path (block CRCs, file CRCs combined from them, identification)
// must give what the plain CRC path gives. The database is the builder
// image set's, whose images are the seeds, with single-block ranges at every
// other block position besides, so blocks are looked up and their CRCs
// taken in the pass at some positions, on request at others, and longer
// ranges, whose CRCs are combined from the blocks' when a disk is scored.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

#include "database/attributes.h"
#include "image/adf.h"
#include "scan/matchindex.h"
#include "support/exercise.h"
#include "support/imageset.h"

namespace {

struct Fixture {
  std::unique_ptr<moswit::DatabaseInfo> database;
  moswit::MatchIndexPtr index;
};

const Fixture& TheFixture() {
  static const Fixture fixture = [] {
    Fixture f;
    f.database = moswit::test::ImageSetDatabase(moswit::test::BuilderImageSet());
    moswit::DiskRecord& disk = f.database->games[0].disks[0];
    for (uint32_t b = 0; b < 3520; b += 2) {
      moswit::RangeRecord& range = moswit::AppendRange(disk);
      range.firstByte = b * moswit::kBlockSize;
      range.lastByte = range.firstByte + moswit::kBlockSize - 1;
      range.crc32 = b * 2654435761u;
      range.attributes = moswit::kAttrBoot;
    }
    // Longer ranges, on and off the block bounds, whole images included.
    for (const auto& [first, last] : {std::pair<uint32_t, uint32_t>{0, 901'119},
                                      {0, 1'802'239},
                                      {1'000, 901'119},
                                      {512, 6'143},
                                      {700, 1'400}}) {
      moswit::RangeRecord& range = moswit::AppendRange(disk);
      range.firstByte = first;
      range.lastByte = last;
      range.crc32 = first ^ last;
      range.attributes = moswit::kAttrGame;
    }
    f.index = moswit::BuildMatchIndex(*f.database);
    return f;
  }();
  return fixture;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  TheFixture();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const moswit::tADF image = moswit::test::ImageOf({data, data + size});
  const size_t piece = 1 + (size * 2654435761u) % (128 * 1024);
  const std::string problem = moswit::test::CheckOnePass(image, *TheFixture().index, piece);
  if (!problem.empty()) {
    std::fprintf(stderr, "one pass and plain path disagree: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
