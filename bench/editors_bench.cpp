// The DID Editor's tree fill on a full collection: 20,000 games with one or
// two versions and three disks each (60,000 disks). Every text is built and
// the games are sorted with the collation of the environment's locale, as
// the window does on opening and after every editor closes.

#include <benchmark/benchmark.h>

#include <clocale>
#include <memory>
#include <string>

#include "database/records.h"
#include "editors/recordtree.h"
#include "image/numbertext.h"

namespace {

using namespace moswit;

constexpr unsigned kGames = 20000;
constexpr unsigned kDisksPerGame = 3;

const char* const kTitles[] = {"The ",       "Super ", "",       "Lost ",
                               "Return of ", "",       "Space ", "Ultimate "};

std::unique_ptr<DatabaseInfo> FullCollection() {
  auto database = CreateDatabase("collection.did");
  uint32_t n = 7;
  auto next = [&n] { return n = n * 1664525u + 1013904223u; };
  for (unsigned g = 0; g < kGames; ++g) {
    GameRecord& game = AppendGame(*database);
    // Titles out of order and of mixed case, so the sort has work to do.
    game.name =
        std::string(kTitles[next() % 8]) + (g % 2 ? "game " : "Game ") + IntToDec(next() % 100000);
    game.publisher = "Publisher " + IntToDec(g % 700);
    game.releaseDate = {static_cast<uint16_t>(1985 + g % 15), static_cast<uint8_t>(1 + g % 12), 0};
    if (g % 10 == 0) game.comment = "needs checking";
    for (unsigned d = 0; d < kDisksPerGame; ++d) {
      DiskRecord& disk = AppendDisk(game);
      disk.name = "Disk" + IntToDec(d + 1);
    }
    VersionRecord& first = AppendVersion(game);
    first.diskOrder[0] = 1;
    first.diskOrder[1] = 2;
    if (g % 4 == 0) first.crackedBy = "Group " + IntToDec(g % 40);
    if (g % 5 == 0) first.languages = kLangEn | kLangDe;
    if (g % 2 == 0) {
      VersionRecord& second = AppendVersion(game);
      second.diskOrder[0] = 1;
      second.diskOrder[1] = 3;
      second.trainer = 5;
      second.trainedBy = "Trainer " + IntToDec(g % 30);
    }
  }
  return database;
}

void BM_FillRecordTree(benchmark::State& state) {
  static std::unique_ptr<DatabaseInfo> database = FullCollection();
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
