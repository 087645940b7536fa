// SPDX-License-Identifier: GPL-2.0-or-later
// The Collection window on a report built from scan outcomes: its states,
// filter, Enter and double-click, and its menu through the dialog seam.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTreeView>
#include <QtTest>
#include <filesystem>

#include "collection/window/collectionmodel.h"
#include "collection/window/collectionwindow.h"
#include "fakedialogs.h"
#include "gui/inspectoropener.h"
#include "support/adfbuilder.h"
#include "support/didbuilder.h"
#include "support/tempdir.h"

namespace moswit::test {

namespace {

QString Native(const std::filesystem::path& path) { return QFile::decodeName(path.c_str()); }

}  // namespace

// Alpha: A1 have, A2 missing (known by its whole image); Beta: B1 partial;
// one unknown image.
class CollectionWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // No version lists the disks: each is named by its volume name alone.
    GameRecord& alpha = db_.Game("Alpha", "Soft");
    DiskRecord& a1 = db_.Disk(alpha, "A1");
    db_.WholeImageDisk(alpha, "A2", PatternBytes(901'120, 7));
    GameRecord& beta = db_.Game("Beta", "Soft");
    DiskRecord& b1 = db_.Disk(beta, "B1");
    ScanOutcomes outcomes;
    const auto add = [&outcomes](const char* relative, const GameRecord* game,
                                 const DiskRecord* disk, uint32_t accuracy, const char* codes) {
      const size_t i = outcomes.images.size();
      ImageOutcome& image = outcomes.images.emplace_back();
      image.path = std::string("/collection/") + relative;
      image.relative = relative;
      std::vector<GameMatch> line;
      if (disk != nullptr) line.push_back({game, disk, accuracy, codes, 1});
      AddLine(outcomes, i, line);
    };
    add("a1.adf", &alpha, &a1, 1000, "");
    add("set.zip/b1.adf", &beta, &b1, 950, "[mm1]");
    add("stray.adf", nullptr, nullptr, 0, "");
    outcomes.images[1].path = "/collection/set.zip";
    outcomes.images[1].member = 3;
    outcomes_ = outcomes;
  }

  void init() {
    dir_ = std::make_unique<TempDir>();
    window_ = new TF_Collection(db_.Database());
    window_->SetReport(BuildCollectionReport(db_.Database(), outcomes_),
                       {"/collection/", (dir_->Path() / "target").string() + "/"});
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
  }

  void cleanup() {
    delete window_.data();
    RemoveInspectorOpener(this);
    dir_.reset();
  }

  void ShowsEveryDiskByGameWithItsStateAndTheCounts() {
    QCOMPARE(Rows(), (QStringList{"Alpha | 1 of 2 have", "  A1 | have | a1.adf | 1000 | ",
                                  "  A2 | missing |  |  | ", "Beta | partial",
                                  "  B1 | partial | set.zip/b1.adf | 950 | [mm1]",
                                  "Unknown images | unknown",
                                  "  <unidentified> | unknown | "
                                  "stray.adf |  | "}));
    // Each state has its mark, in colours of its own.
    QSet<qint64> marks;
    for (const QModelIndex& group : Groups()) {
      for (int i = 0; i < Model()->rowCount(group); ++i) {
        const auto mark = Model()->index(i, 1, group).data(Qt::DecorationRole).value<QIcon>();
        QVERIFY(!mark.isNull());
        marks.insert(mark.pixmap(16).toImage().pixel(8, 8));
      }
    }
    QCOMPARE(marks.size(), 4);
    QCOMPARE(Status(), QString("3 disks: 1 have, 1 partial, 1 missing; 1 unknown images"));
  }

  // Typing narrows the tree at once; the toggles narrow it to their states,
  // and the status line says how much is shown.
  void FilterAndTogglesNarrowTheTree() {
    QLineEdit* filter = window_->findChild<QLineEdit*>("ED_Filter");
    auto* missing = window_->findChild<QCheckBox*>("CB_OnlyMissing");
    auto* partial = window_->findChild<QCheckBox*>("CB_OnlyPartial");
    QTest::keyClicks(filter, "SET.ZIP");
    QCOMPARE(Rows(),
             (QStringList{"Beta | partial", "  B1 | partial | set.zip/b1.adf | 950 | [mm1]"}));
    QVERIFY(Status().endsWith("; shown: 1 disk, 0 unknown images"));
    filter->clear();
    missing->click();
    QCOMPARE(Rows(), (QStringList{"Alpha | 1 of 2 have", "  A2 | missing |  |  | "}));
    partial->click();
    QCOMPARE(Rows().size(), 4);
    missing->click();
    partial->click();
    QCOMPARE(Rows().size(), 7);
    QCOMPARE(Status(), QString("3 disks: 1 have, 1 partial, 1 missing; 1 unknown images"));
  }

  // Tab walks the filter, the toggles and the tree; Enter in the filter goes
  // on to the tree.
  void KeyboardReachesEveryControl() {
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_));
    QLineEdit* filter = window_->findChild<QLineEdit*>("ED_Filter");
    filter->setFocus();
    QStringList order;
    for (int i = 0; i < 4; ++i) {
      order << QApplication::focusWidget()->objectName();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(order, (QStringList{"ED_Filter", "CB_OnlyMissing", "CB_OnlyPartial", "TV_Disks"}));
    filter->setFocus();
    QTest::keyClick(filter, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), Tree());
  }

  // A double-click or Enter hands the row's image, an archive's member
  // included, to the opener the main window installs; a disk without an
  // image, or no opener, beeps.
  void DoubleClickAndEnterOpenTheImageInTheInspector() {
    FakeDialogs dialogs;
    std::vector<InspectorRequest> opened;
    InstallInspectorOpener(
        this, [&opened](const InspectorRequest& request) { opened.push_back(request); });
    const QModelIndex alpha = Groups().at(0);
    const QModelIndex b1 = Model()->index(0, 2, Groups().at(1));
    DoubleClick(b1);
    QCOMPARE(opened.size(), size_t{1});
    QCOMPARE(opened[0].imagePath, std::string("/collection/set.zip"));
    QCOMPARE(opened[0].member, uint32_t{3});
    Tree()->setFocus();
    Tree()->setCurrentIndex(Model()->index(0, 0, alpha));
    QTest::keyClick(Tree(), Qt::Key_Return);
    QCOMPARE(opened.size(), size_t{2});
    QCOMPARE(opened[1].imagePath, std::string("/collection/a1.adf"));
    QCOMPARE(dialogs.beeps, 0);
    DoubleClick(Model()->index(1, 0, alpha));  // A2 is missing
    QCOMPARE(opened.size(), size_t{2});
    QCOMPARE(dialogs.beeps, 1);
    RemoveInspectorOpener(this);
    DoubleClick(b1);
    QCOMPARE(dialogs.beeps, 2);
  }

  void MenuCopiesNamesAndSavesTheReportAndTheMissing() {
    Tree()->customContextMenuRequested(QPoint(5, 5));
    auto* menu = window_->findChild<QMenu*>("PU_Collection");
    QTRY_VERIFY(menu->isVisible());
    menu->hide();

    // The Beta row and the A1 row: each name once, in the tree's order.
    const QModelIndex a1 = Model()->index(0, 0, Groups().at(0));
    Tree()->selectionModel()->select(
        Groups().at(1), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    Tree()->selectionModel()->select(a1, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    Tree()->setFocus();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_));
    QTest::keyClick(Tree(), Qt::Key_C, Qt::ControlModifier);
    const CollectionReport& report = window_->Model().Tree().Report();
    QCOMPARE(QApplication::clipboard()->text(),
             QString::fromStdString(report.disks[0].name + "\n" + report.disks[2].name + "\n"));

    FakeDialogs dialogs;
    const std::filesystem::path saved = dir_->Path() / "report.txt";
    dialogs.answers << Native(saved);
    QTest::keyClick(window_, Qt::Key_S, Qt::ControlModifier);
    // It starts in the target folder, outside the collection.
    QCOMPARE(dialogs.requests.at(0).folder, Native(dir_->Path() / "target") + "/");
    QVERIFY(dialogs.requests[0].confirmOverwrite);
    const std::string text = ReportText(report);
    QCOMPARE(ReadFileBytes(saved.string()), Bytes(text.begin(), text.end()));
    QVERIFY(Status().startsWith("Report saved. "));

    const std::filesystem::path dat = dir_->Path() / "missing.dat";
    dialogs.answers << Native(dat);
    window_->findChild<QAction*>("MI_SaveMissing")->trigger();
    QCOMPARE(dialogs.requests.at(1).fileName, QString("missing.dat"));
    const Bytes written = ReadFileBytes(dat.string());
    const std::string xml(written.begin(), written.end());
    QVERIFY(xml.find("<rom name=\"" + report.disks[1].name + ".adf\" size=\"901120\"") !=
            std::string::npos);
    QCOMPARE(Status(), QString("1 missing disk written as a DAT."));
    QVERIFY(dialogs.messages.isEmpty());
  }

  // A DID whose missing disks are known by their files alone has nothing a
  // DAT can list: the window says so instead of asking for a file.
  void SavingMissingWithoutWholeImagesSaysWhy() {
    FakeDialogs dialogs;
    DidBuilder files;
    GameRecord& game = files.Game("Gamma");
    files.Version(game, {1});
    files.Disk(game, "G1");
    TF_Collection window(files.Database());
    window.SetReport(BuildCollectionReport(files.Database(), {}), {});
    window.findChild<QAction*>("MI_SaveMissing")->trigger();
    QVERIFY(dialogs.requests.empty());
    QVERIFY2(
        dialogs.messages.value(0).startsWith("The missing disk is not known by its whole image"),
        qPrintable(dialogs.messages.value(0)));
  }

  // The copy item asks the window's owner, only while it may copy.
  void CopyToTargetAsksTheOwnerWhenEnabled() {
    QSignalSpy asked(window_.data(), &TF_Collection::CopyToTargetRequested);
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_));
    QTest::keyClick(window_, Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(asked.size(), 0);
    window_->SetCopyEnabled(true);
    QTest::keyClick(window_, Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(asked.size(), 1);
  }

 private:
  QTreeView* Tree() const { return window_->findChild<QTreeView*>("TV_Disks"); }
  QAbstractItemModel* Model() const { return Tree()->model(); }
  QString Status() const { return window_->findChild<QLabel*>("P_Status")->text(); }

  QList<QModelIndex> Groups() const {
    QList<QModelIndex> groups;
    for (int i = 0; i < Model()->rowCount(); ++i) groups << Model()->index(i, 0);
    return groups;
  }

  // Every row as its cells joined by " | ", a disk indented under its game;
  // a game row shows its name and state. Every game must be open.
  QStringList Rows() const {
    QStringList rows;
    for (const QModelIndex& group : Groups()) {
      if (!Tree()->isExpanded(group)) return {"closed: " + group.data().toString()};
      rows << group.data().toString() + " | " + group.siblingAtColumn(1).data().toString();
      for (int i = 0; i < Model()->rowCount(group); ++i) {
        QStringList cells;
        for (int column = 0; column < Model()->columnCount(); ++column) {
          cells << Model()->index(i, column, group).data().toString();
        }
        rows << "  " + cells.join(" | ");
      }
    }
    return rows;
  }

  void DoubleClick(const QModelIndex& index) {
    Tree()->scrollTo(index);
    const QPoint at = Tree()->visualRect(index).center();
    // The view takes a double-click on the row the first click pressed.
    QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(Tree()->viewport(), Qt::LeftButton, {}, at);
  }

  DidBuilder db_;
  ScanOutcomes outcomes_;
  std::unique_ptr<TempDir> dir_;
  QPointer<TF_Collection> window_;
};

}  // namespace moswit::test

QTEST_MAIN(moswit::test::CollectionWindowTest)
#include "collectionwindow_test.moc"
