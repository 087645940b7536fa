// SPDX-License-Identifier: GPL-2.0-or-later
// The collection commands on 1,000 images, each a disk of its own, beside a
// DID of 60,000 more disks (bench/collection.h):
//   - the report (the scan, each row's games kept, the report built and its
//     text written) beside the scan alone, with the images in the system's
//     cache and read from the disk;
//   - organizing the 1,000 images into an empty target folder (plan,
//     copies, read-back) beside `cp` of the same files.
// Folders are under the system's temporary folder and kept between runs.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "collection.h"
#include "collection/collectionreport.h"
#include "collection/organize.h"
#include "image/crc32.h"
#include "recordingreporter.h"
#include "scan/scanner.h"
#include "scan/scanoutcomes.h"
#include "support/adfbuilder.h"

namespace {

namespace fs = std::filesystem;
using moswit::test::Bytes;

constexpr int kImages = 1'000;
constexpr int kFilesPerImage = 20;

class NullReport : public moswit::ScanReport {
 public:
  void Status(const std::string&) override {}
  void RowsCleared() override {}
  void RowsListed(const std::vector<moswit::ImageRow>&) override {}
  void RowResult(size_t, const std::string&, bool) override {}
};

struct Fixture {
  std::unique_ptr<moswit::DatabaseInfo> database;
  fs::path root;
  std::string source;
};

// Image i holds 20 files of 40 KB, about 800 KB; its disk lists them.
Fixture& Shared() {
  static Fixture* fixture = [] {
    auto* f = new Fixture;
    f->database = moswit::bench::FullCollection(5);
    f->root = fs::temp_directory_path() / "moswit-bench-collection";
    f->source = (f->root / "images").string() + "/";
    fs::create_directories(f->source);
    for (int i = 0; i < kImages; ++i) {
      moswit::GameRecord& game = moswit::AppendGame(*f->database);
      game.name = "Bench Game " + std::to_string(i);
      moswit::DiskRecord& disk = moswit::AppendDisk(game);
      moswit::AppendVersion(game).diskOrder[0] = 1;
      moswit::test::AdfBuilder builder;
      for (int k = 0; k < kFilesPerImage; ++k) {
        const Bytes contents =
            moswit::test::PatternBytes(40'000, static_cast<uint32_t>(i * kFilesPerImage + k));
        const std::string path = "/data/file" + std::to_string(k);
        builder.AddFile(path, contents);
        moswit::FileRecord& record = moswit::AppendFile(disk);
        record.path = path;
        record.size = static_cast<uint32_t>(contents.size());
        record.crc32 = moswit::Crc32(contents);
        record.attributes = moswit::kAttrGame;
      }
      const fs::path file = fs::path(f->source) / ("image" + std::to_string(i) + ".adf");
      if (fs::exists(file)) continue;
      const Bytes image = builder.Build();
      std::ofstream(file, std::ios::binary)
          .write(reinterpret_cast<const char*>(image.data()),
                 static_cast<std::streamsize>(image.size()));
    }
    return f;
  }();
  return *fixture;
}

// Drops the images from the system's cache, so the next scan reads them
// from the disk as a collector's scan does.
void Evict(const Fixture& f) {
  for (const auto& entry : fs::directory_iterator(f.source)) {
    const int fd = ::open(entry.path().c_str(), O_RDONLY);
    if (fd < 0) continue;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
  }
}

// Arguments: the number of workers (0: one per core), and 1 when the images
// are read from the disk, 0 when they are in the cache.
void Scan(benchmark::State& state, bool report) {
  const Fixture& f = Shared();
  const auto jobs = static_cast<size_t>(state.range(0));
  size_t have = kImages;
  for (auto _ : state) {
    if (state.range(1) != 0) {
      state.PauseTiming();
      Evict(f);
      state.ResumeTiming();
    }
    if (report) {
      const moswit::CollectionReport collection =
          moswit::ScanCollection(*f.database, f.source, nullptr, jobs);
      std::string text = moswit::ReportText(collection);
      benchmark::DoNotOptimize(text);
      have = moswit::CountStatuses(collection).have;
    } else {
      NullReport null;
      moswit::RunScan(*f.database, f.source, null, nullptr, jobs);
    }
  }
  if (have != kImages) state.SkipWithError("not every image is a disk we have");
}

void BM_Scan(benchmark::State& state) { Scan(state, false); }
void BM_Report(benchmark::State& state) { Scan(state, true); }
BENCHMARK(BM_Scan)
    ->ArgNames({"jobs", "cold"})
    ->ArgsProduct({{1, 0}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();
BENCHMARK(BM_Report)
    ->ArgNames({"jobs", "cold"})
    ->ArgsProduct({{1, 0}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

std::string Target() { return (Shared().root / "target").string(); }

// An empty target, and no written data still waiting for the disk: each run
// starts as the last left nothing behind.
void Clear() {
  fs::remove_all(Target());
  ::sync();
}

void BM_Organize(benchmark::State& state) {
  const Fixture& f = Shared();
  moswit::OutcomeRecorder recorder(f.source);
  moswit::RunScan(*f.database, f.source, recorder, nullptr, 1);
  const moswit::CollectionReport report =
      moswit::BuildCollectionReport(*f.database, recorder.TakeOutcomes());
  class Count : public moswit::OrganizeReport {
   public:
    void StepDone(size_t, const moswit::OrganizeStep& step) override {
      copied += step.action == moswit::OrganizeAction::kCopy;
    }
    size_t copied = 0;
  };
  for (auto _ : state) {
    state.PauseTiming();
    Clear();
    Count count;
    state.ResumeTiming();
    std::vector<moswit::OrganizeStep> steps = moswit::PlanOrganize(report, Target(), {});
    moswit::RunOrganize(steps, Target(), {}, count);
    if (count.copied != kImages) state.SkipWithError("not every image was copied");
  }
}
BENCHMARK(BM_Organize)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_CpCommand(benchmark::State& state) {
  const Fixture& f = Shared();
  const std::string command = "cp -R '" + f.source + ".' '" + Target() + "'";
  for (auto _ : state) {
    state.PauseTiming();
    Clear();
    state.ResumeTiming();
    if (std::system(command.c_str()) != 0) state.SkipWithError("cp failed");
  }
}
BENCHMARK(BM_CpCommand)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  moswit::bench::RecordingReporter reporter;
  if (!moswit::bench::RunRecorded(argc, argv, reporter)) return 1;
  fs::remove_all(Target());
  const auto time = [&reporter](const std::string& name, int iterations) {
    return reporter.Time(name + "/iterations:" + std::to_string(iterations) + "/real_time", true);
  };
  for (const char* cold : {"0", "1"}) {
    for (const char* jobs : {"1", "0"}) {
      const std::string args = std::string("/jobs:") + jobs + "/cold:" + cold;
      const double scan = time("BM_Scan" + args, 5);
      const double report = time("BM_Report" + args, 5);
      if (scan <= 0 || report <= 0) continue;
      std::printf("%s, %s worker(s): report / scan: %.3f (goal: at most 1.05)\n",
                  cold[0] == '1' ? "from the disk" : "cached", jobs[0] == '1' ? "1" : "default",
                  report / scan);
    }
  }
  const double organize = time("BM_Organize", 3);
  const double cp = time("BM_CpCommand", 3);
  if (organize > 0 && cp > 0) {
    std::printf("organize 1,000 images / cp of the same files: %.2f (goal: at most 1.30)\n",
                organize / cp);
  }
  return 0;
}
