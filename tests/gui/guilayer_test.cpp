// SPDX-License-Identifier: GPL-2.0-or-later
// What every window shares: the text helpers, the report list and the file
// dialog's acceptance of typed names.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

#include "app/mainform.h"
#include "gui/dialogseam.h"
#include "gui/reportlist.h"
#include "gui/texts.h"
#include "support/tempdir.h"

namespace moswit::test {

namespace {

// The pixel rows of `area` that hold a dark pixel.
int InkRows(const QImage& image, const QRect& area) {
  int rows = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    int x = area.left();
    while (x <= area.right() && qGray(image.pixel(x, y)) >= 160) ++x;
    rows += x <= area.right() ? 1 : 0;
  }
  return rows;
}

}  // namespace

class LayerTest : public QObject {
  Q_OBJECT

 private slots:
  void EveryByteSurvivesTheDidTextRoundTrip() {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    const QString shown = DidText(all);
    QCOMPARE(shown.size(), qsizetype{256});
    // Windows-1252, the DID's code page: its letters past Latin-1 too.
    QCOMPARE(shown.at(0xE4), QChar(0x00E4));  // "ä"
    QCOMPARE(shown.at(0x80), QChar(0x20AC));  // "€"
    QCOMPARE(shown.at(0x9F), QChar(0x0178));  // "Ÿ"
    QCOMPARE(DidBytes(shown), all);
    QCOMPARE(DidBytes(QString::fromUtf8("\u20AC \u0152 \u2122")), std::string("\x80 \x8C \x99"));
    // A letter the code page cannot hold becomes "?".
    QCOMPARE(DidBytes(QString::fromUtf8("a\u0100b\u65E5")), std::string("a?b?"));
  }

  void FileNamesKeepTheirEncoding() {
    const std::string name =
        "/adf/Gr\xC3\xBC\xC3\x9F"
        "e/Spiel.adf";  // UTF-8
    QCOMPARE(FileNameText(name), QString::fromUtf8("/adf/Grüße/Spiel.adf"));
    QCOMPARE(FileNameBytes(FileNameText(name)), name);
  }

