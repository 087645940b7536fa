// SPDX-License-Identifier: GPL-2.0-or-later
// Renders each window of Moswit to a PNG: the main window on the sample
// folder, the About box, a Renamer after a finished scan of the sample
// images and the Collection window on its damaged copies, an Inspector with a Hex Viewer
// and its map enlarged, a Compare of two samples, the DID Editor on the
// sample database with a Game, a Version, a Disk and a File editor, and a
// new disk that got the files of an Inspector, with the File editor of one
// of them.
// Usage: moswit-screenshots OUTDIR SAMPLEDIR (run on any Qt platform;
// scripts/screenshots.sh uses the offscreen one).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QTreeWidget>
#include <QWidget>
#include <algorithm>
#include <cstdio>

#include "app/window/aboutdialog.h"
#include "app/window/mainwindow.h"
#include "collection/window/collectionwindow.h"
#include "compare/window/comparedialog.h"
#include "editors/window/databaseeditwindow.h"
#include "inspector/blockmaplayout.h"
#include "inspector/window/inspectorwindow.h"
#include "scan/window/renamerwindow.h"

namespace {

void Settle(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool Save(QWidget& window, const QDir& folder, const char* name) {
  const QString path = folder.filePath(name);
  if (!window.grab().save(path)) {
    std::fprintf(stderr, "moswit-screenshots: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

// The DID Editor on the sample database with a disk selected, the Game
// editor of that game and the Version editor of a new version of it.
bool SaveDidEditor(QWidget& main, const QDir& samples, const QDir& out) {
  auto* editor =
      new moswit::TF_DatabaseEdit({samples.filePath("sample.did").toStdString(), false}, &main);
  editor->show();
  auto* tree = editor->findChild<QTreeView*>("TV_Records");
  auto* edit = editor->findChild<QPushButton*>("B_Edit");
  const QModelIndex game = tree->model()->index(1, 0);
  const auto select = [tree](const QModelIndex& index) {
    tree->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
  };
  select(game);
  edit->click();
  // A new version shows the editor's defaults, greyed boxes among them.
  editor->findChild<QPushButton*>("B_NewVersion")->click();
  QWidget* gameEditor = editor->findChild<QWidget*>("TF_GameEdit");
  QWidget* versionEditor = editor->findChild<QWidget*>("TF_VersionEdit");
  tree->expand(game);
  select(tree->model()->index(2, 0, game));
  tree->setFocus();
  Settle(100);
  if (!gameEditor || !versionEditor || !Save(*editor, out, "dideditor.png") ||
      !Save(*gameEditor, out, "gameeditor.png") ||
      !Save(*versionEditor, out, "versioneditor.png")) {
    return false;
  }
  // The Disk editor of the selected disk, and a File editor on two of its
  // files at once: the boxes where they differ show greyed.
  edit->click();
  QWidget* diskEditor = editor->findChild<QWidget*>("TF_DiskEdit");
  if (!diskEditor) return false;
  auto* files = diskEditor->findChild<QTreeWidget*>("FR_FileList");
  for (int i = 0; i < files->topLevelItemCount(); ++i) {
    QTreeWidgetItem* row = files->topLevelItem(i);
    row->setSelected(row->text(0) == "/quest" || row->text(0) == "/s/startup-sequence");
  }
  diskEditor->findChild<QPushButton*>("FR_Edit")->click();
  QWidget* fileEditor = diskEditor->findChild<QWidget*>("TF_FileEdit");
  files->setFocus();
  Settle(100);
  return fileEditor && Save(*diskEditor, out, "diskeditor.png") &&
         Save(*fileEditor, out, "fileeditor.png");
}

// A new database (never written) with a game, a version and a disk whose
// Disk editor got every file of the sample disk from an Inspector: the
// hand-over menu, the Disk editor with the preset attributes, and the File
// editor of /c/run.
bool SaveHandOver(QWidget& main, const QDir& samples, const QDir& out) {
  moswit::FileError error;
  moswit::TDI_Inspector* inspector =
      moswit::TDI_Inspector::Open({samples.filePath("sample.adf").toStdString()}, error);
  QTemporaryDir folder;
  if (!inspector || !folder.isValid()) return false;
  inspector->show();
  auto* editor =
      new moswit::TF_DatabaseEdit({folder.filePath("mine.did").toStdString(), true}, &main);
  editor->show();
  auto* tree = editor->findChild<QTreeView*>("TV_Records");
  const auto selectGame = [editor, tree] {
    editor->FormActivate();
    tree->selectionModel()->select(tree->model()->index(0, 0), QItemSelectionModel::ClearAndSelect);
  };
  editor->findChild<QPushButton*>("B_NewGame")->click();
  auto* gameEditor = editor->findChild<QWidget*>("TF_GameEdit");
  if (!gameEditor) return false;
  gameEditor->findChild<QLineEdit*>("ED_Name")->setText("Sample Game");
  gameEditor->findChild<QLineEdit*>("ED_RelYear")->setText("1993");
  gameEditor->findChild<QPushButton*>("B_Okay")->click();
  selectGame();
  editor->findChild<QPushButton*>("B_NewVersion")->click();
  auto* versionEditor = editor->findChild<QWidget*>("TF_VersionEdit");
  if (!versionEditor) return false;
  versionEditor->findChild<QLineEdit*>("ED_DiskOrder")->setText("1");
  versionEditor->findChild<QPushButton*>("B_Okay")->click();
  selectGame();
  editor->findChild<QPushButton*>("B_NewDisk")->click();
  auto* diskEditor = editor->findChild<QWidget*>("TF_DiskEdit");
  if (!diskEditor) return false;
  diskEditor->findChild<QLineEdit*>("ED_Name")->setText("Sample Disk");

  inspector->findChild<QTreeWidget*>("FR_FileList")->selectAll();
  inspector->FR_AddDatClick();
  auto* menu = inspector->findChild<QMenu*>("PU_AddDat");
  Settle(100);
  if (!menu || !Save(*menu, out, "addmenu.png")) return false;
  // The Disk editor of the sample database is open too: its item comes first.
  QAction* item = menu->actions().isEmpty() ? nullptr : menu->actions().back();
  if (!item || !item->text().startsWith("Sample Game")) return false;
  item->trigger();
  menu->hide();
  auto* files = diskEditor->findChild<QTreeWidget*>("FR_FileList");
  for (int i = 0; i < files->topLevelItemCount(); ++i) {
    QTreeWidgetItem* row = files->topLevelItem(i);
    row->setSelected(row->text(0) == "/c/run");
  }
  diskEditor->findChild<QPushButton*>("FR_Edit")->click();
  QWidget* fileEditor = diskEditor->findChild<QWidget*>("TF_FileEdit");
  files->setFocus();
  Settle(100);
  const bool ok = fileEditor && Save(*diskEditor, out, "handover.png") &&
                  Save(*fileEditor, out, "attributes.png");
  // Nothing is written: the editors close without storing.
  if (fileEditor) fileEditor->findChild<QPushButton*>("B_Cancel")->click();
  diskEditor->findChild<QPushButton*>("B_Cancel")->click();
  editor->findChild<QPushButton*>("B_Cancel")->click();
  inspector->close();
  Settle(100);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 3) {
    std::fputs("usage: moswit-screenshots OUTDIR SAMPLEDIR\n", stderr);
    return 2;
  }
  moswit::SetUpApplication(application);
  const QDir out(QString::fromLocal8Bit(argv[1]));
  const QDir samples(QDir(QString::fromLocal8Bit(argv[2])).absolutePath());
  if (!QDir().mkpath(out.path())) return 1;

  moswit::TForm1 main;
  // Wider than at first, so the browser shows the sample names whole.
  main.resize(560, 330);
  main.show();
  // The file system model fills its folders in the background.
  for (int pass = 0; pass < 4; ++pass) {
    main.ShowInFileBrowser(samples.filePath("renamer/Demo Racer.adf"));
    Settle(300);
  }
  bool ok = Save(main, out, "mainwindow.png");

  auto* about = new moswit::TForm2(&main);
  about->show();
  Settle(100);
  ok = Save(*about, out, "about.png") && ok;

  auto* renamer = new moswit::TF_Scan({samples.filePath("sample.did").toStdString()}, &main);
  renamer->findChild<QLineEdit*>("ED_Source")->setText(samples.filePath("renamer") + "/");
  renamer->show();
  bool ended = false;
  QObject::connect(renamer, &moswit::TF_Scan::ScanEnded, [&ended] { ended = true; });
  renamer->findChild<QPushButton*>("B_Start")->click();
  QElapsedTimer clock;
  clock.start();
  while (!ended && clock.elapsed() < 30'000) QApplication::processEvents(QEventLoop::AllEvents, 50);
  // Wide enough for the whole result lines.
  auto* results = renamer->findChild<QTreeWidget*>("LV_Results");
  int widest = 0;
  for (int i = 0; i < results->topLevelItemCount(); ++i) {
    widest = std::max(widest,
                      results->fontMetrics().horizontalAdvance(results->topLevelItem(i)->text(1)));
  }
  const int others = results->columnWidth(0) + results->columnWidth(2);
  renamer->resize(others + widest + 100, 400);
  results->setFocus();
  Settle(100);
  ok = ended && Save(*renamer, out, "renamer.png") && ok;

  // The Collection window, as the Renamer's menu opens it, on a scan of
  // the damaged copies alone: every state shows.
  renamer->findChild<QLineEdit*>("ED_Source")->setText(samples.filePath("renamer/more") + "/");
  ended = false;
  renamer->findChild<QPushButton*>("B_Start")->click();
  clock.restart();
  while (!ended && clock.elapsed() < 30'000) QApplication::processEvents(QEventLoop::AllEvents, 50);
  renamer->CollectionClick();
  if (auto* collection = renamer->findChild<moswit::TF_Collection*>()) {
    collection->resize(900, 420);
    Settle(100);
    ok = Save(*collection, out, "collection.png") && ok;
    collection->close();
  } else {
    ok = false;
  }

  // An Inspector on the sample disk: a file selected and a block clicked,
  // and a Hex Viewer on the selected file.
  moswit::FileError error;
  moswit::TDI_Inspector* inspector = moswit::TDI_Inspector::Open(
      {samples.filePath("renamer/Demo Racer.adf").toStdString()}, error);
  if (!inspector) {
    std::fprintf(stderr, "moswit-screenshots: %s\n", moswit::FormatFileError(error).c_str());
    return 1;
  }
  inspector->show();
  auto* files = inspector->findChild<QTreeWidget*>("FR_FileList");
  if (files->topLevelItemCount() > 1) files->setCurrentItem(files->topLevelItem(1));
  const moswit::BlockMapLayout& layout = inspector->Pixels().Layout();
  const moswit::PixelRect root = layout.Interior(880);
  inspector->ImgMouseMove(root.left + 1, root.top + 1);
  inspector->ImgMouseDown();
  Settle(100);
  ok = Save(*inspector, out, "inspector.png") && ok;
  // The map with its legend and sector info, twice the size.
  if (auto* map = inspector->findChild<QWidget*>("SectorMap")) {
    const QPixmap shot = map->grab();
    const QString path = out.filePath("inspector-map.png");
    if (shot.scaled(shot.size() * 2).save(path)) {
      std::printf("%s\n", qPrintable(path));
    } else {
      ok = false;
    }
  }
  inspector->FR_HexEdClick();
  Settle(100);
  if (auto* viewer = inspector->findChild<QWidget*>("TF_HexEdit")) {
    ok = Save(*viewer, out, "hexviewer.png") && ok;
  } else {
    ok = false;
  }

  // The sample disk beside a damaged copy of it.
  moswit::TDI_Inspector* damaged = moswit::TDI_Inspector::Open(
      {samples.filePath("renamer/more/Demo Racer (bad file).adf").toStdString()}, error);
  if (!damaged) {
    std::fprintf(stderr, "moswit-screenshots: %s\n", moswit::FormatFileError(error).c_str());
    return 1;
  }
  auto* compare = new moswit::TF_Compare({inspector, damaged}, &main);
  compare->show();
  compare->B_CompareClick();
  Settle(100);
  ok = Save(*compare, out, "compare.png") && ok;
  ok = SaveDidEditor(main, samples, out) && ok;
  ok = SaveHandOver(main, samples, out) && ok;
  return ok ? 0 : 1;
}
