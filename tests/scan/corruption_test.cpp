// SPDX-License-Identifier: GPL-2.0-or-later
// A mutation sweep: every image of the builder set, and the real disks of the
// shared corpus when it is there, damaged thousands of times by byte flips,
// structural longs set to nearby block numbers (checksums repaired, so the
// damage gets past the checksum tests), truncations and block swaps; each
// result is walked, read, identified and inspected. Nothing may crash, hang
// or break a promise of the interfaces; the sweep is seeded, so a failure
// names the mutation that repeats it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <random>

#include "image/adf.h"
#include "image/blocklayout.h"
#include "scan/matchindex.h"
#include "support/exercise.h"
#include "support/imageset.h"
#include "support/tempdir.h"

namespace moswit {
namespace {

using test::Bytes;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define MOSWIT_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define MOSWIT_SANITIZED 1
#endif
#endif

#ifdef MOSWIT_SANITIZED
// Sanitizer builds run the sweep some twenty times slower.
constexpr unsigned kMutationsPerImage = 800;
#else
constexpr unsigned kMutationsPerImage = 2500;
#endif

// Longs of header, directory and extension blocks that the walk and the
// reader follow or trust.
constexpr unsigned kStructuralLongs[] = {kPrimaryType,
                                         kHeaderKey,
                                         2,
                                         3,
                                         4,
                                         kHashTable,
                                         kHashTable + 1,
                                         kHashTable + 40,
                                         kFirstDataSlot,
                                         kFirstDataSlot - 1,
                                         kFirstDataSlot - 71,
                                         kByteSize,
                                         kHashChain,
                                         125,
                                         kExtension,
                                         kSecondaryType};

class Mutator {
 public:
  Mutator(const Bytes& good, uint32_t seed) : good_(good), random_(seed) {
    for (uint32_t b = 0; b < good.size() / kBlockSize; ++b) {
      const auto* p = good.data() + static_cast<size_t>(b) * kBlockSize;
      if (std::any_of(p, p + kBlockSize, [](uint8_t v) { return v != 0; })) used_.push_back(b);
    }
  }

  Bytes Next() {
    Bytes image = good_;
    const unsigned steps = 1 + Below(6);
    for (unsigned s = 0; s < steps; ++s) {
      switch (Below(4)) {
        case 0:
          FlipBytes(image);
          break;
        case 1:
          SetStructuralLong(image);
          break;
        case 2:
          SwapBlocks(image);
          break;
        default:
          CopyBlock(image);
          break;
      }
    }
    if (Below(5) == 0) Truncate(image);
    return image;
  }

 private:
  uint32_t Below(uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(random_); }
  uint32_t Blocks(const Bytes& image) const {
    return static_cast<uint32_t>(image.size() / kBlockSize);
  }
  // A used block of the good image that the damaged one still holds.
  bool PickUsed(const Bytes& image, uint32_t& block) {
    if (used_.empty()) return false;
    block = used_[Below(static_cast<uint32_t>(used_.size()))];
    return block < Blocks(image);
  }

  void FlipBytes(Bytes& image) {
    uint32_t block;
    const unsigned flips = 1 + Below(16);
    for (unsigned f = 0; f < flips; ++f) {
      size_t at = Below(static_cast<uint32_t>(image.size()));
      if (Below(2) && PickUsed(image, block)) at = size_t{block} * kBlockSize + Below(kBlockSize);
      image[at] = Below(2) ? static_cast<uint8_t>(image[at] ^ (1u << Below(8)))
                           : static_cast<uint8_t>(Below(256));
    }
  }

  void SetStructuralLong(Bytes& image) {
    uint32_t block;
    if (!PickUsed(image, block)) return;
    const unsigned n = kStructuralLongs[Below(std::size(kStructuralLongs))];
    const uint32_t count = Blocks(image);
    uint32_t value;
    switch (Below(4)) {
      case 0:
        value = Below(count + 4);
        break;  // in or just past the image
      case 1:
        value = used_[Below(static_cast<uint32_t>(used_.size()))];
        break;  // a loop
      case 2:
        value = 0xFFFFFFFFu - Below(4);
        break;
      default:
        value = static_cast<uint32_t>(random_());
        break;
    }
    test::SetLong(image, block, n, value, Below(4) != 0);
  }

