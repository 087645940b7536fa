// SPDX-License-Identifier: GPL-2.0-or-later
// Files and ranges handed from an Inspector to open Disk editors, and a
// database built that way in the windows from a known-good image, which the
// scan then identifies at 1000 per mille.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include "database/didreader.h"
#include "editors/window/databaseeditwindow.h"
#include "editors/window/diskeditwindow.h"
#include "editors/window/gameeditwindow.h"
#include "editors/window/versioneditwindow.h"
#include "fakedialogs.h"
#include "gui/editorregistry.h"
#include "inspector/window/inspectorwindow.h"
#include "scan/scanner.h"
#include "support/adfbuilder.h"
#include "support/didbuilder.h"
#include "support/scanrecorder.h"
#include "support/tempdir.h"

namespace moswit::test {

namespace {

void SettleClosedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

void SelectAll(QWidget& window, const char* list) {
  window.findChild<QTreeWidget*>(list)->selectAll();
}

void Click(QWidget& window, const char* button) { window.findChild<QPushButton*>(button)->click(); }

}  // namespace

class HandOverTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    EditorTables().Clear();
    dir_ = std::make_unique<TempDir>();
  }

  void cleanup() {
    // Deleting a window deletes the windows it owns.
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) windows.append(window);
    for (const QPointer<QWidget>& window : windows) delete window.data();
    SettleClosedWindows();
    dir_.reset();
  }

  // The menu lists the open Disk editors in table order; the chosen one
  // gets the selected rows in the list's order and lists them. With none
  // open the press only beeps, and the menu still shows on later presses.
  void TheMenuHandsTheSelectedRowsToTheChosenDiskEditor() {
    FakeDialogs dialogs;
    AdfBuilder builder;
    for (const char* path : {"/c/dir", "/libs/icon.library", "/devs/system-configuration",
                             "/devs/keymaps/d", "/s/startup-sequence", "/zz"}) {
      builder.AddFile(path, PatternBytes(700, 3));
    }
    TDI_Inspector* inspector = OpenInspector(dir_->Write("disk.adf", builder.Build()));
    inspector->FR_AddDatClick();
    QCOMPARE(dialogs.beeps, 1);
    QVERIFY(!Menu(*inspector)->isVisible());

    DidBuilder db;
    GameRecord& game = db.Game("Rock & Roll");
    DiskRecord& first = db.Disk(game, "One");
    DiskRecord& second = db.Disk(game, "Two");
    second.comment = "side B";
    QPointer<TF_DiskEdit> secondEditor = OpenRecordEditor<TF_DiskEdit>(game, second, nullptr);
    QPointer<TF_DiskEdit> closed = OpenRecordEditor<TF_DiskEdit>(game, first, nullptr);
    QPointer<TF_DiskEdit> firstEditor = OpenRecordEditor<TF_DiskEdit>(game, first, nullptr);
    closed->close();  // its slot stays until a DID Editor frees it, but is not offered
    inspector->FR_AddDatClick();
    QVERIFY(Menu(*inspector)->isVisible());
    QCOMPARE(dialogs.beeps, 1);
    const QList<QAction*> items = Menu(*inspector)->actions();
    QCOMPARE(items.size(), qsizetype{2});
    QCOMPARE(items[0]->text(), QString("Rock && Roll / Disk #2: side B"));
    QCOMPARE(items[1]->text(), QString("Rock && Roll / Disk #1: "));

    // Five of the files and a range, the last file left out.
    auto* list = inspector->findChild<QTreeWidget*>("FR_FileList");
    inspector->ImgMouseMove(inspector->Pixels().Layout().Interior(2).left + 1,
                            inspector->Pixels().Layout().Interior(2).top + 1);
    inspector->ImgMouseDown();
    inspector->SI_DefineClick();
    inspector->SI_DefineClick();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = list->topLevelItem(i);
      item->setSelected(item->text(0) != "/zz");
    }
    items[1]->trigger();
    const struct {
      const char* path;
      AttributeFlags attributes;
    } want[] = {{"/c/dir", 0x00030002},
                {"/devs/keymaps/d", 0x80070000},
                {"/devs/system-configuration", 0x00050002},
                {"/libs/icon.library", 0x00030024},
                {"/s/startup-sequence", 0x00000001}};
    QCOMPARE(first.files.Size(), std::size(want));
    for (size_t i = 0; i < std::size(want); ++i) {
      QCOMPARE(first.files[i].path.Value(), std::string_view(want[i].path));
      QCOMPARE(first.files[i].attributes, want[i].attributes);
      QCOMPARE(first.files[i].size, 700u);
    }
    QCOMPARE(first.ranges.Size(), size_t{1});
    QCOMPARE(first.ranges[0].firstByte, 1024u);
    QCOMPARE(first.ranges[0].attributes, kAttrGame);
    QCOMPARE(firstEditor->Rows().size(), size_t{6});
    QVERIFY(second.files.Empty() && secondEditor->Rows().empty());

    // Pressed again once every Disk editor closed: a beep, no menu.
    Menu(*inspector)->hide();
    firstEditor->close();
    secondEditor->close();
    inspector->FR_AddDatClick();
    QCOMPARE(dialogs.beeps, 2);
    QVERIFY(!Menu(*inspector)->isVisible());
  }

  // A known-good image: opened in an Inspector, all its files handed to a
  // new disk of a new version of a new game, saved by the DID Editor; the
  // scan then names that disk with (1000).
  void ADiskBuiltFromAnImageIdentifiesIt() {
    FakeDialogs dialogs;
    AdfBuilder builder(AdfBuilder::Options{.ffs = true, .volume = "Demo"});
    builder.AddFile("/s/startup-sequence", PatternBytes(40, 1));
    builder.AddFile("/c/dir", PatternBytes(2'000, 2));
    builder.AddFile("/game", PatternBytes(30'000, 3));
    builder.AddFile("/data/level1", PatternBytes(5'000, 4));
    const std::string image = dir_->Write("images/demo.adf", builder.Build());
    TDI_Inspector* inspector = OpenInspector(image);

    const std::string did = (dir_->Path() / "built.did").string();
    auto* editor = new TF_DatabaseEdit({did, true});
    editor->show();
    auto* tree = editor->findChild<QTreeView*>("TV_Records");
    Click(*editor, "B_NewGame");
    auto* gameEditor = editor->findChild<TF_GameEdit*>();
    gameEditor->findChild<QLineEdit*>("ED_Name")->setText("Demo Game");
    gameEditor->findChild<QLineEdit*>("ED_RelYear")->setText("1992");
    Click(*gameEditor, "B_Okay");
    editor->FormActivate();
    tree->selectionModel()->select(tree->model()->index(0, 0), QItemSelectionModel::ClearAndSelect);
    Click(*editor, "B_NewVersion");
    auto* versionEditor = editor->findChild<TF_VersionEdit*>();
    versionEditor->findChild<QLineEdit*>("ED_DiskOrder")->setText("1");
    Click(*versionEditor, "B_Okay");
    editor->FormActivate();
    tree->selectionModel()->select(tree->model()->index(0, 0), QItemSelectionModel::ClearAndSelect);
    Click(*editor, "B_NewDisk");
    QPointer<TF_DiskEdit> diskEditor = editor->findChild<TF_DiskEdit*>();
    QVERIFY(diskEditor);
    diskEditor->findChild<QLineEdit*>("ED_Name")->setText("Demo");

    SelectAll(*inspector, "FR_FileList");
    inspector->FR_AddDatClick();
    const QList<QAction*> items = Menu(*inspector)->actions();
    QCOMPARE(items.size(), qsizetype{1});
    QCOMPARE(items[0]->text(), QString("Demo Game / Disk #1: "));
    items[0]->trigger();
    QCOMPARE(diskEditor->Rows().size(), size_t{4});
    Click(*diskEditor, "B_Okay");
    editor->FormActivate();
    Click(*editor, "B_Okay");
    SettleClosedWindows();
    QVERIFY(dialogs.messages.isEmpty());

    const std::unique_ptr<DatabaseInfo> database = ReadDatabase(did).database;
    QVERIFY(database);
    ScanRecorder report;
    RunScan(*database, (dir_->Path() / "images").string() + "/", report);
    QCOMPARE(report.results.size(), size_t{1});
    const std::string line = report.results.begin()->second;
    QVERIFY2(line.find("(1000)") != std::string::npos, line.c_str());
    QVERIFY2(line.find("Demo Game") == 0, line.c_str());
  }

 private:
  TDI_Inspector* OpenInspector(const std::string& path) {
    FileError error;
    TDI_Inspector* inspector = TDI_Inspector::Open({path}, error);
    if (!inspector) qFatal("cannot open %s: %s", path.c_str(), error.message.c_str());
    inspector->show();
    return inspector;
  }

  static QMenu* Menu(QWidget& inspector) { return inspector.findChild<QMenu*>("PU_AddDat"); }

  std::unique_ptr<TempDir> dir_;
};

}  // namespace moswit::test

QTEST_MAIN(moswit::test::HandOverTest)
#include "handover_test.moc"
