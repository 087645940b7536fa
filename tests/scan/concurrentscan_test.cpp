// Two Renamer windows scanning the same folder at once: each scan on its own
// worker thread with its own database, index and images, as the windows
// run them. Under ThreadSanitizer this also shows the scans share nothing.
#include <gtest/gtest.h>

#include <thread>

#include "database/didreader.h"
#include "database/didwriter.h"
#include "scan/scanner.h"
#include "support/imageset.h"
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
    didText_ = FormatDatabase(*test::ImageSetDatabase(images));
    folder_ = dir_.Path().string();
  }

  std::unique_ptr<DatabaseInfo> OwnDatabase() const { return ParseDatabase(didText_); }

  std::vector<std::string> SingleScan() const {
    test::ScanRecorder log;
    RunScan(*OwnDatabase(), folder_, log);
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
  for (test::ScanRecorder& log : logs) threads.emplace_back([&] { RunScan(*shared, folder_, log); });
  for (std::thread& t : threads) t.join();
  for (const test::ScanRecorder& log : logs) EXPECT_EQ(log.events, single);
}

}  // namespace
}  // namespace moswit
