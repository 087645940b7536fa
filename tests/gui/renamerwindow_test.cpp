// SPDX-License-Identifier: GPL-2.0-or-later
// The Renamer end to end on builder images in a temporary folder.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/window/mainwindow.h"
#include "collection/verifiedcopy.h"
#include "collection/window/collectionwindow.h"
#include "database/didwriter.h"
#include "database/standardname.h"
#include "fakedialogs.h"
#include "image/crc32.h"
#include "scan/window/renamerwindow.h"
#include "scan/window/renamerwindowworker.h"
#include "support/adfbuilder.h"
#include "support/didbuilder.h"
#include "support/tempdir.h"

namespace moswit::test {

namespace {

QString Native(const std::filesystem::path& path) { return QFile::decodeName(path.c_str()); }

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

}  // namespace

class RenamerTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    game_ = &db_.Game("Sample Game", "Sample Soft");
    db_.Version(*game_, {1});
    DiskRecord& disk = db_.Disk(*game_, "Sample");
    AdfBuilder builder;
    for (const auto& [path, contents] : std::vector<std::pair<std::string, Bytes>>{
             {"/s/startup-sequence", PatternBytes(30, 1)}, {"/game", PatternBytes(20'000, 2)}}) {
      builder.AddFile(path, contents);
      FileRecord& record = AppendFile(disk);
      record.path = path;
      record.size = static_cast<uint32_t>(contents.size());
      record.crc32 = Crc32(contents);
      record.attributes = kAttrGame;
    }
    good_ = builder.Build();
    diskName_ = StandardName(*game_, disk);
    name_ = QString::fromLatin1(diskName_) + " (1000)";
    did_ = (dbDir_.Path() / "sample.did").string();
    QVERIFY(!WriteDatabase(db_.Database(), did_));
  }

  void init() {
    dir_ = std::make_unique<TempDir>();
    window_ = new TF_Scan({did_});
    window_->show();
  }

  void cleanup() {
    delete window_.data();
    dir_.reset();
  }

  void ControlsCaptionsAndDefaults() {
    QCOMPARE(window_->objectName(), QString("TF_Scan"));
    QCOMPARE(window_->windowTitle(), QString("Renamer"));
    QCOMPARE(window_->size(), QSize(553, 480));
    const std::pair<const char*, const char*> groups[] = {{"GB_Results", "Scan Results"},
                                                          {"GB_Options", "Scan Options"}};
    for (const auto& [name, caption] : groups)
      QCOMPARE(window_->findChild<QGroupBox*>(name)->title(), QString(caption));
    const std::pair<const char*, const char*> labels[] = {
        {"Label1", "Source directory"}, {"Label2", "Target directory"}, {"P_Status", "Status"}};
    for (const auto& [name, caption] : labels)
      QCOMPARE(window_->findChild<QLabel*>(name)->text(), QString(caption));
    const std::pair<const char*, const char*> buttons[] = {
        {"B_SourceSelect", "..."}, {"B_TargetSelect", "..."}, {"B_Start", "Start Scan"}};
    for (const auto& [name, caption] : buttons) QCOMPARE(Button(name)->text(), QString(caption));
    QVERIFY(Button("B_Start")->isEnabled());
    for (const char* edit : {"ED_Source", "ED_Target"})
      QCOMPARE(Edit(edit)->text(), QDir::homePath() + "/");
    QTreeWidget* list = Results();
    QVERIFY(window_->findChild<QGroupBox*>("GB_Results")->isAncestorOf(list));
    const std::pair<const char*, int> columns[] = {
        {"ADF Name", 236}, {"Identified as ...", 235}, {"Acc", 46}};
    QCOMPARE(list->columnCount(), 3);
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(list->headerItem()->text(i), QString(columns[i].first));
      QCOMPARE(list->columnWidth(i), columns[i].second);
    }
    // The status line runs along the bottom edge, below the options.
    QVERIFY(window_->findChild<QLabel*>("P_Status")->y() >
            window_->findChild<QGroupBox*>("GB_Options")->y());
  }

  void ScanListsSortedRowsAndShowsTheirResults() {
    dir_->Write("A.adf", good_);
    dir_->Write("b.ADF", PatternBytes(10'000, 9));
    dir_->Write("sub/C.Adf", good_);
    dir_->Write("x.adf/D.adf", good_);
    for (const char* other : {"notes.txt", "game.adf.bak", "archive.zip"})
      dir_->Write(other, good_);
    FakeDialogs dialogs;
    Edit("ED_Source")->setText(Native(dir_->Path()) + "/");
    QVERIFY(Scan());
    // archive.zip is listed by its ending and loaded by its contents.
    QCOMPARE(Rows(), (QList<QStringList>{{"A", name_, ""},
                                         {"archive.zip", name_, ""},
                                         {"b", "<unidentified>", ""},
                                         {"sub/C", name_, ""},
                                         {"x.adf/D", name_, ""}}));
    QCOMPARE(Status(), QString("Ready."));
    QCOMPARE(dialogs.beeps, 4);
    auto* progress = window_->findChild<QProgressBar*>("PB_Progress");
    QCOMPARE(progress->maximum(), 5);
    QCOMPARE(progress->value(), 5);
    QVERIFY(Button("B_Start")->isEnabled());
    QVERIFY(window_->MayClose());
  }

  void RowsShowTheirWholeLineAndCopyAsCaptionAndResult() {
    dir_->Write("A.adf", good_);
    dir_->Write("b.adf", PatternBytes(10'000, 9));
    dir_->Write("c.adf", good_);
    Edit("ED_Source")->setText(Native(dir_->Path()) + "/");
    QVERIFY(Scan());
    QCOMPARE(Results()->topLevelItem(0)->toolTip(1), "A\n" + name_);
    QCOMPARE(Results()->topLevelItem(1)->toolTip(0), QString("b\n<unidentified>"));
    Results()->topLevelItem(0)->setSelected(true);
    Results()->topLevelItem(2)->setSelected(true);
    QTest::keySequence(Results(), QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), "A\t" + name_ + "\nc\t" + name_ + "\n");
    // "Identified as ..." takes the room a wider window gives.
    window_->resize(900, 480);
    QTRY_VERIFY(Results()->columnWidth(1) > 500);
    QCOMPARE(Results()->columnWidth(0), 236);
    QCOMPARE(Results()->columnWidth(2), 46);
  }

  void EnterStartsTheScanFromTheSourceFieldOrTheButton() {
    dir_->Write("A.adf", good_);
    Edit("ED_Source")->setText(Native(dir_->Path()) + "/");
    QSignalSpy ended(window_.data(), &TF_Scan::ScanEnded);
    QTest::keyClick(Edit("ED_Source"), Qt::Key_Return);
    QVERIFY(ended.wait(30'000));
    Button("B_Start")->setFocus();
    QTest::keyClick(Button("B_Start"), Qt::Key_Enter);
    QVERIFY(ended.wait(30'000));
    QCOMPARE(ended.count(), 2);
    QCOMPARE(Results()->topLevelItemCount(), 1);
  }

  void UnreadableImageGetsAReasonAndTheScanGoesOn() {
    dir_->Write("a broken.adf", Bytes{1, 2});
    dir_->Write("b good.adf", good_);
    Edit("ED_Source")->setText(Native(dir_->Path()));
    QVERIFY(Scan());
    QCOMPARE(Rows(), (QList<QStringList>{{"a broken", "<unreadable: Read beyond end of file>", ""},
                                         {"b good", name_, ""}}));
    QCOMPARE(Status(), QString("Ready."));
  }

  void EmptyOrMissingFolderEndsReadyWithoutRows() {
    for (const QString& folder : {Native(dir_->Path()) + "/", Native(dir_->Path()) + "/none/"}) {
      Edit("ED_Source")->setText(folder);
      QVERIFY(Scan());
      QCOMPARE(Results()->topLevelItemCount(), 0);
      QCOMPARE(Status(), QString("Ready."));
    }
  }

  void SecondScanClearsTheOldRows() {
    dir_->Write("one.adf", good_);
    dir_->Write("two.adf", good_);
    Edit("ED_Source")->setText(Native(dir_->Path()) + "/");
    QVERIFY(Scan());
    QCOMPARE(Results()->topLevelItemCount(), 2);
    std::filesystem::remove(dir_->Path() / "one.adf");
    dir_->Write("three.adf", PatternBytes(100'000, 3));
    QVERIFY(Scan());
    QCOMPARE(Rows(), (QList<QStringList>{{"three", "<unidentified>", ""}, {"two", name_, ""}}));
  }

  void CloseIsRefusedWhileScanningAndAcceptedAfter() {
    for (int i = 0; i < 50; ++i) dir_->Write("img" + std::to_string(i) + ".adf", good_);
    Edit("ED_Source")->setText(Native(dir_->Path()) + "/");
    QSignalSpy ended(window_.data(), &TF_Scan::ScanEnded);
    Button("B_Start")->click();
    // Both happen before the worker runs, so a second click starts nothing.
    QVERIFY(!Button("B_Start")->isEnabled());
    QVERIFY(!window_->MayClose());
    FakeDialogs dialogs;
    QVERIFY(!window_->close());
    QCOMPARE(dialogs.beeps, 1);  // the refusal is heard
    QVERIFY(window_->isVisible());
    QVERIFY(ended.wait(30'000));
    QCOMPARE(ended.count(), 1);
    QCOMPARE(Results()->topLevelItemCount(), 50);
    QVERIFY(window_->close());
    QTRY_VERIFY(window_.isNull());
  }

  void UnreadableDatabaseKeepsStartDisabled() {
    const std::string missing = (dir_->Path() / "missing.did").string();
    QPointer<TF_Scan> window = new TF_Scan({missing});
    QVERIFY(!window->HasDatabase());
    auto* status = window->findChild<QLabel*>("P_Status");
    QVERIFY2(status->text().contains(QString::fromStdString(missing)), qPrintable(status->text()));
    QVERIFY(!window->findChild<QPushButton*>("B_Start")->isEnabled());
    window->B_StartClick();
    QVERIFY(window->MayClose());
    QVERIFY(window->close());
  }

  // A DID that gives no disk identifies nothing: the window says why, with
  // the reader's warning when it left parts out.
  void ADidWithoutDisksSaysSo() {
    DidBuilder noDisks;
    noDisks.Game("Sample Game");
    const std::string empty = (dir_->Path() / "empty.did").string();
    QVERIFY(!WriteDatabase(noDisks.Database(), empty));
    const std::string noise = dir_->Write("noise.did", PatternBytes(20'000, 5));
    for (const auto& [did, warning] :
         {std::pair{empty, Native(empty) + " holds no disk, so no image can be identified."},
          std::pair{noise, Native(noise) + ": "}}) {
      FakeDialogs dialogs;
      TF_Scan window({did});
      const QString status = window.findChild<QLabel*>("P_Status")->text();
      QVERIFY2(status.startsWith(warning), qPrintable(status));
      QTRY_COMPARE(dialogs.messages, QStringList{status});
    }
    // Disks left after parts were passed over: the status line says so,
    // and the scan can start.
    const std::string partly = (dir_->Path() / "partly.did").string();
    std::filesystem::copy_file(did_, partly);
    std::ofstream(partly, std::ios::app | std::ios::binary) << "bogus 1\r\n";
    FakeDialogs dialogs;
    TF_Scan window({partly});
    const QString status = window.findChild<QLabel*>("P_Status")->text();
    QVERIFY2(status.startsWith(Native(partly) + ": 2 parts of the file were not understood"),
             qPrintable(status));
    QVERIFY(window.findChild<QPushButton*>("B_Start")->isEnabled());
    QCoreApplication::processEvents();
    QVERIFY(dialogs.messages.isEmpty());
  }

  void FolderButtonsSetTheirFieldToThePickedFolder() {
    FakeDialogs dialogs;
    dialogs.answers << "/some/where/No file selection needed"
                    << ""
                    << "/target/x";
    const QString target = Edit("ED_Target")->text();
    Button("B_SourceSelect")->click();
    QCOMPARE(Edit("ED_Source")->text(), QString("/some/where/"));
    Button("B_SourceSelect")->click();  // cancelled
    QCOMPARE(Edit("ED_Source")->text(), QString("/some/where/"));
    QCOMPARE(Edit("ED_Target")->text(), target);
    Button("B_TargetSelect")->click();
    QCOMPARE(Edit("ED_Target")->text(), QString("/target/"));
    QCOMPARE(Edit("ED_Source")->text(), QString("/some/where/"));
    QCOMPARE(dialogs.requests.size(), size_t{3});
    QCOMPARE(dialogs.requests[0].title, QString("Select source directory ..."));
    QCOMPARE(dialogs.requests[2].title, QString("Select target directory ..."));
    for (const FileDialogRequest& request : dialogs.requests) {
      QCOMPARE(request.fileName, QString("No file selection needed"));
      QVERIFY(!request.existingOnly);
    }
    QCOMPARE(dialogs.requests[1].folder, QString("/some/where/"));
  }

  // The result list's menu, by right click and by its shortcuts: the report
  // of the finished scan, then its good images copied to the target.
  void MenuSavesTheReportAndCopiesGoodImagesToTheTarget() {
    QVERIFY(!Action("MI_SaveReport")->isEnabled());
    QVERIFY(!Action("MI_CopyToTarget")->isEnabled());
    dir_->Write("src/A.adf", good_);
    dir_->Write("src/b.adf", good_);
    dir_->Write("src/c.adf", PatternBytes(10'000, 9));
    Edit("ED_Source")->setText(Native(dir_->Path() / "src") + "/");
    Edit("ED_Target")->setText(Native(dir_->Path() / "target") + "/");
    QVERIFY(Scan());
    Results()->customContextMenuRequested(QPoint(5, 5));
    auto* menu = window_->findChild<QMenu*>("PU_Results");
    QTRY_VERIFY(menu->isVisible());
    menu->hide();
    QVERIFY(Action("MI_SaveReport")->isEnabled());
    QVERIFY(!Action("MI_StopCopying")->isEnabled());

    FakeDialogs dialogs;
    const std::filesystem::path report = dir_->Path() / "report.txt";
    dialogs.answers << Native(report);
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_));
    QTest::keyClick(window_, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(dialogs.requests.at(0).confirmOverwrite);
    // It starts in the target folder, outside the collection.
    QCOMPARE(dialogs.requests.at(0).folder, Edit("ED_Target")->text());
    const std::string text = "have\t" + diskName_ + "\tA.adf\t1000\t\t2\nunknown\t\tc.adf\t\t\t\n";
    QCOMPARE(ReadFileBytes(report.string()), Bytes(text.begin(), text.end()));

    const std::filesystem::path copy = dir_->Path() / "target" / (diskName_ + ".adf");
    dialogs.choices << 1;  // Cancel
    Action("MI_CopyToTarget")->trigger();
    QVERIFY(dialogs.questions.at(0).contains("1 image to copy, 0 already there"));
    QVERIFY(!std::filesystem::exists(copy.parent_path()));
    QSignalSpy ended(window_.data(), &TF_Scan::CopyEnded);
    dialogs.choices << 0;  // Copy
    QTest::keyClick(window_, Qt::Key_T, Qt::ControlModifier);
    QVERIFY(ended.wait(30'000));
    QCOMPARE(dialogs.messages, QStringList{"Copied 1, same 0, conflicts 0, failed 0."});
    QCOMPARE(ReadFileBytes(copy.string()), good_);
  }

  // The question counts what cannot be copied, and a copy is checked
  // against the image the scan identified: a source rewritten since fails.
  void CopyingKnowsConflictsAndChangedSources() {
    dir_->Write("src/A.adf", good_);
    Edit("ED_Source")->setText(Native(dir_->Path() / "src") + "/");
    Edit("ED_Target")->setText(Native(dir_->Path() / "target") + "/");
    QVERIFY(Scan());
    std::string lower = diskName_ + ".adf";
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string clash = dir_->Write("target/" + lower, good_);
    FakeDialogs dialogs;
    dialogs.choices << 1;  // Cancel
    Action("MI_CopyToTarget")->trigger();
    QVERIFY2(dialogs.questions.at(0).contains(
                 "0 images to copy, 0 already there (compared, and left as they are), 1 conflict"),
             qPrintable(dialogs.questions[0]));

    std::filesystem::remove(clash);
    Bytes changed = good_;
    changed[1000] ^= 1;
    dir_->Write("src/A.adf", changed);
    QSignalSpy ended(window_.data(), &TF_Scan::CopyEnded);
    dialogs.choices << 0;  // Copy
    Action("MI_CopyToTarget")->trigger();
    QVERIFY(ended.wait(30'000));
    QVERIFY2(dialogs.messages.at(0).startsWith("Copied 0, same 0, conflicts 0, failed 1.") &&
                 dialogs.messages[0].contains(kChangedSinceScan),
             qPrintable(dialogs.messages[0]));
    QVERIFY(std::filesystem::is_empty(dir_->Path() / "target"));
  }

  // Copying runs on until done or stopped by Escape; meanwhile the window
  // refuses to close, and deleting it stops the copying and waits for it.
  void CopyingStopsOnEscapeAndHoldsTheWindowOpen() {
    DidBuilder many;
    for (int g = 0; g < 300; ++g) {
      GameRecord& game = many.Game("Game " + std::to_string(g));
      many.Version(game, {1});
      FileRecord& record = AppendFile(many.Disk(game, "D"));
      const Bytes contents = PatternBytes(1'000, static_cast<uint32_t>(g));
      record.path = "/f";
      record.size = 1'000;
      record.crc32 = Crc32(contents);
      AdfBuilder builder;
      builder.AddFile("/f", contents);
      dir_->Write("src/" + std::to_string(g) + ".adf", builder.Build());
    }
    const std::string did = (dir_->Path() / "many.did").string();
    QVERIFY(!WriteDatabase(many.Database(), did));
    delete window_.data();
    window_ = new TF_Scan({did});
    window_->show();
    Edit("ED_Source")->setText(Native(dir_->Path() / "src"));
    Edit("ED_Target")->setText(Native(dir_->Path() / "target"));
    QVERIFY(Scan());
    FakeDialogs dialogs;
    dialogs.choices << 0 << 0;
    QSignalSpy ended(window_.data(), &TF_Scan::CopyEnded);
    Action("MI_CopyToTarget")->trigger();
    QVERIFY(window_->Copying());
    QVERIFY(!window_->close());
    QCOMPARE(dialogs.beeps, 1);
    QVERIFY(!Action("MI_CopyToTarget")->isEnabled());
    window_->activateWindow();
    QTest::keyClick(window_, Qt::Key_Escape);
    QVERIFY(ended.wait(30'000));
    QVERIFY2(dialogs.messages.at(0).startsWith("Stopped. Copied "),
             qPrintable(dialogs.messages[0]));
    QCOMPARE(Status(), dialogs.messages.at(0));
    // The bar stays where the copying stopped.
    auto* progress = window_->findChild<QProgressBar*>("PB_Progress");
    QVERIFY(progress->value() < progress->maximum());
    Action("MI_CopyToTarget")->trigger();
    QVERIFY(window_->Copying());
    QElapsedTimer clock;
    clock.start();
    delete window_.data();
    QVERIFY(clock.elapsed() < 5'000);
  }

  void TenThousandImagesKeepTheWindowResponsive() {
    const std::string first = dir_->Write("many/img00000.adf", good_);
    for (int i = 1; i < 10'000; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "img%05d.adf", i);
      std::filesystem::create_hard_link(first, dir_->Path() / "many" / name);
    }
    FakeDialogs dialogs;
    dialogs.answers << "/picked/while/scanning/x";
    Edit("ED_Source")->setText(Native(dir_->Path() / "many") + "/");
    PaintCounter counter;
    Results()->viewport()->installEventFilter(&counter);
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longestGap = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] {
      longestGap = std::max(longestGap, clock.elapsed() - last);
      last = clock.elapsed();
    });
    QSignalSpy ended(window_.data(), &TF_Scan::ScanEnded);
    clock.start();
    ticker.start(10);
    Button("B_Start")->click();
    // While the scan runs: the "..." buttons work and the list repaints.
    QTRY_VERIFY_WITH_TIMEOUT(Results()->topLevelItemCount() == 10'000, 30'000);
    if (ended.isEmpty()) {
      Button("B_SourceSelect")->click();
      QCOMPARE(Edit("ED_Source")->text(), QString("/picked/while/scanning/"));
      const int before = counter.paints;
      Results()->viewport()->update();
      QTRY_VERIFY(counter.paints > before || !ended.isEmpty());
    } else {
      qInfo("the scan ended before the window could be tried during it");
    }
    QVERIFY(ended.count() == 1 || ended.wait(120'000));
    ticker.stop();
    QCOMPARE(Status(), QString("Ready."));
    QCOMPARE(Results()->topLevelItem(9'999)->text(0), QString("img09999"));
    QCOMPARE(Results()->topLevelItem(9'999)->text(1), name_);
    QCOMPARE(dialogs.beeps, 10'000);
    QVERIFY2(longestGap < 1'000, qPrintable(QString::number(longestGap)));
  }

  // Ctrl+L opens the Collection window on the finished scan; it follows
  // the next scan, and its copy item is the Renamer's copy.
  void CollectionWindowShowsTheScanAndCopiesThroughTheRenamer() {
    QVERIFY(!Action("MI_Collection")->isEnabled());
    dir_->Write("src/A.adf", good_);
    Edit("ED_Source")->setText(Native(dir_->Path() / "src") + "/");
    Edit("ED_Target")->setText(Native(dir_->Path() / "target") + "/");
    QVERIFY(Scan());
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_));
    QTest::keyClick(window_, Qt::Key_L, Qt::ControlModifier);
    QPointer<TF_Collection> collection = window_->findChild<TF_Collection*>();
    QVERIFY(collection && collection->isVisible());
    const auto status = [&collection] {
      return collection->findChild<QLabel*>("P_Status")->text();
    };
    QCOMPARE(status(), QString("1 disks: 1 have, 0 partial, 0 missing; 0 unknown images"));

    std::filesystem::remove(dir_->Path() / "src/A.adf");
    QVERIFY(Scan());
    QCOMPARE(status(), QString("1 disks: 0 have, 0 partial, 1 missing; 0 unknown images"));
    dir_->Write("src/A.adf", good_);
    QVERIFY(Scan());

    FakeDialogs dialogs;
    dialogs.choices << 1;  // Cancel
    collection->findChild<QAction*>("MI_CopyToTarget")->trigger();
    QVERIFY2(dialogs.questions.value(0).contains("1 image to copy"),
             qPrintable(dialogs.questions.value(0)));
    // The Collection window goes with its Renamer.
    delete window_.data();
    QVERIFY(!collection);
  }

  void ClosingTheMainWindowDuringAScanEndsCleanly() {
    const std::string first = dir_->Write("img0.adf", good_);
    for (int i = 1; i < 5'000; ++i) {
      std::filesystem::create_hard_link(first, dir_->Path() / ("img" + std::to_string(i) + ".adf"));
    }
    FakeDialogs dialogs;
    dialogs.answers << QString::fromStdString(did_);
    auto* main = new TForm1;
    main->show();
    main->findChild<QPushButton*>("B_SDBRename")->click();
    QPointer<TF_Scan> renamer = main->findChild<TF_Scan*>();
    QVERIFY(renamer);
    renamer->findChild<QLineEdit*>("ED_Source")->setText(Native(dir_->Path()) + "/");
    renamer->findChild<QPushButton*>("B_Start")->click();
    QPointer<QThread> worker = renamer->findChild<QThread*>();
    QVERIFY(worker);
    QTest::qWait(20);
    QVERIFY(main->close());
    QElapsedTimer clock;
    clock.start();
    delete main;
    QVERIFY(clock.elapsed() < 5'000);
    QVERIFY(renamer.isNull());
    QVERIFY(worker.isNull());
  }

  void ChannelKeepsOrderAndRaisesOncePerBatch() {
    ScanChannel channel;
    QSignalSpy pending(&channel, &ScanChannel::Pending);
    std::thread worker([&channel] {
      channel.RowsCleared();
      for (size_t i = 0; i < 1'000; ++i) channel.RowResult(i, std::to_string(i), i % 2 == 0);
      channel.Ended(false);
    });
    worker.join();
    QCOMPARE(pending.count(), 1);
    const std::vector<ScanEvent> events = channel.Take();
    QCOMPARE(events.size(), size_t{1'002});
    QCOMPARE(events.front().kind, ScanEvent::kRowsCleared);
    QCOMPARE(events.back().kind, ScanEvent::kEnded);
    for (size_t i = 0; i < 1'000; ++i) {
      QCOMPARE(events[i + 1].row, i);
      QCOMPARE(events[i + 1].hadCandidates, i % 2 == 0);
    }
    channel.Status("next");
    QCOMPARE(pending.count(), 2);
  }

 private:
  QPushButton* Button(const char* name) const { return window_->findChild<QPushButton*>(name); }
  QLineEdit* Edit(const char* name) const { return window_->findChild<QLineEdit*>(name); }
  QTreeWidget* Results() const { return window_->findChild<QTreeWidget*>("LV_Results"); }
  QString Status() const { return window_->findChild<QLabel*>("P_Status")->text(); }
  QAction* Action(const char* name) const { return window_->findChild<QAction*>(name); }

  bool Scan() {
    QSignalSpy ended(window_.data(), &TF_Scan::ScanEnded);
    Button("B_Start")->click();
    return ended.wait(30'000);
  }

  QList<QStringList> Rows() const {
    QList<QStringList> rows;
    for (int i = 0; i < Results()->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* item = Results()->topLevelItem(i);
      rows.append({item->text(0), item->text(1), item->text(2)});
    }
    return rows;
  }

  DidBuilder db_;
  GameRecord* game_ = nullptr;
  Bytes good_;
  std::string diskName_;
  QString name_;
  TempDir dbDir_;
  std::string did_;
  std::unique_ptr<TempDir> dir_;
  QPointer<TF_Scan> window_;
};

}  // namespace moswit::test

QTEST_MAIN(moswit::test::RenamerTest)
#include "renamerwindow_test.moc"
