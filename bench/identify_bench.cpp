// SPDX-License-Identifier: GPL-2.0-or-later
// Identification speed on a collector-sized database: 50,000 disks with
// 1,000,000 file records and a block range on every tenth disk. Two shapes:
// "boot", the ranges all on the boot block, as most databases have them, and
// "spread", the ranges over every block position, so every block of every
// image is CRC'd and looked up (the worst case).
//   - IdentifyImage of a full 880 KB image, beside its floor: one CRC-32 pass
//     over every block and one over every file, measured in the same run.
//     IdentifyImage takes the block CRCs the index needs in one pass
//     (BlockCrcs: in "spread" every block, in "boot" the boot block) and
//     combines file CRCs from block CRCs, each block CRC'd once; that pass
//     alone is measured too.
//   - BuildMatchIndex over the records given in ascending CRC order, with the
//     index's bytes per record.
//   - A whole scan of a folder of 2,000 images, on one worker and on one per
//     core, beside reading each file once and reading it with one CRC-32,
//     both on one thread.
//   - Scans on one worker per core with three more databases: "files only",
//     20,000 games known by their files alone, over 600 sparse images (a few
//     files each, most blocks empty), beside reading those images once; and
//     "whole image", 25,000 disks each known only by a range over its whole
//     image (as a DAT's dumps are), beside the same scan with a database the
//     size of the samples' one, over the sparse and the full folder.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "database/attributes.h"
#include "image/adf.h"
#include "image/blockcrcs.h"
#include "image/crc32.h"
#include "image/filesystem.h"
#include "recordingreporter.h"
#include "scan/identify.h"
#include "scan/matchindex.h"
#include "scan/scanner.h"
#include "support/adfbuilder.h"
#include "support/didbuilder.h"

