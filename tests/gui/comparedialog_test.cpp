// SPDX-License-Identifier: GPL-2.0-or-later
// The Compare dialog over Inspectors open on builder images.
#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "app/window/mainwindow.h"
#include "compare/window/comparedialog.h"
#include "inspector/window/inspectorwindow.h"
#include "support/adfbuilder.h"
#include "support/tempdir.h"

namespace moswit::test {

namespace {

QStringList Titles(QTreeWidget* list) {
  QStringList titles;
  for (int i = 0; i < list->columnCount(); ++i) titles << list->headerItem()->text(i);
  return titles;
}

QStringList Row(QTreeWidget* list, int row) {
  QStringList texts;
  for (int i = 0; i < list->columnCount(); ++i) texts << list->topLevelItem(row)->text(i);
  return texts;
}

}  // namespace

class CompareTest : public QObject {
  Q_OBJECT

 private slots:
  void ComparesTheTickedImagesOfTheOpenInspectors() {
    TempDir dir;
    AdfBuilder one;
    one.AddFile("/S/Startup-Sequence", PatternBytes(40, 1));
    one.AddFile("/only-here", PatternBytes(10, 2));
    AdfBuilder two;
    two.AddFile("/s/startup-sequence", PatternBytes(40, 1));
    std::vector<QPointer<TDI_Inspector>> inspectors;
    for (const auto& [name, builder] : {std::pair{"one.adf", &one}, std::pair{"two.adf", &two}}) {
      FileError error;
      inspectors.emplace_back(TDI_Inspector::Open({dir.Write(name, builder->Build())}, error));
      QVERIFY(inspectors.back());
    }
    QPointer<TF_Compare> dialog = new TF_Compare({inspectors[0], inspectors[1]}, nullptr);
    dialog->show();
    auto* images = dialog->findChild<QTreeWidget*>("AI_List");
    // The image column follows every resize, the first one too.
    for (const QSize size : {QSize(700, 534), QSize(520, 600), QSize(447, 534)}) {
      dialog->resize(size);
      QTRY_COMPARE(images->columnWidth(0), images->width() - 20);
    }
    QCOMPARE(images->topLevelItemCount(), 2);
    QVERIFY(images->topLevelItem(1)->text(0).startsWith("01: "));
    QCOMPARE(images->topLevelItem(1)->checkState(0), Qt::Checked);

    dialog->findChild<QPushButton*>("B_Compare")->click();
    auto* files = dialog->findChild<QTreeWidget*>("FS_List");
    auto* ranges = dialog->findChild<QTreeWidget*>("RS_List");
    // The index rows are as high as the tables' rows.
    QCOMPARE(images->visualItemRect(images->topLevelItem(0)).height(),
             files->visualItemRect(files->topLevelItem(0)).height());
    QCOMPARE(Titles(files),
             (QStringList{"Filename", "00-size", "00-crc32", "01-size", "01-crc32"}));
    QCOMPARE(files->topLevelItemCount(), 2);
    const QList<QTreeWidgetItem*> startup =
        files->findItems("/S/Startup-Sequence", Qt::MatchExactly);
    QCOMPARE(startup.size(), qsizetype{1});
    QCOMPARE(startup[0]->text(1), startup[0]->text(3));
    const QList<QTreeWidgetItem*> only = files->findItems("/only-here", Qt::MatchExactly);
    QCOMPARE(only[0]->text(3), QString("--"));
    QVERIFY(only[0]->icon(0).cacheKey() != startup[0]->icon(0).cacheKey());
    QVERIFY(ranges->topLevelItemCount() > 1);
    QCOMPARE(ranges->topLevelItem(ranges->topLevelItemCount() - 1)->text(1), QString("000DBFFF"));

    // Unticked, an image's columns go; closed, its Inspector is left alone.
    images->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    QTest::keyClick(dialog->findChild<QPushButton*>("B_Compare"), Qt::Key_Return);
    QCOMPARE(Titles(files), (QStringList{"Filename", "01-size", "01-crc32"}));
    QCOMPARE(Row(ranges, 0).mid(0, 2), (QStringList{"00000000", "000DBFFF"}));
    delete inspectors[1].data();
    dialog->B_CompareClick();
    QCOMPARE(images->topLevelItemCount(), 1);
    QCOMPARE(Titles(files), QStringList{"Filename"});
    QCOMPARE(files->topLevelItemCount(), 0);
    delete dialog.data();
    delete inspectors[0].data();
  }

  void CompareButtonOpensTheDialogOnTheInspectorTable() {
    TForm1 window;
    window.findChild<QPushButton*>("B_Compare")->click();
    QPointer<TF_Compare> dialog = window.findChild<TF_Compare*>();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->findChild<QTreeWidget*>("AI_List")->topLevelItemCount(), 0);
    QCOMPARE(Titles(dialog->findChild<QTreeWidget*>("RS_List")), (QStringList{"Start", "End"}));
    dialog->B_CompareClick();  // nothing to compare: empty tables, no failure
    QCOMPARE(dialog->findChild<QTreeWidget*>("RS_List")->topLevelItemCount(), 0);
  }
};

}  // namespace moswit::test

QTEST_MAIN(moswit::test::CompareTest)
#include "comparedialog_test.moc"
