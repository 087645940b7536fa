// SPDX-License-Identifier: GPL-2.0-or-later
// The DID Editor with its Game and Version editors, on DID files in a
// temporary folder: the tree, the record buttons, the refresh after an
// editor closes, Save, Okay and Cancel, and what happens to editors whose
// records go.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <filesystem>

#include "app/window/mainwindow.h"
#include "database/didreader.h"
#include "database/didwriter.h"
#include "editors/window/databaseeditwindow.h"
#include "editors/window/databaseeditwindowtree.h"
#include "editors/window/diskeditwindow.h"
#include "editors/window/fileeditwindow.h"
#include "editors/window/gameeditwindow.h"
#include "editors/window/versioneditwindow.h"
#include "fakedialogs.h"
#include "gui/editorregistry.h"
#include "support/adfbuilder.h"
#include "support/datbuilder.h"
#include "support/didbuilder.h"
#include "support/tempdir.h"

namespace moswit::test {

namespace {

QString Native(const std::filesystem::path& path) { return QFile::decodeName(path.c_str()); }

// The main window RunMoswit made.
TForm1* MainWindow() {
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (auto* form = qobject_cast<TForm1*>(top)) return form;
  }
  return nullptr;
}

// Runs the deletions that closed windows left behind.
void SettleClosedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

}  // namespace

class DidEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    EditorTables().Clear();
    dir_ = std::make_unique<TempDir>();
    did_ = (dir_->Path() / "test.did").string();
  }

  void cleanup() {
    delete window_.data();
    SettleClosedWindows();
    dir_.reset();
  }

  void ANewDatabaseIsEmptyAndReachesTheDiskOnlyByOkay() {
    FakeDialogs dialogs;
    Open(true);
    QCOMPARE(Rows(), QStringList());
    QCOMPARE(Stats(), QString("0 games, 0 versions, 0 disks, ~0kb mem used"));
    QCOMPARE(Edit("ED_Name")->text(), "New Database [" + Native(did_) + "]");
    QCOMPARE(Edit("ED_Creator")->text(), QString("New Creator"));
    for (const char* part : {"ED_RelYear", "ED_RelMonth", "ED_RelDay"})
      QCOMPARE(Edit(part)->text(), QString("0"));

    Button("B_Cancel")->click();
    QVERIFY(!window_->HasDatabase());
    QVERIFY(!std::filesystem::exists(did_));

    Open(true);
    Button("B_Okay")->click();
    const std::unique_ptr<DatabaseInfo> written = ReadDatabase(did_).database;
    QVERIFY(written);
    QCOMPARE(written->name.Value(), "New Database [" + did_ + "]");
    QCOMPARE(written->creator.Value(), std::string_view("New Creator"));
    QVERIFY(dialogs.messages.isEmpty());
  }

  void CreateAndOpenFromTheMainWindow() {
    WriteSample();
    FakeDialogs dialogs;
    dialogs.answers << Native(dir_->Path() / "new") << Native(did_);
    TForm1 main;
    main.findChild<QPushButton*>("B_SDBCreate")->click();
    main.findChild<QPushButton*>("B_SDBEdit")->click();
    const QList<TF_DatabaseEdit*> editors = main.findChildren<TF_DatabaseEdit*>();
    QCOMPARE(editors.size(), qsizetype{2});
    QVERIFY(editors[0]->isVisible() && editors[0]->isWindow());
    QCOMPARE(editors[0]->Database()->games.Size(), size_t{0});
    QCOMPARE(editors[0]->findChild<QLineEdit*>("ED_Name")->text(),
             "New Database [" + Native(dir_->Path() / "new.did") + "]");
    QCOMPARE(editors[1]->Database()->games.Size(), size_t{2});
  }

  // A database made in the windows, written by Okay, reads back whole.
  void ACreatedDatabaseReopensWithEveryValue() {
    FakeDialogs dialogs;
    Open(true);
    Edit("ED_Creator")->setText("Me");
    Button("B_NewGame")->click();
    auto* game = window_->findChild<TF_GameEdit*>();
    game->findChild<QLineEdit*>("ED_Name")->setText("Made Here");
    game->findChild<QLineEdit*>("ED_RelYear")->setText("1993");
    game->findChild<QLineEdit*>("ED_Music")->setText("Composer");
    game->findChild<QPlainTextEdit*>("M_Comment")->setPlainText("two\nlines");
    game->findChild<QPushButton*>("B_Okay")->click();
    window_->FormActivate();
    Button("B_NewDisk")->click();
    Button("B_NewVersion")->click();
    auto* version = window_->findChild<TF_VersionEdit*>();
    version->findChild<QLineEdit*>("ED_Cracked")->setText("Group");
    version->findChild<QLineEdit*>("ED_DiskOrder")->setText("1");
    version->findChild<QCheckBox*>("CB_KS13")->setCheckState(Qt::Checked);
    version->findChild<QPushButton*>("B_Okay")->click();
    window_->FormActivate();
    QCOMPARE(Rows(), (QStringList{"Made Here (Publisher / 1993) [two lines]", "\tV#1: [cr Group]",
                                  "\tD#1: Made Here [New Version] (1993)(Publisher)[cr Group]"}));
    Button("B_Save")->click();
    const std::string shown = FormatDatabase(*window_->Database());
    Button("B_Okay")->click();
    QVERIFY(dialogs.messages.isEmpty());

    Open(false);
    QCOMPARE(FormatDatabase(*window_->Database()), shown);
    QCOMPARE(window_->Database()->games[0].versions[0].compat.kickstart, uint16_t{0x0AA6});
    QCOMPARE(Edit("ED_Creator")->text(), QString("Me"));
  }

  void AnUnreadableDidShowsWhyAndTheWindowCloses() {
    FakeDialogs dialogs;
    did_ = (dir_->Path() / "missing.did").string();
    Open(false);
    QVERIFY(!window_->HasDatabase());
    QVERIFY(!Button("B_NewGame")->isEnabled() && !Button("B_Save")->isEnabled());
    QTRY_VERIFY(window_.isNull());
    QCOMPARE(dialogs.messages, QStringList{Native(did_) + ": No such file or directory"});
    QVERIFY(!std::filesystem::exists(did_));
  }

  // The tree after opening: games sorted and collapsed, versions then disks.
  void TheTreeShowsSortedGamesWithVersionsThenDisks() {
    WriteSample();
    Open(false);
    QCOMPARE(Rows(), (QStringList{"Alpha (Soft / 1990) [old]", "\tV#1: [cr Group]",
                                  "\tD#1: Alpha (1990)(Soft)[cr Group][1|2]",
                                  "\tD#2: Alpha (1990)(Soft)[cr Group][2|2]",
                                  "\tD#3: Third (damaged)", "Beta ( / 0)"}));
    QCOMPARE(Stats(), QString("2 games, 1 versions, 3 disks, ~2kb mem used"));
    QAbstractItemModel* model = Tree()->model();
    QVERIFY(!Tree()->isExpanded(model->index(0, 0)));
    QVERIFY(Tree()->selectionModel()->selectedRows().isEmpty());
    QCOMPARE(Tree()->iconSize(), QSize(12, 12));
    const QModelIndex game = model->index(0, 0);
    const QModelIndex nodes[] = {game, model->index(0, 0, game), model->index(1, 0, game)};
    for (int kind = 0; kind < 3; ++kind) {
      QCOMPARE(IconImage(nodes[kind].data(Qt::DecorationRole).value<QIcon>()),
               IconImage(RecordIcons()[static_cast<size_t>(kind)]));
    }
    QVERIFY(IconImage(RecordIcons()[0]) != IconImage(RecordIcons()[2]));
  }

  void NewGameThenCancelShowsTheDefaultsSelected() {
    Open(true);
    Button("B_NewGame")->click();
    QPointer<TF_GameEdit> editor = window_->findChild<TF_GameEdit*>();
    QVERIFY(editor && editor->isVisible());
    QCOMPARE(Rows(), QStringList());  // until the editor reports
    editor->findChild<QPushButton*>("B_Cancel")->click();
    QVERIFY(!editor->isVisible());
    window_->FormActivate();
    QCOMPARE(Rows(), QStringList{"[New Game] (Publisher / 0)"});
    QCOMPARE(SelectedText(), QString("[New Game] (Publisher / 0)"));
    QCOMPARE(window_->focusWidget(), Tree());
    // Nothing else closed: the next activation leaves the tree alone.
    Tree()->clearSelection();
    window_->FormActivate();
    QCOMPARE(SelectedText(), QString());
  }

  void NewVersionAndDiskOnlyUnderAGame() {
    WriteSample();
    Open(false);
    const QModelIndex alpha = Tree()->model()->index(0, 0);
    Select(Tree()->model()->index(2, 0, alpha));  // D#2
    Button("B_NewVersion")->click();
    Button("B_NewDisk")->click();
    QVERIFY(!window_->findChild<TF_VersionEdit*>());
    QCOMPARE(Alpha().versions.Size(), size_t{1});
    QCOMPARE(Alpha().disks.Size(), size_t{3});
    QVERIFY(!window_->FocusRecord());

    Select(alpha);
    Button("B_NewVersion")->click();
    auto* editor = window_->findChild<TF_VersionEdit*>();
    QVERIFY(editor);
    QCOMPARE(Alpha().versions.Size(), size_t{2});
    QCOMPARE(editor->Record(), &Alpha().versions[1]);
    editor->findChild<QPushButton*>("B_Okay")->click();
    window_->FormActivate();
    QCOMPARE(Rows()[2], QString("\tV#2: "));
    QCOMPARE(SelectedText(), QString("Alpha (Soft / 1990) [old]"));

    // A new disk opens its Disk editor and shows once the editor closed.
    Button("B_NewDisk")->click();
    QCOMPARE(Alpha().disks.Size(), size_t{4});
    auto* disk = window_->findChild<TF_DiskEdit*>();
    QVERIFY(disk);
    QCOMPARE(&disk->Disk(), &Alpha().disks[3]);
    disk->findChild<QLineEdit*>("ED_Comment")->setText("new");
    disk->findChild<QPushButton*>("B_Okay")->click();
    window_->FormActivate();
    QCOMPARE(Rows()[6], QString("\tD#4: [New Disk] (new)"));
  }

  // Edit on a version node opens its editor; closing it rebuilds the tree
  // with the new text and selects the edited node inside its opened game.
  void EditingAVersionShowsItsNewTextSelected() {
    WriteSample();
    Open(false);
    const QModelIndex alpha = Tree()->model()->index(0, 0);
    Select(Tree()->model()->index(0, 0, alpha));
    Button("B_Edit")->click();
    auto* editor = window_->findChild<TF_VersionEdit*>();
    QVERIFY(editor);
    editor->findChild<QLineEdit*>("ED_Cracked")->setText("Other");
    editor->findChild<QPushButton*>("B_Okay")->click();
    window_->FormActivate();
    QCOMPARE(SelectedText(), QString("V#1: [cr Other]"));
    QVERIFY(Tree()->isExpanded(Tree()->model()->index(0, 0)));
    QCOMPARE(Rows()[2], QString("\tD#1: Alpha (1990)(Soft)[cr Other][1|2]"));
  }

  void TheWindowRefreshesWhenItBecomesActive() {
    WriteSample();
    Open(false);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.data()));
    Select(Tree()->model()->index(1, 0));
    Button("B_Edit")->click();
    auto* editor = window_->findChild<TF_GameEdit*>();
    editor->findChild<QLineEdit*>("ED_Name")->setText("Gamma");
    editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(editor));
    editor->findChild<QPushButton*>("B_Okay")->click();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.data()));
    QTRY_COMPARE(Rows().last(), QString("Gamma ( / 0)"));
    QCOMPARE(SelectedText(), QString("Gamma ( / 0)"));
  }

  void DeleteKeepsTheOtherNodesUntilTheNextFill() {
    WriteSample();
    Open(false);
    const QModelIndex alpha = Tree()->model()->index(0, 0);
    Button("B_Delete")->click();                  // nothing selected
    Select(Tree()->model()->index(1, 0, alpha));  // D#1
    Button("B_Delete")->click();
    QCOMPARE(Rows(), (QStringList{"Alpha (Soft / 1990) [old]", "\tV#1: [cr Group]",
                                  "\tD#2: Alpha (1990)(Soft)[cr Group][2|2]",
                                  "\tD#3: Third (damaged)", "Beta ( / 0)"}));
    QCOMPARE(Stats(), QString("2 games, 1 versions, 3 disks, ~2kb mem used"));
    QCOMPARE(Alpha().disks.Size(), size_t{2});

    // Deleting a game above another keeps the other's children reachable.
    Select(Tree()->model()->index(0, 0));
    Button("B_Delete")->click();
    QCOMPARE(Rows(), QStringList{"Beta ( / 0)"});
    Tree()->expandAll();
    QCOMPARE(window_->Database()->games.Size(), size_t{1});

    // The next fill numbers anew.
    Button("B_NewGame")->click();
    window_->findChild<TF_GameEdit*>()->findChild<QPushButton*>("B_Cancel")->click();
    window_->FormActivate();
    QCOMPARE(Stats(), QString("2 games, 0 versions, 0 disks, ~0kb mem used"));
  }

  // Deleting a record closes, without storing, the editors of the record and
  // of every record below it; the others stay open.
  void DeleteClosesTheEditorsOfWhatItDisposes() {
    FakeDialogs dialogs;
    WriteSample();
    Open(false);
    QAbstractItemModel* model = Tree()->model();
    const QModelIndex alpha = model->index(0, 0);
    Select(model->index(0, 0, alpha));
    Button("B_Edit")->click();
    Select(alpha);
    Button("B_Edit")->click();
    Select(model->index(1, 0));
    Button("B_Edit")->click();
    const QList<TF_GameEdit*> games = window_->findChildren<TF_GameEdit*>();
    QPointer<TF_GameEdit> alphaEditor = games[0];
    QPointer<TF_GameEdit> betaEditor = games[1];
    QPointer<TF_VersionEdit> versionEditor = window_->findChild<TF_VersionEdit*>();
    alphaEditor->findChild<QLineEdit*>("ED_RelYear")->setText("abc");  // would refuse a close
    versionEditor->findChild<QLineEdit*>("ED_Name")->setText("typed");

    Select(alpha);
    Button("B_Delete")->click();
    SettleClosedWindows();
    QVERIFY(alphaEditor.isNull() && versionEditor.isNull());
    QVERIFY(betaEditor && betaEditor->isVisible());
    QVERIFY(dialogs.messages.isEmpty());
    // Their slots are freed on the next activation, which fills the tree.
    window_->FormActivate();
    QCOMPARE(Rows(), QStringList{"Beta ( / 0)"});
    QCOMPARE(EditorTables().EditorsOf(std::vector<const void*>{&Beta()}).size(), size_t{1});
  }

  // Deleting a disk closes its Disk editor with the File and Range editors
  // opened from it, on one record or several; those of other disks stay.
  void DeletingADiskClosesTheEditorsOfItsFilesAndRanges() {
    WriteSample();
    Open(false);
    for (DiskRecord* disk : {&Alpha().disks[0], &Alpha().disks[1]}) {
      for (const char* path : {"/a", "/b"}) AppendFile(*disk).path = path;
      AppendRange(*disk);
    }
    const QModelIndex alpha = Tree()->model()->index(0, 0);
    QList<QPointer<QWidget>> editors;
    for (int node : {1, 2}) {  // D#1, D#2
      Select(Tree()->model()->index(node, 0, alpha));
      Button("B_Edit")->click();
      auto* disk = window_->findChildren<TF_DiskEdit*>().last();
      disk->findChild<QTreeWidget*>("FR_FileList")->selectAll();
      disk->FR_EditClick();
      editors << disk << disk->findChild<TF_FileEdit*>() << disk->findChild<TF_RangeEdit*>();
    }
    QVERIFY(std::all_of(editors.begin(), editors.end(), [](const auto& e) { return !e.isNull(); }));
    Select(Tree()->model()->index(1, 0, alpha));
    Button("B_Delete")->click();
    SettleClosedWindows();
    for (int i = 0; i < 3; ++i) QVERIFY(editors[i].isNull());
    for (int i = 3; i < 6; ++i) QVERIFY(editors[i] && editors[i]->isVisible());
    QVERIFY(!EditorTables().files.Slots()[0].Open());
  }

  void ClosingTheWindowClosesItsEditorsFirst() {
    WriteSample();
    Open(false);
    QAbstractItemModel* model = Tree()->model();
    Select(model->index(1, 0));
    Button("B_Edit")->click();
    Select(model->index(0, 0, model->index(0, 0)));
    Button("B_Edit")->click();
    QPointer<TF_GameEdit> game = window_->findChild<TF_GameEdit*>();
    QPointer<TF_VersionEdit> version = window_->findChild<TF_VersionEdit*>();
    game->findChild<QLineEdit*>("ED_Name")->setText("Renamed");
    version->findChild<QLineEdit*>("ED_Cracked")->setText("Dropped");

    // With Okay they close as their close boxes do: the Game editor keeps
    // its changes (but not with a bad date), the Version editor drops them.
    FakeDialogs dialogs;
    const Bytes before = ReadFileBytes(did_);
    game->findChild<QLineEdit*>("ED_RelDay")->setText("x");
    Button("B_Okay")->click();
    QCOMPARE(dialogs.messages, QStringList{"'x' is not a valid integer value"});
    QVERIFY(window_->HasDatabase() && game->isVisible());
    QCOMPARE(ReadFileBytes(did_), before);
    game->findChild<QLineEdit*>("ED_RelDay")->setText("1");
    Button("B_Okay")->click();
    QVERIFY(!window_->HasDatabase());
    SettleClosedWindows();
    QVERIFY(game.isNull() && version.isNull() && window_.isNull());
    const std::unique_ptr<DatabaseInfo> written = ReadDatabase(did_).database;
    QCOMPARE(written->games[0].name.Value(), std::string_view("Renamed"));
    QCOMPARE(written->games[1].versions[0].crackedBy.Value(), std::string_view("Group"));
    // No slot names a window that is gone.
    QVERIFY(!EditorTables().games.Slots()[0].Open());
    QVERIFY(!EditorTables().versions.Slots()[0].Open());
  }

  void CancelAndDestroyingTheWindowDropTheEditors() {
    WriteSample();
    const auto before = ReadFileBytes(did_);
    for (bool destroy : {false, true}) {
      Open(false);
      Select(Tree()->model()->index(1, 0));
      Button("B_Edit")->click();
      QPointer<TF_GameEdit> game = window_->findChild<TF_GameEdit*>();
      game->findChild<QLineEdit*>("ED_RelYear")->clear();
      if (destroy) {
        delete window_.data();
      } else {
        Button("B_Cancel")->click();
      }
      SettleClosedWindows();
      QVERIFY(game.isNull() && window_.isNull());
      QVERIFY(!EditorTables().games.Slots()[0].Open());
      QCOMPARE(ReadFileBytes(did_), before);
    }
  }

  void ABadDateKeepsTheWindowOpenAndWritesNothing() {
    FakeDialogs dialogs;
    Open(true);
    Edit("ED_RelYear")->setText("abc");
    for (const char* button : {"B_Okay", "B_Cancel", "B_Save"}) Button(button)->click();
    window_->close();
    QCOMPARE(dialogs.messages, QStringList(4, "'abc' is not a valid integer value"));
    QVERIFY(window_->HasDatabase());
    QVERIFY(!std::filesystem::exists(did_));
    // Okay's writeOnClose stays: the close that succeeds writes.
    Edit("ED_RelYear")->setText("+1995");
    window_->close();
    const std::unique_ptr<DatabaseInfo> written = ReadDatabase(did_).database;
    QVERIFY(written);
    QCOMPARE(written->date.year, uint16_t{1995});
  }

  // Save takes over the Standard Info edits, writes, and stays open; what a
  // Cancel then drops is what came after.
  void SaveWritesWhatTheWindowShowsThenCancelKeepsIt() {
    FakeDialogs dialogs;
    Open(true);
    Edit("ED_Name")->setText(QString::fromLatin1("My Collection \xE4"));
    Edit("ED_RelYear")->setText("1995");
    Edit("ED_RelMonth")->setText("+7");
    Button("B_NewGame")->click();
    window_->findChild<TF_GameEdit*>()->findChild<QPushButton*>("B_Okay")->click();
    Button("B_Save")->click();
    QVERIFY(window_->HasDatabase());
    QCOMPARE(Edit("ED_RelMonth")->text(), QString("7"));
    Button("B_NewGame")->click();
    Edit("ED_Creator")->setText("Later");
    Button("B_Cancel")->click();
    QVERIFY(dialogs.messages.isEmpty());
    const std::unique_ptr<DatabaseInfo> written = ReadDatabase(did_).database;
    QCOMPARE(written->name.Value(), std::string_view("My Collection \xE4"));
    QCOMPARE(written->creator.Value(), std::string_view("New Creator"));
    QCOMPARE(written->date, (ReleaseDate{1995, 7, 0}));
    QCOMPARE(written->games.Size(), size_t{1});
  }

  void AFailedWriteShowsWhyAndKeepsTheWindowAndItsDatabase() {
    FakeDialogs dialogs;
    did_ = (dir_->Path() / "no such folder" / "test.did").string();
    Open(true);
    Button("B_NewGame")->click();
    Button("B_Save")->click();
    Button("B_Okay")->click();
    QCOMPARE(dialogs.messages.size(), qsizetype{2});
    QVERIFY(dialogs.messages[0].startsWith(Native(did_)));
    QCOMPARE(dialogs.messages[1], dialogs.messages[0]);
    QVERIFY(window_->HasDatabase());
    QCOMPARE(window_->Database()->games.Size(), size_t{1});
    // The Game editor closed with the window's first close attempt.
    window_->FormActivate();
    QCOMPARE(Rows(), QStringList{"[New Game] (Publisher / 0)"});
  }

  // A file that is not a DID opens empty, with a warning; Okay replaces it
  // only once the user agreed, and keeping it takes the Okay back.
  void AFileThatIsNotADidIsReplacedOnlyWhenAgreed() {
    FakeDialogs dialogs;
    const Bytes noise = PatternBytes(20'000, 3);
    dir_->Write("test.did", noise);
    for (int choice : {int{kKeepFileAndEdit}, int{kReplaceFile}}) {
      Open(false);
      QTRY_COMPARE(dialogs.messages.size(), qsizetype{choice == kReplaceFile ? 2 : 1});
      QVERIFY2(dialogs.messages.last().startsWith(Native(did_) + ": ") &&
                   dialogs.messages.last().contains(" parts of the file were not understood"),
               qPrintable(dialogs.messages.last()));
      QCOMPARE(Rows(), QStringList());
      Button("B_NewGame")->click();
      dialogs.choices << choice;
      Button("B_Okay")->click();
      QVERIFY(dialogs.questions.last().startsWith(dialogs.messages.last().section("\n", 0, 0)));
      QCOMPARE(window_->HasDatabase(), choice == kKeepFileAndEdit);
      Button("B_Cancel")->click();
    }
    QCOMPARE(dialogs.questions.size(), qsizetype{2});
    const DidReadResult read = ReadDatabase(did_);
    QCOMPARE(read.database->games.Size(), size_t{1});
    QVERIFY(!read.skips.Any());
  }

  // Two DID Editors on one file: the second Okay does not silently replace
  // the first one's file; Save asks too.
  void AFileChangedOnDiskIsReplacedOnlyWhenAgreed() {
    FakeDialogs dialogs;
    WriteSample();
    Open(false);
    QPointer<TF_DatabaseEdit> other = new TF_DatabaseEdit({did_, false});
    AppendGame(*window_->Database()).name = "Mine";
    AppendGame(*other->Database()).name = "Theirs";
    Button("B_Okay")->click();
    other->findChild<QPushButton*>("B_Okay")->click();
    QCOMPARE(dialogs.questions.size(), qsizetype{1});
    QVERIFY(dialogs.questions[0].startsWith(Native(did_) + " has changed since"));
    QCOMPARE(ReadDatabase(did_).database->games[2].name.Value(), std::string_view("Mine"));
    dialogs.choices << kReplaceFile;
    other->findChild<QPushButton*>("B_Save")->click();
    QCOMPARE(ReadDatabase(did_).database->games[2].name.Value(), std::string_view("Theirs"));
    delete other.data();
  }

  // After a failed Okay, Cancel and the close box offer to discard instead
  // of writing again; Okay and Save still try to write.
  void AfterAFailedWriteTheWindowCanBeClosedByDiscarding() {
    FakeDialogs dialogs;
    did_ = (dir_->Path() / "later" / "test.did").string();
    Open(true);
    Button("B_NewGame")->click();
    Button("B_Okay")->click();
    Button("B_Cancel")->click();  // no answer: go on editing
    window_->close();
    Button("B_Save")->click();
    QCOMPARE(dialogs.messages.size(), qsizetype{2});
    QCOMPARE(dialogs.questions.size(), qsizetype{2});
    QVERIFY(dialogs.questions[1].startsWith(Native(did_) + " could not be written"));
    QCOMPARE(window_->Database()->games.Size(), size_t{1});
    dialogs.choices << kDiscardChanges;
    window_->close();
    QVERIFY(!window_->HasDatabase() && !std::filesystem::exists(did_));
  }

  // "Save As..." (Ctrl+Shift+S) writes another file, which the window then
  // holds: also the way out after its own file could not be written.
  void SaveAsWritesAnotherFileAndHoldsIt() {
    FakeDialogs dialogs;
    did_ = (dir_->Path() / "later" / "test.did").string();
    Open(true);
    Button("B_NewGame")->click();
    Button("B_Okay")->click();
    QCOMPARE(dialogs.messages.size(), qsizetype{1});  // the failed write
    const std::filesystem::path copy = dir_->Path() / "copy.did";
    dialogs.answers << Native(copy);
    window_->show();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_));
    QTest::keyClick(window_, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(dialogs.requests.size(), size_t{1});
    QCOMPARE(dialogs.requests[0].title, QString(kSaveAsTitle));
    QVERIFY(dialogs.requests[0].confirmOverwrite);
    QCOMPARE(dialogs.messages.size(), qsizetype{1});
    QCOMPARE(window_->Path(), copy);
    QCOMPARE(ReadDatabase(copy).database->games.Size(), size_t{1});
    // Nothing is left unwritten: Cancel closes without a question.
    Button("B_Cancel")->click();
    QVERIFY(!window_->HasDatabase() && dialogs.questions.isEmpty());
    QVERIFY(!std::filesystem::exists(did_));
  }

  // "Create DID" on an existing file: nothing reaches it before Okay or Save.
  void ANewDatabaseOverAFileWritesNothingBeforeOkay() {
    WriteSample();
    const Bytes before = ReadFileBytes(did_);
    for (const char* button : {"B_Cancel", "B_Okay"}) {
      Open(true);
      Button("B_NewGame")->click();
      QCOMPARE(ReadFileBytes(did_), before);
      Button(button)->click();
    }
    QCOMPARE(ReadDatabase(did_).database->games[0].name.Value(), std::string_view("[New Game]"));
  }

  // Ending Moswit with changes not written asks once, naming those files:
  // Cancel keeps every window, a "Save all" that fails keeps Moswit open and
  // says so, "Save all" stores and writes, "Discard" writes nothing.
  void EndingWithUnwrittenChangesAsksOnce() {
    WriteSample();
    const std::string kept = (dir_->Path() / "kept.did").string();
    std::filesystem::copy_file(did_, kept);
    FakeDialogs dialogs;
    dialogs.answers << Native(did_) << Native(kept) << Native(did_);
    QTimer::singleShot(0, [&] {
      TForm1* main = MainWindow();
      main->findChild<QPushButton*>("B_SDBEdit")->click();
      main->findChild<QPushButton*>("B_SDBEdit")->click();
      main->findChild<TF_DatabaseEdit*>()->findChild<QPushButton*>("B_NewGame")->click();
      auto* game = main->findChild<TF_DatabaseEdit*>()->findChild<TF_GameEdit*>();
      game->findChild<QLineEdit*>("ED_RelYear")->setText("abc");
      QVERIFY(!main->close());  // no answer: cancel
      QVERIFY(dialogs.questions[0].contains(Native(did_)) &&
              !dialogs.questions[0].contains(Native(kept)));
      dialogs.choices << kSaveAll;
      game->showMinimized();
      QVERIFY(!main->close() && game->isVisible());
      // The editor holding the bad value comes up, and the message names
      // it, its DID and the field.
      QVERIFY(!game->isMinimized());
      QCOMPARE(dialogs.messages,
               (QStringList{"Game Editor of " + Native(did_) +
                                " cannot store its Release Date (year): 'abc' is not a valid "
                                "integer value.\n\nCorrect it there, or end Moswit and discard "
                                "the changes.",
                            "These DID files were not saved, so Moswit "
                            "stays open:\n\n" +
                                Native(did_)}));
      game->findChild<QLineEdit*>("ED_RelYear")->setText("1990");
      dialogs.choices << kSaveAll;
      QVERIFY(main->close());
    });
    const Bytes keptBytes = ReadFileBytes(kept);
    QCOMPARE(RunMoswit(*qApp), 0);
    QCOMPARE(dialogs.questions.size(), qsizetype{3});
    QCOMPARE(ReadDatabase(did_).database->games[2].releaseDate.year, uint16_t{1990});
    QCOMPARE(ReadFileBytes(kept), keptBytes);

    const Bytes saved = ReadFileBytes(did_);
    QTimer::singleShot(0, [&] {
      MainWindow()->findChild<QPushButton*>("B_SDBEdit")->click();
      MainWindow()->findChild<TF_DatabaseEdit*>()->findChild<QLineEdit*>("ED_Name")->setText("x");
      dialogs.choices << kDiscardAll;
      QVERIFY(MainWindow()->close());
    });
    QCOMPARE(RunMoswit(*qApp), 0);
    QCOMPARE(ReadFileBytes(did_), saved);
  }

  void ACharacterKeyInTheTreeBeeps() {
    FakeDialogs dialogs;
    WriteSample();
    Open(false);
    window_->show();
    Tree()->setFocus();
    QTest::keyClick(Tree(), Qt::Key_Down);
    QCOMPARE(dialogs.beeps, 0);
    QTest::keyClick(Tree(), Qt::Key_B);
    QTest::keyClick(Tree(), Qt::Key_1);
    QCOMPARE(dialogs.beeps, 2);
    // The key still reaches the tree: its search selects the game.
    QCOMPARE(SelectedText(), QString("Beta ( / 0)"));
  }

  // Import DAT... in the tree's menu appends the DAT's games, selects the
  // first and sums up; the file is written only by Save or Okay. A file that
  // is no DAT appends nothing and says why; the same DAT again adds nothing.
  void ImportDatFromTheTreeMenuAppendsItsGames() {
    WriteSample();
    const Bytes before = ReadFileBytes(did_);
    const std::string dat = dir_->Write(
        "games.dat", BytesOf(DatXml({{"Quest (1990)(Soft)(Disk 1 of 2)",
                                      {{"Quest (1990)(Soft)(Disk 1 of 2).adf", "901120", "1"}}},
                                     {"Quest (1990)(Soft)(Disk 2 of 2)",
                                      {{"Quest (1990)(Soft)(Disk 2 of 2).adf", "901120", "2"},
                                       {"Quest.txt", "10", "3"}}}})));
    const std::string bad = dir_->Write("bad.dat", BytesOf("<datafile>\n<game>\n</datafile>"));
    FakeDialogs dialogs;
    dialogs.answers << Native(dat) << Native(bad) << Native(dat);
    Open(false);
    auto* import = window_->findChild<QAction*>("MI_ImportDat");
    QVERIFY(window_->findChild<QMenu*>("PU_Records")->actions().contains(import));

    import->trigger();
    QCOMPARE(dialogs.requests[0].title, QString("Import DAT"));
    QCOMPARE(SelectedText(), QString("Quest (Soft / 1990)"));
    QCOMPARE(Rows().mid(Rows().indexOf("Quest (Soft / 1990)")),
             (QStringList{"Quest (Soft / 1990)", "\tD#1: Quest (1990)(Soft)(Disk 1 of 2)",
                          "\tD#2: Quest (1990)(Soft)(Disk 2 of 2)"}));
    QCOMPARE(dialogs.messages.value(0),
             QString("1 games, 2 disks; 1 ROMs skipped (1 not ADF, 0 without CRC or size, 0 "
                     "repeated); 0 names changed"));
    QVERIFY(window_->HoldsChanges());
    QCOMPARE(ReadFileBytes(did_), before);

    import->trigger();
    QCOMPARE(dialogs.messages.value(1),
             Native(bad) + ": line 3: not a DAT (Start-end tags mismatch)");
    import->trigger();
    QVERIFY(dialogs.messages.value(2).startsWith("0 games, 0 disks; 3 ROMs skipped"));
    Button("B_Save")->click();
    QCOMPARE(ReadDatabase(did_).database->games.Size(), size_t{3});
  }

  // A table with all 256 slots taken opens no editor and writes nothing
  // past its end; the new record still shows.
  void AFullEditorTableOpensNothing() {
    FakeDialogs dialogs;
    Open(true);
    // Placeholders for other editors: the full table is only counted.
    std::vector<int> others(kEditorSlots);
    const auto placeholder = [](int& other) { return reinterpret_cast<RecordEditor*>(&other); };
    for (int& other : others) QVERIFY(EditorTables().games.Take(placeholder(other)));
    Button("B_NewGame")->click();
    QCOMPARE(dialogs.beeps, 1);
    QVERIFY(!window_->findChild<TF_GameEdit*>());
    QCOMPARE(Rows(), QStringList{"[New Game] (Publisher / 0)"});
    Select(Tree()->model()->index(0, 0));
    Button("B_Edit")->click();
    QCOMPARE(dialogs.beeps, 2);
    QCOMPARE(EditorTables().games.Slots().back().editor, placeholder(others.back()));
  }

  // A disk known only by a dump's CRC gets the dump's files from the folder
  // the dialog gives: the tree and an open Disk editor show them, and the
  // window holds the change until Okay writes it. The menu waits meanwhile;
  // closing the window while the images are read adds and shows nothing.
  void EnrichFromImagesGivesDisksTheFilesOfTheirDumps() {
    AdfBuilder builder;
    builder.AddFile("/game", PatternBytes(3000, 1));
    builder.AddFile("/data", PatternBytes(800, 2));
    const Bytes dump = builder.Build();
    dir_->Write("images/dump.adf", dump);
    dir_->Write("images/sub/other.adf", PatternBytes(kFloppyBlocks * kBlockSize, 3));
    DidBuilder db;
    db.WholeImageDisk(db.Game("Quest"), "Quest (1990)(Soft)", dump);
    QVERIFY(!WriteDatabase(db.Database(), did_));
    FakeDialogs dialogs;
    const QString chosen = Native(dir_->Path() / "images" / "chosen");
    dialogs.answers << chosen << chosen;
    Open(false);
    window_->findChild<QAction*>("MI_Enrich")->trigger();
    Button("B_Cancel")->click();
    QVERIFY(!window_->Enriching());

    Open(false);
    Select(Tree()->model()->index(0, 0, Tree()->model()->index(0, 0)));
    Button("B_Edit")->click();
    auto* disk = window_->findChild<TF_DiskEdit*>();
    QCOMPARE(disk->Rows().size(), size_t{1});
    QSignalSpy ended(window_.data(), &TF_DatabaseEdit::EnrichEnded);
    QAction* enrich = window_->findChild<QAction*>("MI_Enrich");
    enrich->trigger();
    QCOMPARE(dialogs.requests.back().folder, Native(dir_->Path()));
    emit Tree()->customContextMenuRequested({});
    QVERIFY(!enrich->isEnabled());
    window_->findChild<QMenu*>("PU_Records")->hide();
    enrich->trigger();
    QCOMPARE(dialogs.requests.size(), size_t{2});

    QTRY_COMPARE(ended.size(), 1);
    QCOMPARE(dialogs.messages, QStringList{"1 disk enriched from 2 images below the folder."});
    QCOMPARE(disk->Rows().size(), size_t{3});
    QCOMPARE(Rows(), (QStringList{"Quest ( / 0)", "\tD#1: Quest (1990)(Soft)"}));
    QVERIFY(window_->HoldsChanges());
    Button("B_Okay")->click();
    QCOMPARE(ReadDatabase(did_).database->games[0].disks[0].files.Size(), size_t{2});
  }

 private:
  void Open(bool createNew) {
    delete window_.data();
    SettleClosedWindows();
    window_ = new TF_DatabaseEdit({did_, createNew});
  }

  void WriteSample() {
    DidBuilder db;
    db.Game("Beta");
    GameRecord& alpha = db.Game("Alpha", "Soft", {1990, 0, 0});
    alpha.comment = "old";
    db.Version(alpha, {1, 2}).crackedBy = "Group";
    db.Disk(alpha, "One");
    db.Disk(alpha, "Two");
    db.Disk(alpha, "Third").comment = "damaged";
    QVERIFY(!WriteDatabase(db.Database(), did_));
  }

  // The sample's games in database order.
  GameRecord& Beta() const { return window_->Database()->games[0]; }
  GameRecord& Alpha() const { return window_->Database()->games[1]; }
  RecordTreeView* Tree() const { return window_->findChild<RecordTreeView*>("TV_Records"); }
  QPushButton* Button(const char* name) const { return window_->findChild<QPushButton*>(name); }
  QLineEdit* Edit(const char* name) const { return window_->findChild<QLineEdit*>(name); }
  QString Stats() const { return window_->findChild<QLabel*>("L_Stats")->text(); }

  static QImage IconImage(const QIcon& icon) { return icon.pixmap(12, 12).toImage(); }

  void Select(const QModelIndex& index) {
    Tree()->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
  }

  QString SelectedText() const {
    const QModelIndexList rows = Tree()->selectionModel()->selectedRows();
    return rows.isEmpty() ? QString() : rows.constFirst().data().toString();
  }

  // Every node in tree order, a child's text after a TAB.
  QStringList Rows() const {
    QStringList rows;
    QAbstractItemModel* model = Tree()->model();
    for (int g = 0; g < model->rowCount(); ++g) {
      const QModelIndex game = model->index(g, 0);
      rows << game.data().toString();
      for (int c = 0; c < model->rowCount(game); ++c)
        rows << "\t" + model->index(c, 0, game).data().toString();
    }
    return rows;
  }

  std::unique_ptr<TempDir> dir_;
  std::string did_;
  QPointer<TF_DatabaseEdit> window_;
};

}  // namespace moswit::test

QTEST_MAIN(moswit::test::DidEditorTest)
#include "databaseeditwindow_test.moc"
