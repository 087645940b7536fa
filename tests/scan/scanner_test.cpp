// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/scanner.h"

#include <gtest/gtest.h>

#include "database/attributes.h"
#include "database/didwriter.h"
#include "database/standardname.h"
#include "image/crc32.h"
#include "support/adfbuilder.h"
#include "support/didbuilder.h"
#include "support/runprogram.h"
#include "support/scanrecorder.h"
#include "support/tempdir.h"

namespace moswit {
namespace {

using test::AdfBuilder;
using test::Bytes;

// A folder of builder images and a database describing the good one.
class ScanTest : public ::testing::Test {
 protected:
  ScanTest() {
    game_ = &db_.Game("Sample Game", "Sample Soft");
    db_.Version(*game_, {1});
    disk_ = &db_.Disk(*game_, "Sample");
    files_ = {{"/s/startup-sequence", test::PatternBytes(30, 1)},
              {"/game", test::PatternBytes(20'000, 2)},
              {"/data/one", test::PatternBytes(3'000, 3)},
              {"/data/two", test::PatternBytes(3'100, 4)}};
    for (const auto& [path, contents] : files_) {
      FileRecord& r = AppendFile(*disk_);
      r.path = path;
      r.size = static_cast<uint32_t>(contents.size());
      r.crc32 = Crc32(contents);
      r.attributes = kAttrGame;
    }
  }

  // The good disk with `change` applied to its file list before building.
  Bytes Disk(const std::function<void(std::vector<std::pair<std::string, Bytes>>&)>& change = {}) {
    auto files = files_;
    if (change) change(files);
    AdfBuilder builder;
    for (const auto& [path, contents] : files) builder.AddFile(path, contents);
    return builder.Build();
  }

  std::string Name() const { return StandardName(*game_, *disk_); }

  test::DidBuilder db_;
  GameRecord* game_;
  DiskRecord* disk_;
  std::vector<std::pair<std::string, Bytes>> files_;
  test::TempDir dir_;
};

TEST_F(ScanTest, ReportsInWindowOrder) {
  dir_.Write("A.adf", Disk());
  dir_.Write("b.ADF", test::PatternBytes(10'000, 9));
  dir_.Write("sub/C.Adf", Disk());
  dir_.Write("notes.txt", Bytes{1});
  const std::string folder = dir_.Path().string() + "/";
  test::ScanRecorder report;
  RunScan(db_.Database(), folder, report);
  const std::vector<std::string> expected = {
      "status Preparing ADF list ...",
      "cleared",
      "listed A b sub/C",
      "status Scanning file 1 of 3 [33] / " + folder + "A",
      "progress 1/3",
      "row 0 beep " + Name() + " (1000)",
      "status Scanning file 2 of 3 [66] / " + folder + "b",
      "progress 2/3",
      "row 1 <unidentified>",
      "status Scanning file 3 of 3 [100] / " + folder + "sub/C",
      "progress 3/3",
      "row 2 beep " + Name() + " (1000)",
      "status Ready.",
      "ended",
  };
  EXPECT_EQ(report.events, expected);
}

TEST_F(ScanTest, DamagedRenamedDeletedAndAddedFiles) {
  dir_.Write("perfect.adf", Disk());
  dir_.Write("damaged.adf", Disk([](auto& f) { f[1].second[100] ^= 1; }));
  dir_.Write("renamed.adf", Disk([](auto& f) { f[2].first = "/data/three"; }));
  dir_.Write("deleted.adf", Disk([](auto& f) { f.erase(f.begin() + 3); }));
  dir_.Write("added.adf", Disk([](auto& f) {
               f.push_back({"/extra1", test::PatternBytes(10, 20)});
               f.push_back({"/extra2", test::PatternBytes(10, 21)});
             }));
  dir_.Write("unreadable.adf", Bytes{1, 2});
  test::ScanRecorder report;
  RunScan(db_.Database(), dir_.Path().string(), report);  // no trailing separator
  const std::map<std::string, std::string> expected = {
      {"perfect", Name() + " (1000)"},      {"damaged", Name() + "[md1] (1000)"},
      {"renamed", Name() + "[mn1] (1000)"}, {"deleted", Name() + "[mm1] (750)"},
      {"added", Name() + "[x2] (1000)"},    {"unreadable", "<unreadable: Read beyond end of file>"},
  };
  EXPECT_EQ(report.results, expected);
  EXPECT_EQ(report.events.back(), "ended");
}

TEST_F(ScanTest, EmptyOrMissingFolderEndsAtOnce) {
  for (const std::string& folder : {dir_.Path().string() + "/", dir_.Path().string() + "/none/"}) {
    test::ScanRecorder report;
    RunScan(db_.Database(), folder, report);
    EXPECT_EQ(report.events, (std::vector<std::string>{"status Preparing ADF list ...", "cleared",
                                                       "listed", "status Ready.", "ended"}));
  }
}

TEST_F(ScanTest, StopEndsBetweenImages) {
  dir_.Write("a.adf", Disk());
  dir_.Write("b.adf", Disk());
  std::atomic<bool> stop{false};
  struct StoppingReport : test::ScanRecorder {
    std::atomic<bool>* stop;
    void RowResult(size_t row, const std::string& line, bool beep) override {
      test::ScanRecorder::RowResult(row, line, beep);
      stop->store(true);
    }
  } report;
  report.stop = &stop;
  RunScan(db_.Database(), dir_.Path().string(), report, &stop);
  EXPECT_EQ(report.results.size(), 1u);
  EXPECT_EQ(report.events.back(), "stopped");
}

// A stop while the folder is listed ends the scan before any image.
TEST_F(ScanTest, StopEndsTheListing) {
  for (int i = 0; i < 50; ++i) dir_.Write("sub" + std::to_string(i) + "/a.adf", Disk());
  std::atomic<bool> stop{true};
  test::ScanRecorder report;
  RunScan(db_.Database(), dir_.Path().string(), report, &stop);
  EXPECT_EQ(report.events,
            (std::vector<std::string>{"status Preparing ADF list ...", "cleared", "stopped"}));
}

TEST(ScanStatus, PercentIsTruncated) {
  EXPECT_EQ(ScanningStatus(2, 3, "/f/", "b"), "Scanning file 2 of 3 [66] / /f/b");
  EXPECT_EQ(ScanningStatus(3, 3, "/f/", "c"), "Scanning file 3 of 3 [100] / /f/c");
  EXPECT_EQ(ScanningStatus(1, 7, "", "x"), "Scanning file 1 of 7 [14] / x");
}

TEST_F(ScanTest, CliIdentifyPrintsCaptionAndResult) {
  dir_.Write("images/one.adf", Disk());
  dir_.Write("images/two.adf", Disk([](auto& f) { f.erase(f.begin()); }));
  const std::string did = (dir_.Path() / "test.did").string();
  ASSERT_FALSE(WriteDatabase(db_.Database(), did));
  const auto result =
      test::RunProgram(MOSWIT_CLI_PATH, {"identify", did, (dir_.Path() / "images").string()});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, "one\t" + Name() + " (1000)\ntwo\t" + Name() + "[mm1] (750)\n");
  EXPECT_TRUE(result.err.empty());  // stderr is no terminal here

  const auto missing =
      test::RunProgram(MOSWIT_CLI_PATH, {"identify", did + ".none", dir_.Path().string()});
  EXPECT_EQ(missing.exitStatus, 1);
  EXPECT_FALSE(missing.err.empty());
}

}  // namespace
}  // namespace moswit
