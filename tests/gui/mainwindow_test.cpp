// The main window's controls, its file browser and the DID dialogs, and the
// About box.
#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTextBlock>
#include <QTextEdit>
#include <QTreeView>
#include <QtTest>

#include "app/aboutbox.h"
#include "app/aboutdialog.h"
#include "app/mainwindow.h"
#include "database/didwriter.h"
#include "fakedialogs.h"
#include "scan/renamerwindow.h"
#include "suites.h"
#include "support/didbuilder.h"
#include "support/tempdir.h"

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
  }

  void ControlsBearTheirNamesAndCaptionsInOrder() {
    TForm1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.objectName(), QString("TForm1"));
    QCOMPARE(window.windowTitle(), QString("Moswit v0.80 beta"));
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
    const QStringList expected = {"GAME.ZIP", "folder", "game.adf", "x.adf"};
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
    QVERIFY(WriteDatabase(db.Database(), good).empty());
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

  void ToolButtonsWithoutTheirToolDoNothing() {
    FakeDialogs dialogs;
    TForm1 window;
    const qsizetype before = window.findChildren<QWidget*>().size();
    window.findChild<QPushButton*>("B_Inspector")->click();
    window.findChild<QPushButton*>("B_Compare")->click();
    QCOMPARE(window.findChildren<QWidget*>().size(), before);
    QVERIFY(dialogs.requests.empty());
    QVERIFY(window.InspectorTable().InSlotOrder().empty());
  }
};

class AboutBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void EachClickShowsANewBoxWithTheCentredText() {
    TForm1 window;
    window.findChild<QPushButton*>("B_About")->click();
    window.findChild<QPushButton*>("B_About")->click();
    const QList<TForm2*> boxes = window.findChildren<TForm2*>();
    QCOMPARE(boxes.size(), qsizetype{2});
    for (TForm2* box : boxes) {
      QVERIFY(box->isVisible());
      QCOMPARE(box->windowTitle(), QString("About Moswit"));
      QVERIFY(box->findChildren<QPushButton*>().isEmpty());
      auto* memo = box->findChild<QTextEdit*>();
      QVERIFY(memo && memo->isReadOnly());
      QCOMPARE(memo->toPlainText(), QString::fromStdString(AboutText()));
      QCOMPARE(memo->document()->blockCount(), 18);
      for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next()) {
        QCOMPARE(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
      }
    }
  }

  void ClosingOnlyHidesTheBox() {
    TForm1 window;
    window.findChild<QPushButton*>("B_About")->click();
    QPointer<TForm2> box = window.findChild<TForm2*>();
    QVERIFY(box->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!box.isNull());
    QVERIFY(box->isHidden());
  }

  void EveryLineFitsTheBox() {
    TForm2 box;
    auto* memo = box.findChild<QTextEdit*>();
    const QFontMetrics metrics(memo->font());
    for (std::string_view line : AboutLines()) {
      QVERIFY(metrics.horizontalAdvance(QString::fromLatin1(
                  line.data(), static_cast<qsizetype>(line.size()))) < box.width());
    }
  }
};

std::unique_ptr<QObject> MakeMainWindowTest() { return std::make_unique<MainWindowTest>(); }
std::unique_ptr<QObject> MakeAboutBoxTest() { return std::make_unique<AboutBoxTest>(); }

}  // namespace moswit::test

#include "mainwindow_test.moc"
