// SPDX-License-Identifier: GPL-2.0-or-later
// Importing a DAT the size of the ten Amiga ADF DATs (datfile.h) as
// import-dat does: reading the DAT into a database, beside reading the DID
// it makes into one; the XML read alone; and writing that DID, as
// import-dat and mkdid do alike (to a temporary file, synced, then
// renamed). Prints the ratios to reading the DID at the end, in wall-clock
// and in CPU time.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "dat/datimport.h"
#include "database/didreader.h"
#include "database/didwriter.h"
#include "datfile.h"
#include "recordingreporter.h"

namespace {

namespace fs = std::filesystem;
using namespace moswit;

struct Files {
  fs::path dat = fs::temp_directory_path() / "moswit_dat_bench.dat";
  fs::path did = fs::temp_directory_path() / "moswit_dat_bench.did";
};

const Files& Shared() {
  static const Files files = [] {
    Files made;
    std::ofstream(made.dat, std::ios::binary) << bench::LargeDat();
    return made;
  }();
  return files;
}

// What import-dat makes of the DAT before it writes.
std::unique_ptr<DatabaseInfo> Import(const fs::path& dat, const fs::path& did) {
  auto database = CreateDatabase(did.string());
  DatImport import(*database);
  if (import.Read(dat.string()) || import.Counts().disks != bench::kDatRoms) std::abort();
  import.MoveInto(*database);
  return database;
}

void BM_ImportDat(benchmark::State& state) {
  const Files& files = Shared();
  for (auto _ : state) benchmark::DoNotOptimize(Import(files.dat, files.did));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fs::file_size(files.dat)));
}

// The XML read alone, every ROM handed to nothing: what pugixml and the
// walk over its tree take.
void BM_ReadDatOnly(benchmark::State& state) {
  const Files& files = Shared();
  for (auto _ : state) {
    if (ReadDatFile(files.dat.string(), [](const DatRom& rom) { benchmark::DoNotOptimize(rom); }))
      std::abort();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fs::file_size(files.dat)));
}

void BM_ReadDid(benchmark::State& state) {
  const Files& files = Shared();
  if (WriteDatabase(*Import(files.dat, files.did), files.did)) std::abort();
  for (auto _ : state) {
    DidReadResult read = ReadDatabase(files.did);
    if (!read.database) std::abort();
    benchmark::DoNotOptimize(read.database->games.Size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fs::file_size(files.did)));
}

void BM_WriteDid(benchmark::State& state) {
  const Files& files = Shared();
  const auto database = Import(files.dat, files.did);
  for (auto _ : state) {
    if (WriteDatabase(*database, files.did)) std::abort();
  }
}

BENCHMARK(BM_ImportDat)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_ReadDatOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_ReadDid)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_WriteDid)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
  moswit::bench::RecordingReporter reporter;
  if (!moswit::bench::RunRecorded(argc, argv, reporter)) return 1;
  for (const bool wallClock : {true, false}) {
    const auto time = [&](const char* name) {
      return reporter.Time(std::string(name) + "/iterations:10/real_time", wallClock);
    };
    const double read = time("BM_ReadDid");
    if (read <= 0) continue;
    const char* clock = wallClock ? "wall-clock" : "CPU";
    if (const double import = time("BM_ImportDat"); import > 0) {
      std::printf("importing %u ROMs / reading the DID it makes, %s: %.2f (goal: at most 3)\n",
                  bench::kDatRoms, clock, import / read);
    }
    if (const double xml = time("BM_ReadDatOnly"); xml > 0) {
      std::printf("of which the XML alone / reading the DID, %s: %.2f\n", clock, xml / read);
    }
  }
  fs::remove(Shared().dat);
  fs::remove(Shared().did);
  return 0;
}
