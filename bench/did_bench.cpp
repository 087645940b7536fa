// SPDX-License-Identifier: GPL-2.0-or-later
// DID reading and writing on a collector-sized database: 50,000 games with
// a version and two disks each and 500,000 file records in all. Throughput
// is counted in bytes of the DID file; the memory counters are heap bytes
// divided by the file's size: the peak while reading (file text and tree
// together) and the tree alone once read.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

#include "base/numbertext.h"
#include "database/didreader.h"
#include "database/didwriter.h"

namespace {

std::atomic<size_t> liveBytes{0};
std::atomic<size_t> peakBytes{0};

void Count(void* p) {
  size_t live = liveBytes += malloc_usable_size(p);
  size_t peak = peakBytes.load();
  while (live > peak && !peakBytes.compare_exchange_weak(peak, live)) {
  }
}

}  // namespace

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  Count(p);
  return p;
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* p) noexcept {
  if (p == nullptr) return;
  liveBytes -= malloc_usable_size(p);
  std::free(p);
}
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, size_t) noexcept { operator delete(p); }
void operator delete[](void* p, size_t) noexcept { operator delete(p); }
#pragma GCC diagnostic pop

namespace {

using namespace moswit;

constexpr unsigned kGames = 50000;
constexpr unsigned kFilesPerDisk = 5;

const char* const kFolders[] = {"", "/c", "/s", "/libs", "/devs", "/data", "/gfx", "/sfx"};

std::unique_ptr<DatabaseInfo> CollectorDatabase() {
  auto database = CreateDatabase("collection.did");
  uint32_t n = 1;
  auto next = [&n] { return n = n * 1664525u + 1013904223u; };
  for (unsigned g = 0; g < kGames; ++g) {
    GameRecord& game = AppendGame(*database);
    game.name = "Game Title Number " + IntToDec(g);
    game.publisher = "Publisher " + IntToDec(g % 700);
    game.releaseDate = {static_cast<uint16_t>(1985 + g % 15), static_cast<uint8_t>(1 + g % 12), 0};
    if (g % 3 == 0) game.developer = "Team " + IntToDec(g % 90);
    VersionRecord& version = AppendVersion(game);
    version.diskOrder[0] = 1;
    version.diskOrder[1] = 2;
    if (g % 4 == 0) version.crackedBy = "Group " + IntToDec(g % 40);
    if (g % 5 == 0) version.languages = kLangEn | kLangDe;
    for (unsigned d = 0; d < 2; ++d) {
      DiskRecord& disk = AppendDisk(game);
      disk.name = "Disk" + IntToDec(d + 1);
      for (unsigned f = 0; f < kFilesPerDisk; ++f) {
        FileRecord& file = AppendFile(disk);
        uint32_t r = next();
        file.path = std::string(kFolders[r % 8]) + "/file" + IntToDec(r % 100000);
        if (f == 0) file.description = "main program";
        file.size = next() % 300000;
        file.crc32 = next();
        file.attributes = f == 0 ? kAttrBoot | kAttrCode : kAttrGame | kAttrGraphics;
      }
    }
  }
  return database;
}

struct Fixture {
  std::filesystem::path folder;
  std::filesystem::path path;
  std::unique_ptr<DatabaseInfo> database;
  size_t fileBytes = 0;

  Fixture() {
    folder = std::filesystem::temp_directory_path() / "moswit-did-bench";
    std::filesystem::create_directories(folder);
    path = folder / "collection.did";
    database = CollectorDatabase();
    if (const auto error = WriteDatabase(*database, path)) {
      std::fprintf(stderr, "%s\n", FormatFileError(*error).c_str());
      std::exit(1);
    }
    fileBytes = static_cast<size_t>(std::filesystem::file_size(path));
  }
  ~Fixture() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_ReadDid(benchmark::State& state) {
  Fixture& fixture = Shared();
  double peakRatio = 0;
  double treeRatio = 0;
  for (auto _ : state) {
    size_t before = liveBytes.load();
    peakBytes = before;
    DidReadResult result = ReadDatabase(fixture.path);
    if (!result.database) state.SkipWithError(FormatFileError(result.error).c_str());
    peakRatio =
        static_cast<double>(peakBytes.load() - before) / static_cast<double>(fixture.fileBytes);
    treeRatio =
        static_cast<double>(liveBytes.load() - before) / static_cast<double>(fixture.fileBytes);
    benchmark::DoNotOptimize(result.database.get());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(fixture.fileBytes));
  state.counters["file_MB"] = static_cast<double>(fixture.fileBytes) / 1e6;
  state.counters["peak_ratio"] = peakRatio;
  state.counters["tree_ratio"] = treeRatio;
}

void BM_WriteDid(benchmark::State& state) {
  Fixture& fixture = Shared();
  std::filesystem::path target = fixture.folder / "written.did";
  for (auto _ : state) {
    if (const auto error = WriteDatabase(*fixture.database, target)) {
      state.SkipWithError(FormatFileError(*error).c_str());
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(fixture.fileBytes));
}

// The text alone, without the file system.
void BM_FormatDid(benchmark::State& state) {
  Fixture& fixture = Shared();
  for (auto _ : state) {
    std::string text = FormatDatabase(*fixture.database);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(fixture.fileBytes));
}

BENCHMARK(BM_ReadDid)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteDid)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FormatDid)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
