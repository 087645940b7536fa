// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's controls, its file browser, the DID dialogs and the way
// the program ends.
#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTextBlock>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QWindow>
#include <QtTest>

#include "app/window/mainwindow.h"
#include "database/didwriter.h"
#include "editors/window/databaseeditwindow.h"
#include "fakedialogs.h"
#include "gui/inspectoropener.h"
#include "inspector/window/inspectorwindow.h"
#include "scan/window/renamerwindow.h"
#include "support/adfbuilder.h"
#include "support/didbuilder.h"
#include "support/tempdir.h"
#include "support/zipwriter.h"

namespace moswit::test {

namespace {

QString Native(const std::filesystem::path& path) { return QFile::decodeName(path.c_str()); }

// The names the browser shows directly below `folder`, sorted.
QStringList BrowserEntries(TForm1& window, const QString& folder) {
  auto* view = window.findChild<QTreeView*>("STV_FileBrowser");
  auto* shown = qobject_cast<QSortFilterProxyModel*>(view->model());
  auto* files = qobject_cast<QFileSystemModel*>(shown->sourceModel());
  const QModelIndex parent = shown->mapFromSource(files->index(folder));
  QStringList names;
  for (int row = 0; row < shown->rowCount(parent); ++row)
    names << shown->index(row, 0, parent).data().toString();
  names.sort();
  return names;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void ApplicationIsTitled() {
    SetUpApplication(*qApp);
    QCOMPARE(QApplication::applicationDisplayName(), QString("[Moswit v1.00]"));
    QVERIFY(!QApplication::windowIcon().isNull());
  }

  void ControlsBearTheirNamesAndCaptionsInOrder() {
    TForm1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.objectName(), QString("TForm1"));
    QCOMPARE(window.windowTitle(), QString("Moswit v0.80 beta"));
    QVERIFY(window.windowIcon().availableSizes().contains(QSize(256, 256)));
    auto* group = window.findChild<QGroupBox*>("GB_FileBrowser");
    QVERIFY(group);
    QCOMPARE(group->title(), QString("ADF File Browser (first select, then inspect)"));
    QVERIFY(group->findChild<QTreeView*>("STV_FileBrowser"));

    const std::pair<const char*, const char*> buttons[] = {
        {"B_SDBCreate", "Create DID"}, {"B_SDBEdit", "Open DID"},  {"B_Inspector", "ADF Inspector"},
        {"B_Compare", "Compare"},      {"B_SDBRename", "Renamer"}, {"B_About", "About"}};
    int lastTop = -1;
    for (const auto& [name, caption] : buttons) {
      auto* button = window.findChild<QPushButton*>(name);
      QVERIFY2(button, name);
      QCOMPARE(button->text(), QString(caption));
      QVERIFY2(button->isVisible(), name);
      QVERIFY2(!(button->focusPolicy() & Qt::TabFocus), name);
      QVERIFY2(button->y() > lastTop, name);
      QVERIFY2(button->x() > group->geometry().right(), name);
      lastTop = button->y();
    }
    // "About" sits at the bottom edge, apart from the others.
    auto* about = window.findChild<QPushButton*>("B_About");
    auto* renamer = window.findChild<QPushButton*>("B_SDBRename");
    QVERIFY(about->y() - renamer->geometry().bottom() > renamer->height());
  }

  void BrowserShowsFoldersAndOnlyAdfAndZipFiles() {
    TempDir dir;
    for (const char* name : {"game.adf", "GAME.ZIP", "readme.txt", "image.adz", "old.adf.bak",
                             "x.adf/inner.adf", "folder/deeper.txt"}) {
      dir.Write(name, {1});
    }
    TForm1 window;
    const QString folder = Native(dir.Path());
    window.ShowInFileBrowser(folder);
    auto* view = window.findChild<QTreeView*>("STV_FileBrowser");
    view->expand(view->currentIndex());
    const QStringList expected = {"GAME.ZIP", "folder", "game.adf", "image.adz", "x.adf"};
    QTRY_COMPARE(BrowserEntries(window, folder), expected);
    QCOMPARE(view->currentIndex().data().toString(), Native(dir.Path().filename()));
  }

  void DidButtonsAskAndApplyTheDidRule_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("existingOnly");
    QTest::addColumn<QString>("path");
    QTest::newRow("create") << "B_SDBCreate"
                            << "/db/test"
                            << "Create a DID file" << false << "/db/test.did";
    QTest::newRow("create on .did.txt") << "B_SDBCreate"
                                        << "/db/a.did.txt"
                                        << "Create a DID file" << false << "/db/a.did.txt.did";
    QTest::newRow("open") << "B_SDBEdit"
                          << "/db/X.DiD"
                          << "Open a DID file" << true << "/db/X.DiD";
    QTest::newRow("renamer") << "B_SDBRename"
                             << "/db/collection"
                             << "Open a DID file" << true << "/db/collection.did";
  }