namespace {

using moswit::test::AdfBuilder;
using moswit::test::Bytes;

constexpr uint32_t kDisks = 50'000;
constexpr uint32_t kFilesPerDisk = 20;
constexpr int kFolderImages = 2'000;
constexpr int kSparseImages = 600;
constexpr uint32_t kFilesOnlyGames = 20'000;
constexpr uint32_t kWholeImageDisks = 25'000;
constexpr uint32_t kWholeImageSize = 901'120;

uint32_t Next(uint32_t& x) {
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  return x;
}

// A nearly full disk: 41 files, 800 KB of contents.
Bytes FullDisk(uint32_t seed) {
  AdfBuilder builder;
  builder.AddFile("/s/startup-sequence", moswit::test::PatternBytes(40, seed));
  for (int i = 0; i < 40; ++i) {
    builder.AddFile("/data/file" + std::to_string(i),
                    moswit::test::PatternBytes(20'000, seed * 100 + i));
  }
  return builder.Build();
}

// A sparse disk: two to seven files of 2 to 30 KB, most blocks unused.
Bytes SparseDisk(uint32_t seed) {
  AdfBuilder::Options options;
  options.ffs = seed % 3 == 0;
  AdfBuilder builder(options);
  uint32_t x = seed * 7919 + 1;
  const uint32_t files = 2 + Next(x) % 6;
  builder.AddFile("/s/startup-sequence", moswit::test::PatternBytes(30, seed));
  for (uint32_t i = 0; i < files; ++i) {
    builder.AddFile("/file" + std::to_string(i),
                    moswit::test::PatternBytes(2'000 + Next(x) % 28'000, seed * 100 + i));
  }
  return builder.Build();
}

struct Fixture {
  std::unique_ptr<moswit::DatabaseInfo> database;
  moswit::MatchIndexPtr index;
  Bytes image;
  moswit::ImagePtr adf;
};

enum Shape { kBoot = 0, kSpread = 1 };

// Records in ascending CRC order, as generated databases often come; the
// image's own disk is the last one.
Fixture* MakeFixture(Shape shape) {
  {
    auto* f = new Fixture;
    f->image = FullDisk(1);
    f->adf = moswit::LoadImageFromMemory("full.adf", f->image.data(), f->image.size());
    moswit::test::DidBuilder db;
    uint32_t crc = 0;
    uint32_t x = 12345;
    for (uint32_t d = 0; d + 1 < kDisks; ++d) {
      moswit::GameRecord& game = db.Game("Game " + std::to_string(d));
      db.Version(game, {1});
      moswit::DiskRecord& disk = db.Disk(game, "Disk");
      for (uint32_t i = 0; i < kFilesPerDisk; ++i) {
        moswit::FileRecord& r = moswit::AppendFile(disk);
        r.path = "/file" + std::to_string(i);
        crc += 1 + Next(x) % 8000;
        r.crc32 = crc;
        r.size = 1000 + Next(x) % 100'000;
        r.attributes = moswit::kAttrGame;
      }
      if (d % 10 == 0) {
        moswit::RangeRecord& range = moswit::AppendRange(disk);
        const uint32_t block = shape == kSpread ? (d / 10) % 1760 : 0;
        range.firstByte = block * 512;
        range.lastByte = block * 512 + 511;
        range.crc32 = Next(x);
        range.attributes = moswit::kAttrBoot;
      }
    }
    moswit::GameRecord& game = db.Game("The Game");
    db.Version(game, {1});
    moswit::DiskRecord& disk = db.Disk(game, "Empty");
    for (const moswit::FileEntry& file : moswit::ListFiles(*f->adf, false)) {
      moswit::FileRecord& r = moswit::AppendFile(disk);
      r.path = file.Path;
      r.size = file.Size;
      r.crc32 = file.Crc;
      r.attributes = moswit::kAttrGame;
    }
    f->database = db.Take();
    f->index = moswit::BuildMatchIndex(*f->database);
    return f;
  }
}

Fixture& Shared(Shape shape) {
  static Fixture* fixtures[2] = {MakeFixture(kBoot), MakeFixture(kSpread)};
  return *fixtures[shape];
}

void BM_IdentifyImage(benchmark::State& state) {
  const Fixture& f = Shared(static_cast<Shape>(state.range(0)));
  std::string line;
  for (auto _ : state) {
    line = moswit::IdentifyImage(*f.adf, *f.index).line;
    benchmark::DoNotOptimize(line);
  }
  state.SetLabel(line);
}
BENCHMARK(BM_IdentifyImage)
    ->ArgName("spread")
    ->Arg(kBoot)
    ->Arg(kSpread)
    ->Unit(benchmark::kMicrosecond);

// The floor: CRC-32 of every block, then of every file's contents.
void BM_TwoCrcPasses(benchmark::State& state) {
  const Fixture& f = Shared(kBoot);
  std::vector<Bytes> contents;
  moswit::VisitedMap map;
  for (const moswit::FileEntry& file : moswit::ListFiles(*f.adf, false)) {
    Bytes buffer;
    moswit::ReadFileData(*f.adf, file, false, map, buffer);
    contents.push_back(std::move(buffer));
  }
  for (auto _ : state) {
    uint32_t sum = 0;
    for (uint32_t b = 0; b < moswit::BlockCount(*f.adf); ++b) {
      sum += moswit::Crc32({moswit::BlockData(*f.adf, b), moswit::kBlockSize});
    }
    for (const Bytes& c : contents) sum += moswit::Crc32(c);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_TwoCrcPasses)->Unit(benchmark::kMicrosecond);

// The one pass of IdentifyImage alone, as a scan takes it while loading.
void BM_BlockCrcPass(benchmark::State& state) {
  const Fixture& f = Shared(static_cast<Shape>(state.range(0)));
  moswit::BlockCrcs crcs;
  crcs.TakeWholeAt(f.index->wholeBlocksFrom);
  for (auto _ : state) {
    crcs.TakeAll(*f.adf);
    benchmark::DoNotOptimize(crcs.Crc(0));
  }
}
BENCHMARK(BM_BlockCrcPass)
    ->ArgName("spread")
    ->Arg(kBoot)
    ->Arg(kSpread)
    ->Unit(benchmark::kMicrosecond);

void BM_BuildMatchIndex(benchmark::State& state) {
  const Fixture& f = Shared(kSpread);
  size_t records = 0;
  size_t bytes = 0;
  for (auto _ : state) {
    moswit::MatchIndexPtr index = moswit::BuildMatchIndex(*f.database);
    records = index->files.Size() + index->blocks.Size();
    bytes = index->files.MemoryBytes() + index->blocks.MemoryBytes();
    benchmark::DoNotOptimize(index);
  }
  state.counters["records"] = static_cast<double>(records);
  state.counters["bytes_per_record"] = static_cast<double>(bytes) / static_cast<double>(records);
}
BENCHMARK(BM_BuildMatchIndex)->Unit(benchmark::kMillisecond);

// A folder of generated images: half of them the known disk, half others.
const std::filesystem::path& Folder() {
  static std::filesystem::path folder = [] {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "moswit-bench-images";
    std::filesystem::create_directories(dir);
    const Bytes known = Shared(kBoot).image;
    const Bytes other = FullDisk(2);
    for (int i = 0; i < kFolderImages; ++i) {
      const auto path = dir / ("image" + std::to_string(i) + ".adf");
      if (std::filesystem::exists(path)) continue;
      std::ofstream out(path, std::ios::binary);
      const Bytes& bytes = i % 2 ? other : known;
      out.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
    }
    return dir;
  }();
  return folder;
}

// A folder of sparse images, each its own disk; the even ones are known to
// the "files only" and "whole image" databases.
const std::filesystem::path& SparseFolder() {
  static std::filesystem::path folder = [] {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "moswit-bench-sparse";
    std::filesystem::create_directories(dir);
    for (int i = 0; i < kSparseImages; ++i) {
      const auto path = dir / ("sparse" + std::to_string(i) + ".adf");
      if (std::filesystem::exists(path)) continue;
      const Bytes bytes = SparseDisk(static_cast<uint32_t>(i));
      std::ofstream out(path, std::ios::binary);
      out.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
    }
    return dir;
  }();
  return folder;
}

enum ScanFolder { kFullFolder = 0, kSparseFolder = 1 };

const std::filesystem::path& FolderOf(int folder) {
  return folder == kSparseFolder ? SparseFolder() : Folder();
}

// The images the larger databases know: the known full disk and the even
// sparse ones.
std::vector<Bytes> KnownImages() {
  std::vector<Bytes> known = {Shared(kBoot).image};
  for (int i = 0; i < kSparseImages; i += 2) known.push_back(SparseDisk(static_cast<uint32_t>(i)));
  return known;
}

void DescribeFiles(moswit::DiskRecord& disk, const Bytes& image) {
  const moswit::ImagePtr adf = moswit::LoadImageFromMemory("known.adf", image.data(), image.size());
  for (const moswit::FileEntry& file : moswit::ListFiles(*adf, moswit::ImageIsFfs(*adf))) {
    moswit::FileRecord& r = moswit::AppendFile(disk);
    r.path = file.Path;
    r.size = file.Size;
    r.crc32 = file.Crc;
    r.attributes = moswit::kAttrGame;
  }
}

// 20,000 games of one disk known by its files, a few to forty each; the
// known images' disks spread among them.
std::unique_ptr<moswit::DatabaseInfo> FilesOnlyDatabase() {
  const std::vector<Bytes> known = KnownImages();
  const uint32_t every = kFilesOnlyGames / static_cast<uint32_t>(known.size());
  moswit::test::DidBuilder db;
  uint32_t x = 4242;
  for (uint32_t g = 0; g < kFilesOnlyGames; ++g) {
    moswit::GameRecord& game = db.Game("Files " + std::to_string(g));
    db.Version(game, {1});
    moswit::DiskRecord& disk = db.Disk(game, "Disk");
    if (g % every == 0 && g / every < known.size()) {
      DescribeFiles(disk, known[g / every]);
      continue;
    }
    for (uint32_t i = 0, n = 2 + Next(x) % 39; i < n; ++i) {
      moswit::FileRecord& r = moswit::AppendFile(disk);
      r.path = "/file" + std::to_string(i);
      r.crc32 = Next(x);
      r.size = 100 + Next(x) % 60'000;
      r.attributes = moswit::kAttrGame;
    }
  }
  return db.Take();
}

// 25,000 disks known only by a range over the whole image, as a DAT's dumps
// are imported: a game per title with one to three disks, each disk named
// as its dump, no versions, the range without attributes.
std::unique_ptr<moswit::DatabaseInfo> WholeImageDatabase() {
  std::vector<uint32_t> knownCrcs;
  for (const Bytes& image : KnownImages()) knownCrcs.push_back(moswit::Crc32(image));
  const uint32_t every = kWholeImageDisks / static_cast<uint32_t>(knownCrcs.size());
  moswit::test::DidBuilder db;
  uint32_t x = 777;
  for (uint32_t d = 0; d < kWholeImageDisks;) {
    const std::string title = "Title " + std::to_string(d) + " (1990)(Maker)";
    moswit::GameRecord& game = db.Game(title);
    const uint32_t disks = std::min(1 + Next(x) % 3, kWholeImageDisks - d);
    for (uint32_t k = 1; k <= disks; ++k, ++d) {
      const std::string name =
          disks == 1 ? title
                     : title + "(Disk " + std::to_string(k) + " of " + std::to_string(disks) + ")";
      moswit::RangeRecord& range = moswit::AppendRange(db.Disk(game, name));
      range.firstByte = 0;
      range.lastByte = kWholeImageSize - 1;
      range.crc32 = d % every == 0 && d / every < knownCrcs.size() ? knownCrcs[d / every] : Next(x);
      range.attributes = 0;
    }
  }
  return db.Take();
}

// A database the size of the samples' one: two games, three disks of four
// files.
std::unique_ptr<moswit::DatabaseInfo> SamplesDatabase() {
  moswit::test::DidBuilder db;
  moswit::GameRecord& quest = db.Game("Sample Quest", "Moswit Samples");
  db.Version(quest, {1, 2});
  moswit::GameRecord& racer = db.Game("Demo Racer", "Moswit Samples");
  db.Version(racer, {1});
  uint32_t seed = 10;
  for (moswit::DiskRecord* disk :
       {&db.Disk(quest, "Quest1"), &db.Disk(quest, "Quest2"), &db.Disk(racer, "Racer")}) {
    for (const char* path : {"/s/startup-sequence", "/main", "/gfx/tiles.iff", "/music.mod"}) {
      const Bytes contents = moswit::test::PatternBytes(5'000 + seed * 100, seed);
      moswit::FileRecord& r = moswit::AppendFile(*disk);
      r.path = path;
      r.size = static_cast<uint32_t>(contents.size());
      r.crc32 = moswit::Crc32(contents);
      r.attributes = moswit::kAttrGame;
      ++seed;
    }
  }
  return db.Take();
}

enum ScanDatabase { kFilesOnly = 0, kWholeImage = 1, kSamples = 2 };

const moswit::DatabaseInfo& ScanDatabaseOf(int which) {
  static const std::unique_ptr<moswit::DatabaseInfo> databases[] = {
      FilesOnlyDatabase(), WholeImageDatabase(), SamplesDatabase()};
  return *databases[which];
}

class NullReport : public moswit::ScanReport {
 public:
  void Status(const std::string&) override {}
  void RowsCleared() override {}
  void RowsListed(const std::vector<moswit::ImageRow>&) override {}
  void RowResult(size_t, const std::string& line, bool) override {
    ++rows;
    if (line != moswit::kUnidentified) ++identified;
  }
  size_t rows = 0;
  size_t identified = 0;
};

// The two baselines of a folder scan, both on one thread: reading each
// image once into one buffer, and reading it with one CRC-32 over it, what
// any whole-file checker must do.
void ReadEachFile(benchmark::State& state, bool crc) {
  const auto& dir = FolderOf(static_cast<int>(state.range(0)));
  const int images = state.range(0) == kSparseFolder ? kSparseImages : kFolderImages;
  std::vector<char> buffer(1 << 20);
  for (auto _ : state) {
    uint32_t sum = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      std::FILE* file = std::fopen(entry.path().c_str(), "rb");
      if (!file) continue;
      uint32_t value;
      moswit::CrcInit(value);
      size_t got;
      while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) {
        if (crc) moswit::CrcUpdate(value, buffer.data(), got);
        sum += static_cast<uint8_t>(buffer[got - 1]);
      }
      std::fclose(file);
      moswit::CrcFinal(value);
      sum += value;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["images_per_second"] =
      benchmark::Counter(images, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ReadEachFile(benchmark::State& state) { ReadEachFile(state, false); }
BENCHMARK(BM_ReadEachFile)
    ->ArgName("sparse")
    ->Arg(kFullFolder)
    ->Arg(kSparseFolder)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

void BM_ReadAndCrcEachFile(benchmark::State& state) { ReadEachFile(state, true); }
BENCHMARK(BM_ReadAndCrcEachFile)
    ->ArgName("sparse")
    ->Arg(kFullFolder)
    ->Arg(kSparseFolder)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

// Loading each image as a scan does (a buffer of its own per image), for
// the share of a scan that is reading.
void BM_LoadEachImage(benchmark::State& state) {
  const auto& dir = Folder();
  for (auto _ : state) {
    size_t sum = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      moswit::ImagePtr image = moswit::LoadImage(entry.path().string());
      if (image) sum += image->Data[image->Size - 1];
      moswit::FreeImage(image);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["images_per_second"] =
      benchmark::Counter(kFolderImages, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LoadEachImage)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// A whole scan; the second argument is the number of workers (0: one per core).
void BM_ScanFolder(benchmark::State& state) {
  const auto& dir = Folder();
  const Fixture& f = Shared(static_cast<Shape>(state.range(0)));
  const auto jobs = static_cast<size_t>(state.range(1));
  for (auto _ : state) {
    NullReport report;
    moswit::RunScan(*f.database, dir.string(), report, nullptr, jobs);
    if (report.rows != kFolderImages) state.SkipWithError("not every image was scanned");
  }
  state.counters["images_per_second"] =
      benchmark::Counter(kFolderImages, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ScanFolder)
    ->ArgNames({"spread", "jobs"})
    ->ArgsProduct({{kBoot, kSpread}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

// A whole scan on one worker per core with one of the three databases
// above; its building is not timed, the index's is, as part of the scan.
void BM_ScanWith(benchmark::State& state) {
  const moswit::DatabaseInfo& database = ScanDatabaseOf(static_cast<int>(state.range(0)));
  const auto folder = static_cast<int>(state.range(1));
  const auto& dir = FolderOf(folder);
  const int images = folder == kSparseFolder ? kSparseImages : kFolderImages;
  size_t identified = 0;
  for (auto _ : state) {
    NullReport report;
    moswit::RunScan(database, dir.string(), report, nullptr, 0);
    if (report.rows != static_cast<size_t>(images)) state.SkipWithError("not every image scanned");
    identified = report.identified;
  }
  state.counters["identified"] = static_cast<double>(identified);
  state.counters["images_per_second"] =
      benchmark::Counter(images, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ScanWith)
    ->ArgNames({"database", "sparse"})
    ->Args({kFilesOnly, kSparseFolder})
    ->Args({kWholeImage, kSparseFolder})
    ->Args({kSamples, kSparseFolder})
    ->Args({kWholeImage, kFullFolder})
    ->Args({kSamples, kFullFolder})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  moswit::bench::RecordingReporter reporter;
  if (!moswit::bench::RunRecorded(argc, argv, reporter)) return 1;

  const char* shapes[] = {"boot", "spread"};
  const double floor = reporter.Time("BM_TwoCrcPasses");
  // The folder runs read files and use several threads, so they are
  // compared by wall-clock time.
  const double read = reporter.Time("BM_ReadEachFile/sparse:0/iterations:3/real_time", true);
  const double readCrc =
      reporter.Time("BM_ReadAndCrcEachFile/sparse:0/iterations:3/real_time", true);
  for (int shape = 0; shape < 2; ++shape) {
    const std::string arg = "spread:" + std::to_string(shape);
    const double identify = reporter.Time("BM_IdentifyImage/" + arg);
    const double pass = reporter.Time("BM_BlockCrcPass/" + arg);
    if (identify > 0 && floor > 0) {
      std::printf(
          "%s: IdentifyImage / two CRC passes: %.2f (goal: at most 0.75), its block CRC pass "
          "alone: %.2f\n",
          shapes[shape], identify / floor, pass / floor);
    }
    for (const char* jobs : {"1", "0"}) {
      const double scan =
          reporter.Time("BM_ScanFolder/" + arg + "/jobs:" + jobs + "/iterations:3/real_time", true);
      if (scan <= 0 || read <= 0 || readCrc <= 0) continue;
      const std::string workers =
          std::string(jobs) == "0" ? std::to_string(moswit::DefaultScanJobs()) + " (default)" : "1";
      std::printf(
          "%s, %s worker(s): scan speed / read-once speed: %.2f (goal: at least 1.00 by default)"
          ", / read-and-CRC speed: %.2f\n",
          shapes[shape], workers.c_str(), read / scan, readCrc / scan);
    }
  }

  const auto scanWith = [&reporter](int database, int folder) {
    return reporter.Time("BM_ScanWith/database:" + std::to_string(database) +
                             "/sparse:" + std::to_string(folder) + "/iterations:3/real_time",
                         true);
  };
  const double readSparse = reporter.Time("BM_ReadEachFile/sparse:1/iterations:3/real_time", true);
  if (const double scan = scanWith(kFilesOnly, kSparseFolder); scan > 0 && readSparse > 0) {
    std::printf("files only, sparse disks: scan speed / read-once speed: %.2f\n",
                readSparse / scan);
  }
  const char* folders[] = {"full", "sparse"};
  for (int folder : {kSparseFolder, kFullFolder}) {
    const double whole = scanWith(kWholeImage, folder);
    const double samples = scanWith(kSamples, folder);
    const double readCrcFolder = reporter.Time(
        "BM_ReadAndCrcEachFile/sparse:" + std::to_string(folder) + "/iterations:3/real_time", true);
    if (whole > 0 && samples > 0 && readCrcFolder > 0) {
      // A whole-image range needs the CRC of every byte: reading each image
      // with one CRC-32 is the floor of such a scan.
      std::printf(
          "%s disks: scan with the whole-image database / with the samples' one: %.2f "
          "(goal: at most 1.10), / read-and-CRC: %.2f\n",
          folders[folder], whole / samples, whole / readCrcFolder);
    }
  }
  return 0;
}
