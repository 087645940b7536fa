// SPDX-License-Identifier: GPL-2.0-or-later
// Our walk against an independent reader: the files that unadf extracts
// must be the files we list, with the same sizes and CRC-32s.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <map>

#include "image/filesystem.h"
#include "image/geometry.h"
#include "support/adfbuilder.h"
#include "support/runprogram.h"
#include "support/tempdir.h"

namespace moswit {
namespace {

namespace fs = std::filesystem;
using test::AdfBuilder;
using test::Bytes;

constexpr char kUnadf[] = "/usr/bin/unadf";

struct FileFacts {
  uint32_t size;
  uint32_t crc;
  bool operator==(const FileFacts&) const = default;
};
using Facts = std::map<std::string, FileFacts>;

Facts Extracted(const std::string& imagePath) {
  test::TempDir out;
  test::RunProgram(kUnadf, {imagePath, "-d", out.Path().string()});
  Facts facts;
  for (const auto& entry : fs::recursive_directory_iterator(out.Path())) {
    if (!entry.is_regular_file() || entry.is_symlink()) continue;
    const Bytes contents = test::ReadFileBytes(entry.path().string());
    const std::string path = "/" + fs::relative(entry.path(), out.Path()).generic_string();
    facts[path] = {
        static_cast<uint32_t>(contents.size()),
        static_cast<uint32_t>(crc32(0, contents.data(), static_cast<uInt>(contents.size())))};
  }
  return facts;
}

Facts Listed(const std::string& imagePath) {
  ImagePtr image = LoadImage(imagePath);
  Facts facts;
  if (!image) return facts;
  for (const FileEntry& f : ListFiles(*image, ImageIsFfs(*image))) {
    EXPECT_EQ(f.Status, 0u) << f.Path;
    facts[f.Path] = {f.Size, f.Crc};
  }
  return facts;
}

class CrossCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kUnadf)) GTEST_SKIP() << "unadf is not installed; run scripts/setup.sh";
  }
  test::TempDir dir_;
};

TEST_F(CrossCheck, BuilderImages) {
  for (bool ffs : {false, true}) {
    AdfBuilder::Options options;
    options.ffs = ffs;
    AdfBuilder builder(options);
    builder.AddFile("/s/startup-sequence", Bytes{'r', 'u', 'n', '\n'});
    builder.AddFile("/c/tool", test::PatternBytes(9'999, 1));
    builder.AddFile("/game", test::PatternBytes(100'000, 2));
    builder.AddFile("/data/a/b/c/deep", test::PatternBytes(1'234, 3));
    for (int i = 0; i < 100; ++i)
      builder.AddFile("/many/f" + std::to_string(i), test::PatternBytes(i * 37, i));
    const std::string path = dir_.Write(ffs ? "ffs.adf" : "ofs.adf", builder.Build());
    const Facts listed = Listed(path);
    EXPECT_EQ(listed.size(), 104u);
    EXPECT_EQ(Extracted(path), listed) << (ffs ? "FFS" : "OFS");
  }
}

// No high-density image written by another tool is at hand: ours, with files
// on both sides of its root in block 1760, must read as unadf reads them.
TEST_F(CrossCheck, HighDensityBuilderImages) {
  for (bool ffs : {false, true}) {
    AdfBuilder builder({.ffs = ffs, .blocks = kHighDensityBlocks});
    for (int i = 0; i < 20; ++i)
      builder.AddFile("/d/f" + std::to_string(i), test::PatternBytes(i * 8'000, i));
    const std::string path = dir_.Write("hd.adf", builder.Build());
    EXPECT_EQ(Listed(path).size(), 20u);
    EXPECT_EQ(Extracted(path), Listed(path)) << (ffs ? "FFS" : "OFS");
  }
}

TEST_F(CrossCheck, RealImagesFromOtherTools) {
  const fs::path corpus = MOSWIT_CORPUS_DIR;
  ASSERT_TRUE(fs::is_directory(corpus)) << corpus;
  int images = 0;
  for (const auto& entry : fs::directory_iterator(corpus)) {
    if (entry.path().extension() != ".adf") continue;
    ++images;
    const std::string path = entry.path().string();
    const Facts listed = Listed(path);
    EXPECT_FALSE(listed.empty()) << path;
    EXPECT_EQ(Extracted(path), listed) << path;
  }
  EXPECT_GT(images, 0);
}

}  // namespace
}  // namespace moswit
