// SPDX-License-Identifier: GPL-2.0-or-later
// The scan over real images written by other tools, and damaged copies of
// them, against a database made from their own file lists; and over images
// in every form the listing takes, which scan as the plain image does.
#include <gtest/gtest.h>

#include <filesystem>

#include "database/attributes.h"
#include "database/standardname.h"
#include "image/filesystem.h"
#include "scan/identify.h"
#include "scan/scanner.h"
#include "support/didbuilder.h"
#include "support/imageset.h"
#include "support/scanrecorder.h"
#include "support/tempdir.h"
#include "support/zipwriter.h"

namespace moswit {
namespace {

namespace fs = std::filesystem;

TEST(CorpusScan, RealImagesAndDamagedCopies) {
  const fs::path corpus = MOSWIT_CORPUS_DIR;
  ASSERT_TRUE(fs::is_directory(corpus)) << corpus;

  test::TempDir dir;
  test::DidBuilder db;
  std::map<std::string, std::string> names;
  for (const auto& entry : fs::directory_iterator(corpus)) {
    if (entry.path().extension() != ".adf") continue;
    const std::string stem = entry.path().stem().string();
    const test::Bytes bytes = test::ReadFileBytes(entry.path().string());
    ImagePtr image = LoadImageFromMemory(stem, bytes.data(), bytes.size());
    ASSERT_TRUE(image);
    GameRecord& game = db.Game(stem, "Corpus");
    db.Version(game, {1});
    DiskRecord& disk = db.Disk(game, stem);
    const FileList files = ListFiles(*image, ImageIsFfs(*image));
    for (const FileEntry& f : files) {
      FileRecord& r = AppendFile(disk);
      r.path = f.Path;
      r.size = f.Size;
      r.crc32 = f.Crc;
      r.attributes = kAttrGame;
    }
    names[stem] = StandardName(game, disk);
    dir.Write(stem + ".adf", bytes);

    // A copy with the first data block of its first non-empty file broken.
    for (const FileEntry& f : files) {
      if (f.Size == 0) continue;
      test::Bytes damaged = bytes;
      const uint32_t data = test::GetLong(damaged, f.HeaderBlock, 77);
      test::BreakChecksum(damaged, data);
      if (!ImageIsFfs(*image)) dir.Write("damaged/" + stem + ".adf", damaged);
      break;
    }
  }

  test::ScanRecorder report;
  RunScan(db.Database(), dir.Path().string(), report);
  ASSERT_FALSE(names.empty());
  // Each image is its own disk first; a disk of a few tiny files can also
  // match another image that holds the same contents, so more may follow.
  auto startsWith = [](const std::string& line, const std::string& head) {
    return line.compare(0, head.size(), head) == 0;
  };
  for (const auto& [stem, name] : names) {
    EXPECT_TRUE(startsWith(report.results[stem], name + " (1000)")) << report.results[stem];
    if (report.results.count("damaged/" + stem)) {
      EXPECT_TRUE(startsWith(report.results["damaged/" + stem], name + "[mb1] (1000)"))
          << report.results["damaged/" + stem];
    }
  }
}

// The builder set (a high-density disk among them) and the real images of
// other tools, each against its own disk; the rows are named without their
// endings.
TEST(ImageForms, EveryFormScansToThePlainImagesLine) {
  std::vector<test::NamedImage> images = test::BuilderImageSet();
  for (const auto& entry : fs::directory_iterator(MOSWIT_CORPUS_DIR)) {
    if (entry.path().extension() != ".adf") continue;
    images.push_back({entry.path().stem().string(), test::ReadFileBytes(entry.path().string())});
  }
  test::TempDir dir;
  for (const test::NamedImage& image : images) {
    for (const test::ImageForm& form : test::ImageForms(image.bytes)) {
      dir.Write(image.name + "/" + form.ending.substr(1) + form.ending, form.bytes);
    }
  }
  test::ScanRecorder report;
  RunScan(*test::ImageSetDatabase(images), dir.Path().string() + "/", report);
  ASSERT_EQ(report.results.size(), images.size() * 4);
  for (const test::NamedImage& image : images) {
    const std::string& plain = report.results[image.name + "/adf"];
    EXPECT_EQ(plain == kUnidentified, image.name == "empty");  // nothing nominates that disk
    // Only ".adf" leaves a caption.
    for (const char* form : {"/adz.adz", "/adf.gz.adf.gz", "/zip.zip"}) {
      EXPECT_EQ(report.results[image.name + form], plain) << image.name << form;
    }
  }
}

}  // namespace
}  // namespace moswit