  void SwapBlocks(Bytes& image) {
    uint32_t a, b;
    if (!PickUsed(image, a) || !PickUsed(image, b)) return;
    std::swap_ranges(image.begin() + a * kBlockSize, image.begin() + (a + 1) * kBlockSize,
                     image.begin() + b * kBlockSize);
  }

  void CopyBlock(Bytes& image) {
    uint32_t from, to;
    if (!PickUsed(image, from) || !PickUsed(image, to)) return;
    std::copy_n(image.begin() + from * kBlockSize, kBlockSize, image.begin() + to * kBlockSize);
  }

  void Truncate(Bytes& image) {
    const uint32_t size = static_cast<uint32_t>(image.size());
    image.resize(Below(3) ? Below(size) : Below(size / kBlockSize + 1) * kBlockSize);
  }

  const Bytes& good_;
  std::mt19937 random_;
  std::vector<uint32_t> used_;
};

// A builder image by name, or a file of the corpus.
struct SweepCase {
  std::string name;
  std::string path;  // empty for builder images
  Bytes Load() const { return path.empty() ? test::BuilderImage(name) : test::ReadFileBytes(path); }
};

// Cheap to list: every test process of the suite lists the cases.
std::vector<SweepCase> SweepCases() {
  std::vector<SweepCase> cases;
  for (const std::string& name : test::BuilderImageNames()) cases.push_back({name, {}});
  for (const auto& entry : std::filesystem::directory_iterator(MOSWIT_CORPUS_DIR)) {
    if (entry.path().extension() != ".adf") continue;
    cases.push_back({"corpus_" + entry.path().stem().string(), entry.path().string()});
  }
  return cases;
}

// Names only: the bytes would fill the test log.
void PrintTo(const SweepCase& sweepCase, std::ostream* out) { *out << sweepCase.name; }

class Corruption : public ::testing::TestWithParam<SweepCase> {};

TEST_P(Corruption, DamagedImagesAreWalkedReadIdentifiedAndInspected) {
  const Bytes good = GetParam().Load();
  ASSERT_FALSE(good.empty());
  // The database knows the undamaged image, so damaged ones are scored
  // against candidates rather than dismissed.
  const auto database = test::ImageSetDatabase({{GetParam().name, good}});
  const MatchIndexPtr index = BuildMatchIndex(*database);
  const tADF original = test::ImageOf(good);
  ASSERT_EQ(test::ExerciseImage(original, *index), "");

  uint32_t seed = 2166136261u;  // FNV-1a of the name: the same mutations on every platform
  for (char c : GetParam().name) seed = (seed ^ static_cast<uint8_t>(c)) * 16777619u;
  Mutator mutator(good, seed);
  size_t originalFiles = 0;
  test::ExerciseImage(original, *index, &originalFiles);
  unsigned stillListing = 0;  // damaged images whose walk still lists files
  for (unsigned m = 0; m < kMutationsPerImage; ++m) {
    const tADF image = test::ImageOf(mutator.Next());
    size_t files = 0;
    const std::string problem = test::ExerciseImage(image, *index, &files);
    ASSERT_EQ(problem, "") << "mutation " << m << " of " << GetParam().name;
    stillListing += files > 0;
  }
  // Much of the damage leaves a walkable directory, so the sweep reaches the
  // reader and the scoring, not only the first checks of the walk.
  if (originalFiles > 0) {
    EXPECT_GT(stillListing, kMutationsPerImage / 4);
  }
}

std::string CaseName(const ::testing::TestParamInfo<SweepCase>& param) {
  std::string name = param.param.name;
  std::replace_if(
      name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); },
      '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(Sweep, Corruption, ::testing::ValuesIn(SweepCases()), CaseName);

}  // namespace
}  // namespace moswit
