// SPDX-License-Identifier: GPL-2.0-or-later
// Arbitrary bytes as a loaded image (plain or zipped), identified against a
// fixed database with files, wildcards, optional, savegame and highscores
// records and block ranges: the database of the builder image set, whose
// images are the seeds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "image/adf.h"
#include "scan/identify.h"
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
  const Fixture& fixture = TheFixture();
  moswit::ImagePtr image = moswit::LoadImageFromMemory("fuzz.adf", data, size);
  if (!image) return 0;
  const moswit::IdentifyResult result = moswit::IdentifyImage(*image, *fixture.index);
  if (result.line.empty()) std::abort();
  // Identification is a function of the image: a second run agrees.
  if (moswit::IdentifyImage(*image, *fixture.index).line != result.line) std::abort();
  return 0;
}
