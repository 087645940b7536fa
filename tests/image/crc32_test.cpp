// SPDX-License-Identifier: GPL-2.0-or-later
#include "image/crc32.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace moswit {
namespace {

using UpdateFn = void (*)(uint32_t&, const void*, size_t);

struct Path {
  const char* name;
  UpdateFn update;
};

// CrcUpdate takes the carry-less multiply path where the CPU has it;
// CrcUpdatePortable always runs the slicing code.
const Path kPaths[] = {
    {"dispatch", &CrcUpdate},
    {"portable", &CrcUpdatePortable},
    {"bytewise", &CrcUpdateBytewise},
};

uint32_t Feed(const Path& path, const uint8_t* data, size_t length, uint32_t start = 0xFFFFFFFFu) {
  uint32_t acc = start;
  path.update(acc, data, length);
  return acc;
}

uint32_t Zlib(const uint8_t* data, size_t length) {
  return static_cast<uint32_t>(crc32(0, data, static_cast<uInt>(length)));
}

class CrcTest : public ::testing::TestWithParam<Path> {
 protected:
  static constexpr size_t kLarge = (1u << 20) + 4096 + 64;

  static void SetUpTestSuite() {
    data_ = new std::vector<uint8_t>(kLarge);
    std::mt19937 rng(0x5EED);
    for (auto& b : *data_) b = static_cast<uint8_t>(rng());
  }
  static void TearDownTestSuite() {
    delete data_;
    data_ = nullptr;
  }

  const uint8_t* Data(size_t offset = 0) const { return data_->data() + offset; }

  static std::vector<uint8_t>* data_;
};

std::vector<uint8_t>* CrcTest::data_ = nullptr;

TEST_P(CrcTest, CheckStringAndEmpty) {
  constexpr std::string_view kCheck = "123456789";
  uint32_t acc;
  CrcInit(acc);
  GetParam().update(acc, kCheck.data(), kCheck.size());
  CrcFinal(acc);
  EXPECT_EQ(acc, 0xCBF43926u);

  CrcInit(acc);
  GetParam().update(acc, nullptr, 0);
  EXPECT_EQ(acc, 0xFFFFFFFFu);  // an empty update leaves the register alone
  CrcFinal(acc);
  EXPECT_EQ(acc, 0u);
}

// Every length from 0 to 300 at every misalignment within 16 bytes covers
// the thresholds between the short, slicing and folding code and all tails.
TEST_P(CrcTest, MatchesZlibOverLengthsAndOffsets) {
  for (size_t offset = 0; offset < 16; ++offset) {
    for (size_t length = 0; length <= 300; ++length) {
      ASSERT_EQ(~Feed(GetParam(), Data(offset), length), Zlib(Data(offset), length))
          << "offset " << offset << " length " << length;
    }
  }
}

TEST_P(CrcTest, MatchesZlibOnLargeBuffers) {
  const size_t lengths[] = {511, 512, 513, 4096, 65536 + 15, 1u << 20, kLarge - 3};
  for (size_t length : lengths) {
    for (size_t offset : {size_t{0}, size_t{3}}) {
      EXPECT_EQ(~Feed(GetParam(), Data(offset), length), Zlib(Data(offset), length))
          << "offset " << offset << " length " << length;
    }
  }
}

// The register carries over between calls, whatever its value.
TEST_P(CrcTest, ArbitraryStartingRegister) {
  for (uint32_t start : {0u, 1u, 0x80000000u, 0x12345678u, 0xDEADBEEFu}) {
    for (size_t length : {size_t{7}, size_t{64}, size_t{200}, size_t{4099}}) {
      EXPECT_EQ(Feed(GetParam(), Data(1), length, start), Feed(kPaths[2], Data(1), length, start))
          << "start " << start << " length " << length;
    }
  }
}

TEST_P(CrcTest, ChainedUpdatesMatchOneUpdate) {
  constexpr size_t kLength = 70000;
  const uint32_t whole = Zlib(Data(), kLength);

  // Single splits around every interesting boundary.
  for (size_t split : {size_t{0}, size_t{1}, size_t{15}, size_t{16}, size_t{63}, size_t{64},
                       size_t{65}, size_t{512}, size_t{4097}, kLength - 1, kLength}) {
    uint32_t acc = 0xFFFFFFFFu;
    GetParam().update(acc, Data(), split);
    GetParam().update(acc, Data(split), kLength - split);
    EXPECT_EQ(~acc, whole) << "split " << split;
  }

  // Many random-sized pieces, from empty to larger than the fold block.
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    uint32_t acc = 0xFFFFFFFFu;
    size_t at = 0;
    while (at < kLength) {
      const size_t piece = std::min<size_t>(rng() % 1500, kLength - at);
      GetParam().update(acc, Data(at), piece);
      at += piece;
    }
    ASSERT_EQ(~acc, whole) << "round " << round;
  }
}

std::string PathName(const ::testing::TestParamInfo<Path>& param) { return param.param.name; }

INSTANTIATE_TEST_SUITE_P(Paths, CrcTest, ::testing::ValuesIn(kPaths), PathName);

TEST(Crc32, SpanFormMatchesZlib) {
  const std::vector<uint8_t> empty;
  EXPECT_EQ(Crc32(empty), 0u);
  const std::vector<uint8_t> block(512, 0xA5);
  EXPECT_EQ(Crc32(block), Zlib(block.data(), block.size()));
}

// The CRC of A followed by B from those of A and B, against a direct CRC of
// the two buffers concatenated: random lengths, empty ones among them, the
// fixed lengths the block pass combines, and runs of such pieces.
TEST(CrcCombine, MatchesTheCrcOfTheConcatenation) {
  std::mt19937 rng(11);
  std::vector<uint8_t> bytes(8192);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(rng());
  const auto crcOf = [&](size_t from, size_t length) {
    return Crc32({bytes.data() + from, length});
  };
  for (int round = 0; round < 300; ++round) {
    const size_t a = round % 10 == 0 ? 0 : rng() % 4000;
    const size_t b = round % 7 == 0 ? 0 : rng() % 4000;
    EXPECT_EQ(CrcCombine(crcOf(0, a), crcOf(a, b), b), crcOf(0, a + b)) << a << "+" << b;
    EXPECT_EQ(CrcShift(b).Combine(crcOf(0, a), crcOf(a, b)), crcOf(0, a + b)) << a << "+" << b;
  }
  const std::tuple<const CrcShift&, const CrcShift&, size_t> fixed[] = {
      {kCrcShift512, kCrcShift2048, 512}, {kCrcShift488, kCrcShift1952, 488}};
  for (const auto& [one, four, length] : fixed) {
    const size_t a = rng() % 3000;
    EXPECT_EQ(one.Combine(crcOf(0, a), crcOf(a, length)), crcOf(0, a + length));
    EXPECT_EQ(four.Combine(crcOf(0, a), crcOf(a, 4 * length)), crcOf(0, a + 4 * length));
    for (size_t count = 0; count <= 9; ++count) {
      CrcRun run(one, four);
      for (size_t i = 0; i < count; ++i) run.Add(crcOf(i * length, length));
      EXPECT_EQ(run.Crc(), crcOf(0, count * length)) << count << " of " << length;
    }
  }
}

}  // namespace
}  // namespace moswit