  void DidButtonsAskAndApplyTheDidRule() {
    QFETCH(QString, button);
    QFETCH(QString, answer);
    QFETCH(QString, title);
    QFETCH(bool, existingOnly);
    QFETCH(QString, path);
    FakeDialogs dialogs;
    dialogs.answers << answer;
    TForm1 window;
    window.findChild<QPushButton*>(button)->click();
    QCOMPARE(dialogs.requests.size(), size_t{1});
    const FileDialogRequest& request = dialogs.requests.front();
    QCOMPARE(request.title, title);
    QCOMPARE(request.filter, QString("Disk Image Database (*.did)"));
    QCOMPARE(request.folder, QDir::homePath());
    QCOMPARE(request.existingOnly, existingOnly);
    // Only a name to create asks before it takes an existing file.
    QCOMPARE(request.confirmOverwrite, button == "B_SDBCreate");
    if (button == "B_SDBRename") {
      QCOMPARE(QString::fromStdString(window.RenamerRequestState().path), path);
      QCOMPARE(window.findChildren<TF_Scan*>().size(), qsizetype{1});
    } else {
      QCOMPARE(QString::fromStdString(window.DidRequest().path), path);
      QCOMPARE(window.DidRequest().createNew, button == "B_SDBCreate");
    }
  }

  void CancelledDialogsChangeAndOpenNothing() {
    FakeDialogs dialogs;
    TForm1 window;
    for (const char* button : {"B_SDBCreate", "B_SDBEdit", "B_SDBRename"}) {
      window.findChild<QPushButton*>(button)->click();
    }
    QCOMPARE(dialogs.requests.size(), size_t{3});
    QVERIFY(window.DidRequest().path.empty());
    QVERIFY(window.RenamerRequestState().path.empty());
    QVERIFY(window.findChildren<TF_Scan*>().isEmpty());
  }

  void EachRenamerClickOpensAWindowOnItsOwnDid() {
    TempDir dir;
    DidBuilder db;
    db.Game("Sample Game");
    const std::string good = (dir.Path() / "good.did").string();
    QVERIFY(!WriteDatabase(db.Database(), good));
    FakeDialogs dialogs;
    dialogs.answers << QString::fromStdString(good) << Native(dir.Path() / "missing.did");
    TForm1 window;
    window.findChild<QPushButton*>("B_SDBRename")->click();
    window.findChild<QPushButton*>("B_SDBRename")->click();
    const QList<TF_Scan*> renamers = window.findChildren<TF_Scan*>();
    QCOMPARE(renamers.size(), qsizetype{2});
    QVERIFY(renamers[0]->isVisible() && renamers[1]->isVisible());
    QVERIFY(renamers[0]->isWindow());
    QCOMPARE(renamers[0]->HasDatabase() + renamers[1]->HasDatabase(), 1);
  }