  void CopyTakesTheSelectedRowsInViewOrder() {
    ReportList list;
    list.SetColumns({{"Name", 100}, {"Result", 100}, {"Acc", 40}});
    for (const char* name : {"a", "b", "c"}) {
      list.addTopLevelItem(list.NewRow({name, QString("line ") + name, ""}, name));
    }
    list.topLevelItem(2)->setSelected(true);
    list.topLevelItem(0)->setSelected(true);
    QTest::keySequence(&list, QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), QString("a\tline a\nc\tline c\n"));
    list.topLevelItem(1)->setText(2, "x");
    list.topLevelItem(1)->setSelected(true);
    QCOMPARE(list.SelectedRowsText(), QString("a\tline a\nb\tline b\tx\nc\tline c\n"));
  }

  void SortingComparesTheCaptionBytes() {
    ReportList list;
    list.SetColumns({{"Name", 100}});
    // The keys, not the shown texts, decide the order.
    const std::pair<const char*, const char*> rows[] = {{"1", "b"}, {"2", "a"}, {"3", "c"}};
    for (const auto& [text, key] : rows) list.addTopLevelItem(list.NewRow({text}, key));
    list.SortByCaption();
    QStringList order;
    for (int i = 0; i < list.topLevelItemCount(); ++i) order << list.topLevelItem(i)->text(0);
    QCOMPARE(order, (QStringList{"2", "1", "3"}));
  }

  void TheStretchColumnTakesOnlyTheExtraWidth() {
    ReportList list;
    list.SetColumns({{"Name", 236}, {"Result", 235}, {"Acc", 46}});
    list.SetStretchColumn(1);
    list.resize(300, 200);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QCOMPARE(list.columnWidth(1), 235);
    list.resize(900, 200);
    QTRY_VERIFY(list.columnWidth(1) > 500);
    QCOMPARE(list.columnWidth(0), 236);
    QCOMPARE(list.columnWidth(2), 46);
    QCOMPARE(list.columnWidth(0) + list.columnWidth(1) + list.columnWidth(2),
             list.viewport()->width());
  }

  // Descenders and underscores stay whole above the grid line (the cell
  // holds as many rows of ink as the text drawn alone); a cut text shows
  // whole as its tooltip, unless the row has a tooltip of its own.
  void TextsShowWholeAboveTheGridAndInTooltips() {
    const QString name = "/dir_1/gif_qpy", path = "/a/long/path/that/is/cut";
    ReportList list;
    list.SetColumns({{"Name", 200}, {"Path", 60}});
    for (int i = 0; i < 2; ++i) list.addTopLevelItem(list.NewRow({name, path}, {}));
    list.topLevelItem(1)->setToolTip(1, "own");
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    const QRect cell = list.visualRect(list.model()->index(0, 0));
    QImage alone(400, 4 * cell.height(), QImage::Format_RGB32);
    alone.fill(Qt::white);
    QPainter painter(&alone);
    painter.setFont(list.font());
    painter.drawText(QPoint(4, 2 * cell.height()), name);
    painter.end();
    QCOMPARE(InkRows(list.viewport()->grab().toImage(), cell.adjusted(0, 0, -1, -1)),
             InkRows(alone, alone.rect()));

    const auto tipAt = [&list](int row, int column) {
      const QPoint at = list.visualRect(list.model()->index(row, column)).center();
      QHelpEvent help(QEvent::ToolTip, at, list.viewport()->mapToGlobal(at));
      QApplication::sendEvent(list.viewport(), &help);
      return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(tipAt(0, 1), path);
    QCOMPARE(tipAt(1, 1), QString("own"));
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
    QCOMPARE(tipAt(0, 0), QString());
  }

  // A typed name is accepted when it exists as typed or once completed
  // (".did" appended); anything else is refused with the dialog's message.
  void TypedNamesAreCheckedWithTheirCompletion() {
    TempDir dir;
    dir.Write("collection.did", {1});
    dir.Write("my.db.did", {1});
    dir.Write("plain", {1});
    struct Case {
      const char* typed;
      bool accepted;
    };
    for (const Case c : {Case{"collection", true}, Case{"collection.did", true},
                         Case{"my.db", true}, Case{"plain", true}, Case{"none", false}}) {
      FileDialogRequest request;
      request.title = "Open a DID file";
      request.folder = QString::fromStdString(dir.Path().string());
      request.filter = "Disk Image Database (*.did)";
      request.complete = [](const QString& typed) {
        return QString::fromStdString(WithDidExtension(typed.toStdString()));
      };
      FileDialog dialog(nullptr, request);
      dialog.show();
      dialog.findChild<QLineEdit*>("fileNameEdit")->setText(c.typed);
      bool refused = false;
      QTimer::singleShot(0, [&refused] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
          refused = box->text().contains("File not found");
          box->close();
        }
      });
      dialog.accept();
      QCOMPARE(dialog.result() == QDialog::Accepted, c.accepted);
      if (!c.accepted) QTRY_VERIFY(refused);
    }
  }

  // A name to create that, completed, names an existing file is taken only
  // after the toolkit's question was answered with Yes.
  void AnExistingFileToCreateIsTakenOnlyWhenReplacingIsConfirmed() {
    TempDir dir;
    dir.Write("collection.did", {1});
    FileDialogRequest request;
    request.folder = QString::fromStdString(dir.Path().string());
    request.existingOnly = false;
    request.confirmOverwrite = true;
    request.complete = [](const QString& typed) {
      return QString::fromStdString(WithDidExtension(typed.toStdString()));
    };
    for (const auto& [typed, answer] : {std::pair{"collection", QMessageBox::No},
                                        std::pair{"collection.did", QMessageBox::Yes}}) {
      FileDialog dialog(nullptr, request);
      dialog.show();
      dialog.findChild<QLineEdit*>("fileNameEdit")->setText(typed);
      QString asked;
      QTimer::singleShot(0, [&asked, answer = answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        asked = box->text();
        box->button(answer)->click();
      });
      dialog.accept();
      QCOMPARE(asked, QString("collection.did already exists.\nDo you want to replace it?"));
      QCOMPARE(dialog.result() == QDialog::Accepted, answer == QMessageBox::Yes);
    }
  }
};

}  // namespace moswit::test

QTEST_MAIN(moswit::test::LayerTest)
#include "guilayer_test.moc"
