// SPDX-License-Identifier: GPL-2.0-or-later
// The ADF Inspector and its Hex Viewer on builder images, and how the main
// window opens Inspectors.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include "app/window/mainwindow.h"
#include "base/numbertext.h"
#include "fakedialogs.h"
#include "gui/texts.h"
#include "image/checksum.h"
#include "image/crc32.h"
#include "inspector/blockmaplayout.h"
#include "inspector/hexrows.h"
#include "inspector/inspectorform.h"
#include "inspector/window/hexviewerwindow.h"
#include "inspector/window/inspectorwindow.h"
#include "support/adfbuilder.h"
#include "support/tempdir.h"

namespace moswit::test {

namespace {

QString Native(const std::filesystem::path& path) { return QFile::decodeName(path.c_str()); }

}  // namespace

class InspectorTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { dir_ = std::make_unique<TempDir>(); }
  void cleanup() {
    QList<QPointer<TDI_Inspector>> inspectors;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (auto* inspector = qobject_cast<TDI_Inspector*>(top)) inspectors.append(inspector);
    }
    qDeleteAll(inspectors);  // their viewers go with them
    dir_.reset();
  }

  void ShowsPropertiesAndFilesWithTheirCrcs() {
    AdfBuilder ffs(AdfBuilder::Options{.ffs = true, .international = true, .volume = "Tab\tDisk"});
    ffs.AddFile("/s/startup-sequence", PatternBytes(10, 1));
    TDI_Inspector* inspector = Open(dir_->Write("ffs.adf", ffs.Build()));
    QCOMPARE(inspector->findChild<QLineEdit*>("ED_Name")->text(), QString("Tab_Disk"));
    const std::pair<const char*, bool> flags[] = {
        {"DOS", true}, {"FFS", true}, {"Intl", true}, {"DirC", false}, {"Bootable", true}};
    for (const auto& [name, checked] : flags) {
      auto* box = inspector->findChild<QCheckBox*>(name);
      QCOMPARE(box->isChecked(), checked);
      box->click();  // the user cannot change a property
      QCOMPARE(box->isChecked(), checked);
    }
    QTest::keyClicks(inspector->findChild<QLineEdit*>("ED_Name"), "x");
    QCOMPARE(inspector->findChild<QLineEdit*>("ED_Name")->text(), QString("Tab_Disk"));

    AdfBuilder ofs;
    const Bytes good = PatternBytes(3'000, 1);
    ofs.AddFile("/s/startup-sequence", good);
    const uint32_t broken = ofs.AddFile("/game", PatternBytes(5'000, 2));
    Bytes image = ofs.Build();
    BreakChecksum(image, ofs.DataBlocks(broken)[1]);
    inspector = Open(dir_->Write("ofs.adf", image));
    auto* list = inspector->findChild<QTreeWidget*>("FR_FileList");
    QCOMPARE(list->topLevelItemCount(), 2);
    QTreeWidgetItem* game = list->topLevelItem(0);
    QTreeWidgetItem* startup = list->topLevelItem(1);
    QCOMPARE(game->text(0), QString("/game"));
    QCOMPARE(startup->text(0), QString("/s/startup-sequence"));
    QCOMPARE(startup->text(1), QString("3000"));
    QCOMPARE(startup->text(2), QString::fromStdString(IntToHex(Crc32(good), 8)));
    const FileEntry& failed = inspector->Files().front().Path == "/game"
                                  ? inspector->Files().front()
                                  : inspector->Files().back();
    QVERIFY(failed.Status != 0);
    QCOMPARE(game->text(2), QString::fromStdString(IntToHex(failed.Status, 8)));
    QVERIFY(game->icon(0).cacheKey() != startup->icon(0).cacheKey());
  }

  void MapClicksShowSectorInfoAndDefineARange() {
    AdfBuilder builder;
    builder.AddFile("/file", PatternBytes(2'000, 3));
    TDI_Inspector* inspector = Open(dir_->Write("disk.adf", builder.Build()));
    ClickBlock(*inspector, 1759);
    QCOMPARE(Text(*inspector, "SMP_Track"), QString("79"));
    QCOMPARE(Text(*inspector, "SMP_Sect"), QString("11"));
    QCOMPARE(Text(*inspector, "SMP_Block"), QString("$6DF"));
    QCOMPARE(Text(*inspector, "SI_Header"), QString("Sector Info ($6DF):"));
    ClickBlock(*inspector, 880);
    QVERIFY(inspector->findChild<QPlainTextEdit*>("SI_Memo")->toPlainText().startsWith(
        "Block type ... Rootblock\nChecksum (S/C) "));
    QVERIFY(HasMark(inspector->Map()[880], bsCursor));
    QVERIFY(!HasMark(inspector->Map()[1759], bsCursor));
    // The cursor's outline shows on the map.
    const PixelRect cell = inspector->Pixels().Layout().Cell(880);
    QCOMPARE(inspector->Pixels().At(cell.left, cell.top), 0xFFFFFFu);

    auto* define = inspector->findChild<QToolButton*>("SI_Define");
    ClickBlock(*inspector, 5);  // the end first: the range is put in order
    define->click();
    ClickBlock(*inspector, 2);
    define->click();
    auto* list = inspector->findChild<QTreeWidget*>("FR_FileList");
    QCOMPARE(list->topLevelItemCount(), 2);
    const QList<QTreeWidgetItem*> ranges = list->findItems("@", Qt::MatchStartsWith);
    QCOMPARE(ranges.size(), qsizetype{1});
    QCOMPARE(ranges[0]->text(0), QString("@00000400-00000BFF"));
    QCOMPARE(ranges[0]->text(1), QString("2048"));
    // Deleting works on ranges only.
    list->setCurrentItem(list->findItems("/file", Qt::MatchExactly).constFirst());
    inspector->FR_DeleteClick();
    QCOMPARE(list->topLevelItemCount(), 2);
    list->setCurrentItem(list->findItems("@", Qt::MatchStartsWith).constFirst());
    inspector->FR_DeleteClick();
    QCOMPARE(list->topLevelItemCount(), 1);
  }

  // A high-density disk shows whole, in a taller window, with its position texts.
  void HighDensityDiskShowsWhole() {
    TDI_Inspector* inspector = Open(dir_->Write("hd.adf", AdfBuilder({.blocks = 3520}).Build()));
    QCOMPARE(inspector->findChild<QWidget*>("Img")->height(), MapHeight(88));
    QCOMPARE(inspector->height(), InspectorHeight(88));
    ClickBlock(*inspector, 3519);
    QCOMPARE(Text(*inspector, "SMP_Sect") + Text(*inspector, "SMP_Block"), QString("22$DBF"));
    QVERIFY(HasMark(inspector->Map()[3519], bsCursor));
  }

  void SelectingAFileOutlinesItsBlocks() {
    AdfBuilder builder;
    const uint32_t header = builder.AddFile("/file", PatternBytes(2'000, 3));
    const std::vector<uint32_t> data = builder.DataBlocks(header);
    TDI_Inspector* inspector = Open(dir_->Write("disk.adf", builder.Build()));
    auto* list = inspector->findChild<QTreeWidget*>("FR_FileList");
    list->setCurrentItem(list->topLevelItem(0));
    QVERIFY(HasMark(inspector->Map()[header], bsInSelection));
    for (uint32_t block : data) QVERIFY(HasMark(inspector->Map()[block], bsInSelection));
    QVERIFY(!HasMark(inspector->Map()[880], bsInSelection));
    const PixelRect cell = inspector->Pixels().Layout().Cell(header);
    QCOMPARE(inspector->Pixels().At(cell.left, cell.top), 0xFF4000u);
  }

  void CloseWaitsForItsViewersAndTheViewerShowsTheFile() {
    AdfBuilder builder;
    const Bytes contents = PatternBytes(100, 4);
    builder.AddFile("/file", contents);
    const std::string path = dir_->Write("disk.adf", builder.Build());
    QPointer<TDI_Inspector> inspector = Open(path);
    auto* list = inspector->findChild<QTreeWidget*>("FR_FileList");
    list->setCurrentItem(list->topLevelItem(0));
    inspector->findChild<QToolButton*>("FR_HexEd")->click();
    QPointer<TF_HexEdit> viewer = inspector->findChild<TF_HexEdit*>();
    QVERIFY(viewer);
    QCOMPARE(viewer->findChild<QLabel*>("Panel1")->text(), Native(path) + " [/file]");
    QCOMPARE(viewer->findChild<QScrollBar*>("ScrollBar1")->maximum(), 1);
    const QStringList hex =
        viewer->findChild<QPlainTextEdit*>("RichEdit1")->toPlainText().split('\n');
    QCOMPARE(hex[0].left(2), QString::fromStdString(IntToHex(contents[0], 2)));
    QVERIFY(hex[6].endsWith(".. .. .."));
    QCOMPARE(hex[15], QString(".. .. .. .. .. .. .. .. .. .. .. .. .. .. .. .."));

    FakeDialogs dialogs;
    QVERIFY(!inspector->close());
    QCOMPARE(dialogs.beeps, 1);  // the refusal is heard
    QVERIFY(viewer->close());
    QTRY_VERIFY(viewer.isNull());
    QVERIFY(inspector->close());
    QTRY_VERIFY(inspector.isNull());
  }

  void TypingOverwritesTheShownDigitsOnly() {
    AdfBuilder builder;
    builder.AddFile("/file", PatternBytes(600, 5));
    TDI_Inspector* inspector = Open(dir_->Write("disk.adf", builder.Build()));
    auto* list = inspector->findChild<QTreeWidget*>("FR_FileList");
    list->setCurrentItem(list->topLevelItem(0));
    inspector->FR_HexEdClick();
    auto* viewer = inspector->findChild<TF_HexEdit*>();
    auto* hex = viewer->findChild<QPlainTextEdit*>("RichEdit1");
    const QString before = hex->toPlainText();
    hex->setFocus();
    QTest::keyClicks(hex, "Z");
    QCOMPARE(hex->toPlainText().at(0), QChar('Z'));
    QCOMPARE(hex->textCursor().position(), 1);
    QTest::keyClicks(hex, "Y");  // the second digit: on to the next pair
    QCOMPARE(hex->textCursor().position(), 3);
    // Moving right from a row's last pair lands on the next row's first.
    QTextCursor cursor = hex->textCursor();
    cursor.setPosition(46);
    hex->setTextCursor(cursor);
    QTest::keyClick(hex, Qt::Key_Right);
    QCOMPARE(hex->textCursor().position(), 48);
    // A redraw brings the true values back.
    viewer->findChild<QScrollBar*>("ScrollBar1")->setValue(1);
    viewer->findChild<QScrollBar*>("ScrollBar1")->setValue(0);
    QCOMPARE(hex->toPlainText(), before);
  }

  // After keys that move a text view, the offset column, the hex pane and
  // the character pane show the same 16 rows: paging moves ScrollBar1 by
  // 16, the panes never scroll alone. Delete overtypes nothing.
  void TheThreePanesKeepShowingTheSameRows() {
    AdfBuilder builder;
    const Bytes contents = PatternBytes(1024, 7);
    builder.AddFile("/file", contents);
    TDI_Inspector* inspector = Open(dir_->Write("disk.adf", builder.Build()));
    inspector->findChild<QTreeWidget*>("FR_FileList")->topLevelItem(0)->setSelected(true);
    inspector->FR_HexEdClick();
    auto* viewer = inspector->findChild<TF_HexEdit*>();
    auto* hex = viewer->findChild<QPlainTextEdit*>("RichEdit1");
    const std::pair<const char*, int> steps[] = {{"PgDown", 16},   {"PgUp", 0},    {"PgDown", 16},
                                                 {"Ctrl+End", 16}, {"PgDown", 32}, {"PgDown", 48},
                                                 {"PgDown", 49}};
    for (const auto& [keys, position] : steps) {
      QTest::keySequence(hex, QKeySequence(keys));
      const int shown = viewer->findChild<QScrollBar*>("ScrollBar1")->value();
      const HexPage page = HexRows(contents.data(), 1024).Page(static_cast<uint32_t>(shown));
      const std::pair<const char*, const std::string*> panes[] = {
          {"Memo1", &page.offsets[0]}, {"RichEdit1", &page.hex[0]}, {"Memo2", &page.characters[0]}};
      for (const auto& [name, row] : panes) {
        // The pane's first visible line is its first row.
        const QTextBlock top =
            viewer->findChild<QPlainTextEdit*>(name)->cursorForPosition(QPoint(1, 1)).block();
        QVERIFY2(top.blockNumber() == 0, name);
        QCOMPARE(top.text(), DidText(*row));
      }
      QCOMPARE(shown, position);
    }
    const QString before = hex->toPlainText();
    QTest::sendKeyEvent(QTest::Click, hex, Qt::Key_Delete, QString(QChar(0x7F)), Qt::NoModifier);
    QCOMPARE(hex->toPlainText(), before);
  }

  void MainWindowOpensInspectorsInTheFirstFreeSlots() {
    AdfBuilder builder;
    builder.AddFile("/file", PatternBytes(100, 6));
    const Bytes image = builder.Build();
    const std::string first = dir_->Write("one.adf", image);
    const std::string second = dir_->Write("two.ADF", image);
    dir_->Write("bad.adf", Bytes{1, 2, 3});
    FakeDialogs dialogs;
    TForm1 window;
    const auto inspect = [&](const std::filesystem::path& path) {
      window.ShowInFileBrowser(Native(path));
      auto* browser = window.findChild<QTreeView*>("STV_FileBrowser");
      QTRY_COMPARE(browser->currentIndex().data().toString(), Native(path.filename()));
      window.findChild<QPushButton*>("B_Inspector")->click();
    };
    inspect(first);
    inspect(second);
    QCOMPARE(window.InspectorTable().At(0)->FileName(), first);
    QCOMPARE(window.InspectorTable().At(1)->FileName(), second);
    QVERIFY(window.InspectorTable().At(0)->isVisible());
    QPointer<TDI_Inspector> closing = window.InspectorTable().At(0);
    closing->close();
    QTRY_VERIFY(closing.isNull());
    QCOMPARE(window.InspectorTable().At(0), nullptr);
    inspect(first);
    QCOMPARE(window.InspectorTable().At(0)->FileName(), first);

    // The current image deselected (Ctrl+click) opens nothing.
    window.findChild<QTreeView*>("STV_FileBrowser")->selectionModel()->clearSelection();
    window.findChild<QPushButton*>("B_Inspector")->click();
    QCOMPARE(window.InspectorTable().InSlotOrder().size(), size_t{2});
    // A folder, or an image that cannot be loaded, opens nothing.
    inspect(dir_->Path());
    inspect(dir_->Path() / "bad.adf");
    QCOMPARE(window.InspectorTable().InSlotOrder().size(), size_t{2});
    QCOMPARE(dialogs.messages,
             QStringList{Native(dir_->Path() / "bad.adf") + ": Read beyond end of file"});

    // With every slot taken the system beeps and nothing opens.
    auto* stand_in = reinterpret_cast<TDI_Inspector*>(&window);  // never shown or touched
    while (window.InspectorTable().Put(stand_in)) {
    }
    const int beeps = dialogs.beeps;
    inspect(first);
    QCOMPARE(dialogs.beeps, beeps + 1);
    const QWidgetList tops = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(tops.begin(), tops.end(),
                           [](QWidget* w) { return qobject_cast<TDI_Inspector*>(w) != nullptr; }),
             2);
    window.InspectorTable().Release(stand_in);
  }

 private:
  TDI_Inspector* Open(const std::string& path) {
    FileError error;
    TDI_Inspector* inspector = TDI_Inspector::Open({path}, error);
    if (!inspector) qFatal("cannot open %s: %s", path.c_str(), error.message.c_str());
    inspector->show();
    return inspector;
  }

  static void ClickBlock(TDI_Inspector& inspector, uint32_t block) {
    const PixelRect interior = inspector.Pixels().Layout().Interior(block);
    auto* field = inspector.findChild<QWidget*>("ImgField");
    QTest::mouseMove(field, QPoint(interior.left, interior.top));
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(interior.left, interior.top));
  }

  static QString Text(TDI_Inspector& inspector, const char* name) {
    return inspector.findChild<QLabel*>(name)->text();
  }

  std::unique_ptr<TempDir> dir_;
};

}  // namespace moswit::test

QTEST_MAIN(moswit::test::InspectorTest)
#include "inspectorwindow_test.moc"
