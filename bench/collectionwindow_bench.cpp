// SPDX-License-Identifier: GPL-2.0-or-later
// The Collection window on a DID of 25,000 disks (12,500 games of two
// disks) after a scan of 21,000 images: opening it as the Renamer does
// (building the report, making the window, filling and opening the tree,
// showing it), and narrowing it by a filter text. Prints the opening time
// at the end. Runs on Qt's offscreen platform unless QT_QPA_PLATFORM names
// another.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <cstdio>
#include <memory>

#include "base/numbertext.h"
#include "collection/window/collectionmodel.h"
#include "collection/window/collectionwindow.h"
#include "recordingreporter.h"

namespace {

using namespace moswit;

constexpr unsigned kGames = 12'500;
constexpr unsigned kDisksPerGame = 2;
constexpr unsigned kUnknown = 1'000;

struct Collection {
  std::unique_ptr<DatabaseInfo> database;
  ScanOutcomes outcomes;
};

// Of every five disks three are had, one is partial and one missing; the
// images come in a different order than the disks, and a thousand name no
// disk.
const Collection& LargeCollection() {
  static const Collection collection = [] {
    Collection made;
    made.database = CreateDatabase("collection.did");
    for (unsigned g = 0; g < kGames; ++g) {
      GameRecord& game = AppendGame(*made.database);
      game.name = "Game " + IntToDec(g * 7919 % 100'000);
      game.publisher = "Publisher " + IntToDec(g % 700);
      VersionRecord& version = AppendVersion(game);
      for (unsigned d = 0; d < kDisksPerGame; ++d) {
        AppendDisk(game).name = "Disk" + IntToDec(d + 1);
        version.diskOrder[d] = static_cast<uint8_t>(d + 1);
      }
    }
    std::vector<GameMatch> filled;
    for (const GameRecord& game : made.database->games) {
      for (const DiskRecord& disk : game.disks) {
        const size_t n = filled.size() + 1;
        if (n % 5 == 0) continue;
        const bool partial = n % 5 == 4;
        filled.push_back({&game, &disk, partial ? 950u : 1000u, partial ? "[mm1]" : "", 0});
        filled.back().differences = partial ? 1 : 0;
      }
    }
    for (size_t i = 0; i < filled.size() + kUnknown; ++i) {
      ImageOutcome& image = made.outcomes.images.emplace_back();
      image.relative = "images/" + IntToDec(static_cast<uint32_t>(i)) + ".adf";
      image.path = "/collection/" + image.relative;
      std::vector<GameMatch> line;
      if (i < filled.size()) line.push_back(filled[(i * 7) % filled.size()]);
      AddLine(made.outcomes, i, line);
    }
    return made;
  }();
  return collection;
}

void BM_OpenCollection(benchmark::State& state) {
  const Collection& collection = LargeCollection();
  for (auto _ : state) {
    state.PauseTiming();
    ScanOutcomes outcomes = collection.outcomes;
    state.ResumeTiming();
    auto* window = new TF_Collection(*collection.database);
    window->SetReport(BuildCollectionReport(*collection.database, std::move(outcomes)),
                      {"/collection/", "/target/"});
    window->show();
    QApplication::processEvents();
    state.PauseTiming();
    if (window->Model().Tree().ShownDisks() != kGames * kDisksPerGame) {
      state.SkipWithError("disks left out");
    }
    delete window;
    state.ResumeTiming();
  }
}

// Typing a name: every disk's keys searched, the tree filled and opened anew.
void BM_FilterCollection(benchmark::State& state) {
  const Collection& collection = LargeCollection();
  TF_Collection window(*collection.database);
  window.SetReport(BuildCollectionReport(*collection.database, collection.outcomes), {});
  window.show();
  QApplication::processEvents();
  auto* filter = window.findChild<QLineEdit*>("ED_Filter");
  for (auto _ : state) {
    filter->setText("game 12");
    QApplication::processEvents();
    state.PauseTiming();
    filter->clear();
    QApplication::processEvents();
    state.ResumeTiming();
  }
}

BENCHMARK(BM_OpenCollection)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_FilterCollection)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  moswit::bench::RecordingReporter reporter;
  if (!moswit::bench::RunRecorded(argc, argv, reporter)) return 1;
  const double opening = reporter.Time("BM_OpenCollection/iterations:5/real_time", true);
  if (opening > 0) {
    std::printf("opening the Collection window on %u disks: %.0f ms (goal: under 1000 ms)\n",
                kGames * kDisksPerGame, opening);
  }
  return 0;
}
