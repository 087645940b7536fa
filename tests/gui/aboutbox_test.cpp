// SPDX-License-Identifier: GPL-2.0-or-later
// The About box: a new one per click, its centred text, closing only hides it.
#include <QPointer>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

#include "app/aboutbox.h"
#include "app/window/aboutdialog.h"
#include "app/window/mainwindow.h"

namespace moswit::test {

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

}  // namespace moswit::test

QTEST_MAIN(moswit::test::AboutBoxTest)
#include "aboutbox_test.moc"