  void OpensAtItsOwnSizeWithItsOwnCaption() {
    SetUpApplication(*qApp);
    TForm1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.size(), QSize(363, 234));
    // The application title is not appended to window captions.
    QCOMPARE(window.windowTitle(), QString("Moswit v0.80 beta"));
    QCOMPARE(window.windowHandle()->title(), QString("Moswit v0.80 beta"));
    QCOMPARE(QGuiApplication::applicationDisplayName(), QString("[Moswit v1.00]"));
  }

  // The browser starts on the home folder: a folder is not inspected.
  void InspectorOnAFolderDoesNothing() {
    FakeDialogs dialogs;
    TForm1 window;
    const qsizetype before = window.findChildren<QWidget*>().size();
    window.findChild<QPushButton*>("B_Inspector")->click();
    QCOMPARE(window.findChildren<QWidget*>().size(), before);
    QVERIFY(dialogs.requests.empty());
    QVERIFY(dialogs.messages.isEmpty());
    QVERIFY(window.InspectorTable().InSlotOrder().empty());
  }

  // Other windows open an image through the opener the main window
  // installs: an Inspector in its table, on the member asked for, in front.
  void OtherWindowsOpenInspectorsThroughTheMainWindow() {
    FakeDialogs dialogs;
    TempDir dir;
    const Bytes first = AdfBuilder().Build();
    AdfBuilder second;
    second.AddFile("/second", PatternBytes(100, 2));
    const std::string zip =
        dir.Write("set.zip", MakeZip({{"one.adf", first}, {"two.adf", second.Build()}}));
    {
      TForm1 window;
      QVERIFY(OpenImageInInspector({zip, 1}));
      const std::vector<TDI_Inspector*> open = window.InspectorTable().InSlotOrder();
      QCOMPARE(open.size(), size_t{1});
      QCOMPARE(open[0]->FileName(), zip + "/two.adf");
      // An image that cannot be read: a message, no Inspector.
      QVERIFY(OpenImageInInspector({(dir.Path() / "none.adf").string()}));
      QCOMPARE(window.InspectorTable().InSlotOrder().size(), size_t{1});
      QCOMPARE(dialogs.messages.size(), 1);
      delete open[0];
    }
    // Gone with the main window.
    QVERIFY(!OpenImageInInspector({zip}));
  }

  // A DID that a DID Editor holds, however its path is spelt and by any of
  // its names, is not opened in a second one: "Open DID" and "Create DID"
  // bring that editor up.
  void ADidOpenInAnEditorIsNotOpenedTwice() {
    TempDir dir;
    for (const char* name : {"a.did", "b.did"}) QVERIFY(!WriteDatabase({}, dir.Path() / name));
    std::filesystem::create_directory_symlink(dir.Path(), dir.Path() / "link");
    std::filesystem::create_hard_link(dir.Path() / "a.did", dir.Path() / "hard.did");
    FakeDialogs dialogs;
    dialogs.answers << Native(dir.Path() / "a.did") << Native(dir.Path() / "." / "a")
                    << Native(dir.Path() / "link" / "a.did") << Native(dir.Path() / "hard.did")
                    << Native(dir.Path() / "b.did");
    TForm1 window;
    window.findChild<QPushButton*>("B_SDBEdit")->click();
    auto* first = window.findChild<TF_DatabaseEdit*>();
    first->showMinimized();
    AppendGame(*first->Database());
    window.findChild<QPushButton*>("B_SDBEdit")->click();
    window.findChild<QPushButton*>("B_SDBCreate")->click();
    window.findChild<QPushButton*>("B_SDBEdit")->click();
    QCOMPARE(window.findChildren<TF_DatabaseEdit*>().size(), qsizetype{1});
    QVERIFY(!first->isMinimized() && first->Database()->games.Size() == 1);
    window.findChild<QPushButton*>("B_SDBEdit")->click();
    QCOMPARE(window.findChildren<TF_DatabaseEdit*>().size(), qsizetype{2});
    // One that has closed is gone from the count.
    first->findChild<QPushButton*>("B_Cancel")->click();
    dialogs.answers << Native(dir.Path() / "a.did");
    window.findChild<QPushButton*>("B_SDBEdit")->click();
    QCOMPARE(window.findChildren<TF_DatabaseEdit*>().size(), qsizetype{3});
  }

  // The browser starts on the home folder, in view once the folders above
  // it have loaded.
  void StartsWithTheHomeFolderInView() {
    TempDir home;  // below /tmp, far down the root folder's list
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(Native(home.Path())));
    TForm1 window;
    qputenv("HOME", savedHome);
    window.show();
    auto* view = window.findChild<QTreeView*>("STV_FileBrowser");
    QCOMPARE(view->currentIndex().data(QFileSystemModel::FilePathRole).toString(),
             Native(home.Path()));
    const auto inView = [view] {
      return view->viewport()->rect().contains(view->visualRect(view->currentIndex()));
    };
    QTRY_VERIFY(inView());
    QTest::qWait(500);  // the folders go on loading
    QVERIFY(inView());
  }

  // The program's own loop: closing the main window while a Renamer scans
  // ends the loop, stops the scan between images and joins its worker.
  void ClosingTheMainWindowEndsTheProgramAndItsScan() {
    TempDir dir;
    DidBuilder db;
    db.Game("Sample Game");
    const std::string did = (dir.Path() / "sample.did").string();
    QVERIFY(!WriteDatabase(db.Database(), did));
    const std::string first = dir.Write("images/img0.adf", AdfBuilder().Build());
    for (int i = 1; i < 5'000; ++i) {
      std::filesystem::create_hard_link(
          first, dir.Path() / "images" / ("img" + std::to_string(i) + ".adf"));
    }
    FakeDialogs dialogs;
    dialogs.answers << Native(did);
    QPointer<TF_Scan> renamer;
    QPointer<QThread> worker;
    int rowsSeen = -1;
    QTimer::singleShot(0, [&] {
      TForm1* main = nullptr;
      for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* form = qobject_cast<TForm1*>(top)) main = form;
      }
      QVERIFY(main);
      main->findChild<QPushButton*>("B_SDBRename")->click();
      renamer = main->findChild<TF_Scan*>();
      QVERIFY(renamer);
      renamer->findChild<QLineEdit*>("ED_Source")->setText(Native(dir.Path() / "images") + "/");
      renamer->findChild<QPushButton*>("B_Start")->click();
      worker = renamer->findChild<QThread*>();
      // Close once the scan is under way, through the window's close box.
      auto* poll = new QTimer(main);
      connect(poll, &QTimer::timeout, [&, main, poll] {
        auto* list = renamer->findChild<QTreeWidget*>("LV_Results");
        if (list->topLevelItemCount() == 0) return;
        rowsSeen = list->topLevelItemCount();
        poll->stop();
        QVERIFY(!renamer->MayClose());
        QVERIFY(main->close());
      });
      poll->start(5);
    });
    QCOMPARE(RunMoswit(*qApp), 0);
    QCOMPARE(rowsSeen, 5'000);
    QVERIFY(renamer.isNull());
    QVERIFY(worker.isNull() || worker->isFinished());
  }
};

}  // namespace moswit::test

QTEST_MAIN(moswit::test::MainWindowTest)
#include "mainwindow_test.moc"
