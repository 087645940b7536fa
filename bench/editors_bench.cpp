// SPDX-License-Identifier: GPL-2.0-or-later
// The DID Editor's tree fill on a full collection (collection.h). Every
// text is built and the games are sorted with the collation of the
// environment's locale, as the window does on opening and after every editor
// closes.

#include <benchmark/benchmark.h>

#include <clocale>
#include <memory>
#include <string>

#include "collection.h"
#include "editors/recordtree.h"

namespace {

using namespace moswit;

void BM_FillRecordTree(benchmark::State& state) {
  static std::unique_ptr<DatabaseInfo> database = bench::FullCollection();
  size_t nodes = 0;
  for (auto _ : state) {
    RecordTree tree = FillRecordTree(*database);
    nodes = tree.games.size() + tree.counts.versions + tree.counts.disks;
    benchmark::DoNotOptimize(tree.games.data());
  }
  state.counters["nodes"] = static_cast<double>(nodes);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(nodes));
}

BENCHMARK(BM_FillRecordTree)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  // Sort as the window does: with the user's collation.
  std::setlocale(LC_COLLATE, "");
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
