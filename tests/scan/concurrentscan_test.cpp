// SPDX-License-Identifier: GPL-2.0-or-later
// Scans on several threads: a scan's own workers, which must report exactly
// what one thread reports, in row order, and stop between images; and two
// Renamer windows scanning the same folder at once, each scan with its own
// database, index and images. Under ThreadSanitizer this also shows the
// workers share only what they read.
#include <gtest/gtest.h>

#include <thread>

#include "database/didreader.h"
#include "database/didwriter.h"
#include "scan/scanner.h"
#include "support/imageset.h"
#include "support/runprogram.h"
#include "support/scanrecorder.h"
#include "support/tempdir.h"
#include "support/zipwriter.h"

namespace moswit {
namespace {

class ConcurrentScanTest : public ::testing::Test {
 protected:
  ConcurrentScanTest() {
    const auto images = test::BuilderImageSet();
    for (const auto& image : images) dir_.Write(image.name + ".adf", image.bytes);
    // Damaged, zipped and unreadable images take the other paths of a scan.
    test::Bytes damaged = images.front().bytes;
    for (size_t at = 880 * 512; at < 890 * 512; at += 7) damaged[at] ^= 0x5A;
    dir_.Write("damaged.adf", damaged);
    dir_.Write("zipped.ADF", test::MakeZip({{"disk.adf", images[1].bytes}}));
    dir_.Write("sub/empty.adf", {});
    // More rows than the workers' ring holds, so its slots are reused.
    for (size_t i = 0; i < 12; ++i) {
      dir_.Write("more/copy" + std::to_string(i) + ".adf", images[i % images.size()].bytes);
    }
    didText_ = FormatDatabase(*test::ImageSetDatabase(images));
    folder_ = dir_.Path().string();
  }

  std::unique_ptr<DatabaseInfo> OwnDatabase() const { return ParseDatabase(didText_); }

  std::vector<std::string> SingleScan(size_t jobs = 1) const {
    test::ScanRecorder log;
    RunScan(*OwnDatabase(), folder_, log, nullptr, jobs);
    return log.events;
  }

  test::TempDir dir_;
  std::string didText_;
  std::string folder_;
};

TEST_F(ConcurrentScanTest, TwoWindowsScanningOneFolderEachGetTheRowsOfOneScan) {
  const std::vector<std::string> single = SingleScan();
  ASSERT_EQ(single.back(), "ended");
  ASSERT_GT(single.size(), 20u);

  auto first = OwnDatabase();
  auto second = OwnDatabase();
  test::ScanRecorder firstLog;
  test::ScanRecorder secondLog;
  std::thread a([&] { RunScan(*first, folder_, firstLog); });
  std::thread b([&] { RunScan(*second, folder_, secondLog); });
  a.join();
  b.join();
  EXPECT_EQ(firstLog.events, single);
  EXPECT_EQ(secondLog.events, single);
}

// A database only read by both scans gives the same rows as well; nothing in
// a scan writes to the records it identifies against.
TEST_F(ConcurrentScanTest, ScansReadingOneDatabaseGetTheRowsOfOneScan) {
  const std::vector<std::string> single = SingleScan();
  const auto shared = OwnDatabase();
  std::vector<test::ScanRecorder> logs(3);
  std::vector<std::thread> threads;
  for (test::ScanRecorder& log : logs)
    threads.emplace_back([&] { RunScan(*shared, folder_, log); });
  for (std::thread& t : threads) t.join();
  for (const test::ScanRecorder& log : logs) EXPECT_EQ(log.events, single);
}

TEST_F(ConcurrentScanTest, AnyNumberOfWorkersReportsWhatOneThreadReports) {
  const std::vector<std::string> single = SingleScan(1);
  ASSERT_GT(single.size(), 3 * 20u);
  for (size_t jobs : {2u, 3u, 8u, 0u}) EXPECT_EQ(SingleScan(jobs), single) << jobs << " workers";
}

// A stop set while row 2 is reported: nothing after it is reported, and
// RunScan returns only once its workers have ended.
TEST_F(ConcurrentScanTest, StopEndsEveryWorkerBetweenImages) {
  struct StoppingReport : test::ScanRecorder {
    std::atomic<bool> stop{false};
    void RowResult(size_t row, const std::string& line, bool beep) override {
      test::ScanRecorder::RowResult(row, line, beep);
      if (row == 2) stop.store(true);
    }
  };
  for (size_t jobs : {1u, 2u, 3u}) {
    StoppingReport report;
    RunScan(*OwnDatabase(), folder_, report, &report.stop, jobs);
    EXPECT_EQ(report.results.size(), 3u) << jobs << " workers";
    EXPECT_EQ(report.events.back(), "stopped");
  }
}

TEST_F(ConcurrentScanTest, CliOutputIsTheSameForEveryJobCount) {
  const std::string did = (dir_.Path() / "set.did").string();
  ASSERT_FALSE(WriteDatabase(*OwnDatabase(), did));
  const auto one = test::Cli({"identify", "--jobs", "1", did, folder_});
  ASSERT_EQ(one.exitStatus, 0) << one.err;
  ASSERT_NE(one.out.find("damaged\t"), std::string::npos);
  for (const char* jobs : {"2", "3"}) {
    EXPECT_EQ(test::Cli({"identify", "--jobs", jobs, did, folder_}).out, one.out) << jobs;
  }
  EXPECT_EQ(test::Cli({"identify", did, folder_}).out, one.out);

  const std::vector<std::vector<std::string>> wrong = {{"identify", "--jobs", "0", did, folder_},
                                                       {"identify", "--jobs", "x", did, folder_},
                                                       {"identify", "--jobs", "257", did, folder_},
                                                       {"identify", "--jobs", "2", did},
                                                       {"identify", did, folder_, "extra"}};
  for (const auto& args : wrong) EXPECT_EQ(test::Cli(args).exitStatus, 2) << args[2];
}

}  // namespace
}  // namespace moswit
