// Images in every form the listing takes (plain, .adz, .adf.gz of several
// members, .zip) are scanned, named and identified as the plain image is.
#include <gtest/gtest.h>

#include <filesystem>

#include "scan/identify.h"
#include "scan/scanner.h"
#include "support/imageset.h"
#include "support/runprogram.h"
#include "support/scanrecorder.h"
#include "support/tempdir.h"
#include "support/zipwriter.h"

namespace moswit {
namespace {

namespace fs = std::filesystem;

// The builder set (a high-density disk among them) and the real images of
// other tools when they are at hand, each against its own disk.
TEST(ImageForms, EveryFormScansToThePlainImagesLine) {
  std::vector<test::NamedImage> images = test::BuilderImageSet();
  const fs::path corpus = MOSWIT_CORPUS_DIR;
  if (fs::is_directory(corpus)) {
    for (const auto& entry : fs::directory_iterator(corpus)) {
      if (entry.path().extension() != ".adf") continue;
      images.push_back({entry.path().stem().string(), test::ReadFileBytes(entry.path().string())});
    }
  }
  const auto database = test::ImageSetDatabase(images);
  test::TempDir dir;
  size_t forms = 0;
  for (const test::NamedImage& image : images) {
    forms = 0;
    for (const test::ImageForm& form : test::ImageForms(image.bytes)) {
      dir.Write(image.name + "/form" + std::to_string(forms++) + form.ending, form.bytes);
    }
  }

  test::ScanRecorder report;
  RunScan(*database, dir.Path().string() + "/", report);
  ASSERT_EQ(report.results.size(), images.size() * forms);
  size_t identified = 0;
  for (const test::NamedImage& image : images) {
    const std::string& plain = report.results[image.name + "/form0"];
    if (plain != kUnidentified) ++identified;
    for (size_t k = 1; k < forms; ++k) {
      EXPECT_EQ(report.results[image.name + "/form" + std::to_string(k)], plain)
          << image.name << " form " << k;
    }
  }
  // Only the empty disk, which nothing nominates, stays unidentified.
  EXPECT_EQ(identified, images.size() - 1);
}

// A set of four disks, one in each form: mkdid reads every name without its
// ending, and identify prints the captions without it.
TEST(ImageForms, MkdidAndIdentifyGoByTheNameWithoutItsEnding) {
  test::TempDir dir;
  const std::string folder = (dir.Path() / "set").string();
  std::string made;
  std::string identified;
  for (uint32_t disk = 1; disk <= 4; ++disk) {
    test::AdfBuilder builder({.volume = "Quest" + std::to_string(disk)});
    builder.AddFile("/quest", test::PatternBytes(20'000, disk));
    const test::ImageForm form = test::ImageForms(builder.Build())[disk - 1];
    const std::string ending = disk == 3 ? ".ADF.gz" : form.ending;
    const std::string name = "Quest (1990)(Soft)[" + std::to_string(disk) + "|4]";
    dir.Write("set/" + name + ending, form.bytes);
    made += folder + "/" + name + ending + "\t" + name + "\n";
    identified += name + "\t" + name + " (1000)\n";
  }
  dir.Write("set/readme.gz", test::Gzip({'h', 'i'}));
  const std::string did = (dir.Path() / "set.did").string();

  test::ProgramResult result = test::RunProgram(MOSWIT_CLI_PATH, {"mkdid", did, folder});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, made);
  result = test::RunProgram(MOSWIT_CLI_PATH, {"identify", did, folder});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, identified);
}

}  // namespace
}  // namespace moswit
