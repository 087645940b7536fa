// SPDX-License-Identifier: GPL-2.0-or-later
// The DID Editor window on a full collection (collection.h, five files per
// disk) written to a DID file: opening it (reading the file, filling the
// tree, showing the window) and the refresh when the window becomes active
// after an editor closed (filling the tree anew, selecting the edited game
// in the middle of the tree); and opening the DID imported from a DAT of
// 24,879 ROMs (datfile.h), whose time it prints at the end. Runs on Qt's
// offscreen platform unless QT_QPA_PLATFORM names another.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTreeView>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "collection.h"
#include "dat/datimport.h"
#include "database/didwriter.h"
#include "datfile.h"
#include "editors/window/databaseeditwindow.h"
#include "editors/window/gameeditwindow.h"
#include "gui/editorregistry.h"
#include "recordingreporter.h"

namespace {

using namespace moswit;

constexpr unsigned kFilesPerDisk = 5;

const std::string& CollectionFile() {
  static const std::string path = [] {
    const auto file = std::filesystem::temp_directory_path() / "moswit_didwindow_bench.did";
    if (WriteDatabase(*bench::FullCollection(kFilesPerDisk), file)) std::abort();
    return file.string();
  }();
  return path;
}

std::filesystem::path ImportedPath() {
  return std::filesystem::temp_directory_path() / "moswit_didwindow_imported.did";
}

// The DID import-dat makes of the large DAT.
const std::string& ImportedFile() {
  static const std::string path = [] {
    const std::filesystem::path file = ImportedPath();
    auto database = CreateDatabase(file.string());
    DatImport import(*database);
    if (ParseDat(bench::LargeDat(), [&import](const DatRom& rom) { import.Add(rom); })) {
      std::abort();
    }
    import.MoveInto(*database);
    if (WriteDatabase(*database, file)) std::abort();
    return file.string();
  }();
  return path;
}

void Open(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    auto* window = new TF_DatabaseEdit({path, false});
    window->show();
    QApplication::processEvents();
    state.PauseTiming();
    benchmark::DoNotOptimize(window->Tree().games.size());
    delete window;
    state.ResumeTiming();
  }
}

void BM_ActivationRefresh(benchmark::State& state) {
  EditorTables().Clear();
  TF_DatabaseEdit window({CollectionFile(), false});
  window.show();
  QApplication::processEvents();
  auto* tree = window.findChild<QTreeView*>("TV_Records");
  auto* edit = window.findChild<QPushButton*>("B_Edit");
  const QModelIndex middle = tree->model()->index(bench::kGames / 2, 0);
  for (auto _ : state) {
    // An editor opens on a game and closes.
    state.PauseTiming();
    tree->selectionModel()->select(middle, QItemSelectionModel::ClearAndSelect);
    edit->click();
    window.findChild<TF_GameEdit*>()->findChild<QPushButton*>("B_Cancel")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
    window.FormActivate();
    QApplication::processEvents();
  }
  if (tree->selectionModel()->selectedRows().value(0) != middle) state.SkipWithError("no focus");
}

void BM_OpenDidEditor(benchmark::State& state) { Open(state, CollectionFile()); }
void BM_OpenImportedDid(benchmark::State& state) { Open(state, ImportedFile()); }

BENCHMARK(BM_OpenDidEditor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_ActivationRefresh)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_OpenImportedDid)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  // Sort as the window does: with the user's collation.
  std::setlocale(LC_COLLATE, "");
  moswit::bench::RecordingReporter reporter;
  if (!moswit::bench::RunRecorded(argc, argv, reporter)) return 1;
  const double imported = reporter.Time("BM_OpenImportedDid/iterations:5/real_time", true);
  if (imported > 0) {
    std::printf("opening the DID of %u imported ROMs: %.0f ms (goal: under 1000 ms)\n",
                bench::kDatRoms, imported);
  }
  std::filesystem::remove(CollectionFile());
  std::filesystem::remove(ImportedPath());
  return 0;
}
