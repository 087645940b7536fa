// SPDX-License-Identifier: GPL-2.0-or-later
// The Disk editor on a disk of a builder database: its properties and list,
// what each button and the close box store, Edit Details, and deletes that
// take effect at once and close the editors of what they dispose.
#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "database/didwriter.h"
#include "editors/window/diskeditwindow.h"
#include "editors/window/fileeditwindow.h"
#include "fakedialogs.h"
#include "gui/editorregistry.h"
#include "support/didbuilder.h"

namespace moswit::test {

namespace {

void SettleClosedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

bool Holds(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

class DiskEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    EditorTables().Clear();
    db_ = std::make_unique<DidBuilder>();
    game_ = &db_->Game("Example", "Soft", {1990, 0, 0});
    db_->Disk(*game_, "Other");
    disk_ = &db_->Disk(*game_, "Vol");
    disk_->comment = "side B";
    const struct {
      const char* path;
      uint32_t size;
    } files[] = {{"/game", 1234}, {"/c/dir", 10}, {"@at-file", 5}};
    for (const auto& f : files) {
      FileRecord& file = AppendFile(*disk_);
      file.path = f.path;
      file.size = f.size;
      file.crc32 = f.size;
    }
    for (uint32_t block : {2u, 0u}) {
      RangeRecord& range = AppendRange(*disk_);
      range.firstByte = block * 512;
      range.lastByte = block * 512 + 511;
      range.crc32 = 0x1A2B + block;
    }
  }

  void cleanup() {
    delete editor_.data();
    SettleClosedWindows();
    db_.reset();
  }

  void OpeningShowsThePropertiesAndTheSortedList() {
    Open();
    QCOMPARE(Edit("ED_Name")->text(), QString("Vol"));
    QCOMPARE(Edit("ED_Comment")->text(), QString("side B"));
    QVERIFY(!Box()->isChecked());
    QCOMPARE(Rows(),
             (QStringList{"/c/dir\t10\t0000000A\t", "/game\t1234\t000004D2\t",
                          "@00000000-000001FF\t512\t00001A2B\t",
                          "@00000400-000005FF\t512\t00001A2D\t", "@at-file\t5\t00000005\t"}));
    const RecordEditorTable::Slot& slot = EditorTables().disks.Slots()[0];
    QCOMPARE(slot.record, RecordRef(disk_));
    QCOMPARE(slot.game, game_);
    QVERIFY(slot.Open());
  }

  // The close box and Okay store the properties, Cancel does not; Save
  // stores and stays open.
  void TheCloseBoxStoresCancelDoesNot() {
    Open();
    Edit("ED_Comment")->setText("typed");
    Click("B_Cancel");
    QCOMPARE(disk_->comment.Value(), std::string_view("side B"));
    QVERIFY(EditorTables().disks.Slots()[0].changed);

    Open();
    Edit("ED_Comment")->setText("saved");
    Click("B_Save");
    QCOMPARE(disk_->comment.Value(), std::string_view("saved"));
    QVERIFY(editor_->isVisible());
    Edit("ED_Comment")->clear();
    Edit("ED_Name")->setText(QString::fromLatin1("N\xE4me"));
    editor_->close();
    QVERIFY(!disk_->comment.Present());
    QCOMPARE(disk_->name.Value(), std::string_view("N\xE4me"));
  }

  void MatchNameMakesTheWriterUseDnmm() {
    Open();
    QVERIFY(!Holds(FormatDatabase(db_->Database()), "dnmm"));
    Box()->setChecked(true);
    Click("B_Okay");
    QCOMPARE(disk_->nameMustMatch, uint8_t{1});
    const std::string written = FormatDatabase(db_->Database());
    QVERIFY(Holds(written, "dnmm \"Vol\""));
    QVERIFY(Holds(written, "dnam \"Other\""));
  }

  // One file and two ranges selected: a File editor on the file, a Range
  // editor on both ranges at once; nothing selected opens nothing.
  void EditDetailsOpensOneEditorPerKind() {
    Open();
    Click("FR_Edit");
    QVERIFY(editor_->findChildren<AttributeEditor*>().isEmpty());
    Select({"/game", "@00000000-000001FF", "@00000400-000005FF"});
    Click("FR_Edit");
    auto* file = editor_->findChild<TF_FileEdit*>();
    auto* range = editor_->findChild<TF_RangeEdit*>();
    QVERIFY(file && range && file->isVisible() && range->isVisible());
    QVERIFY(!file->MultiEdit());
    QCOMPARE(file->Record(), RecordRef(&disk_->files[0]));
    QVERIFY(range->MultiEdit());
    QCOMPARE(range->Record(), RecordRef(disk_));
    QCOMPARE(range->findChild<QLineEdit*>("ED_Start")->text(), QString("<multi>"));
    QCOMPARE(EditorTables().files.Slots()[0].window, static_cast<RecordEditor*>(file));

    // Two files: one File editor on both; the "@" file is a file.
    Select({"/c/dir", "@at-file"});
    Click("FR_Edit");
    const QList<TF_FileEdit*> files = editor_->findChildren<TF_FileEdit*>();
    QCOMPARE(files.size(), qsizetype{2});
    QVERIFY(files[1]->MultiEdit());
    QCOMPARE(files[1]->findChild<QLineEdit*>("ED_FileName")->text(),
             QString("<editing multiple files>"));
    QCOMPARE(editor_->findChildren<TF_RangeEdit*>().size(), qsizetype{1});
  }

  // Deletes take effect at once and stay after Cancel; the "@" file goes
  // from the files.
  void DeletionsSurviveCancel() {
    Open();
    Click("FR_Delete");  // nothing selected
    QCOMPARE(Rows().size(), qsizetype{5});
    Select({"/game", "@at-file", "@00000400-000005FF"});
    Click("FR_Delete");
    QCOMPARE(Rows(),
             (QStringList{"/c/dir\t10\t0000000A\t", "@00000000-000001FF\t512\t00001A2B\t"}));
    Click("B_Cancel");
    QCOMPARE(disk_->files.Size(), size_t{1});
    QCOMPARE(disk_->files[0].path.Value(), std::string_view("/c/dir"));
    QCOMPARE(disk_->ranges.Size(), size_t{1});
    QCOMPARE(disk_->ranges[0].firstByte, 0u);
  }

  // A delete closes, without storing, every File and Range editor that
  // holds a disposed record, from whichever Disk editor it came, and makes
  // the other Disk editors of the disk list what is left.
  void DeleteClosesTheEditorsOfWhatItDisposes() {
    FakeDialogs dialogs;
    Open();
    QPointer<TF_DiskEdit> second = OpenRecordEditor<TF_DiskEdit>(*game_, *disk_, nullptr);
    QVERIFY(second);
    Select({"/game"});
    Click("FR_Edit");
    QPointer<TF_FileEdit> single = editor_->findChild<TF_FileEdit*>();
    Select({"@00000000-000001FF", "@00000400-000005FF"});
    Click("FR_Edit");
    QPointer<TF_RangeEdit> multi = editor_->findChild<TF_RangeEdit*>();
    Select({"/c/dir"});
    Click("FR_Edit");
    QPointer<TF_FileEdit> kept = editor_->findChildren<TF_FileEdit*>().last();
    QVERIFY(single && multi && kept && single != kept);
    multi->findChild<QLineEdit*>("ED_Description")->setText("dropped");

    // The second Disk editor deletes one of the multi-edited ranges.
    for (int i = 0; i < ListOf(second)->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = ListOf(second)->topLevelItem(i);
      item->setSelected(item->text(0) == "/game" || item->text(0) == "@00000000-000001FF");
    }
    second->FR_DeleteClick();
    SettleClosedWindows();
    QVERIFY(single.isNull() && multi.isNull());
    QVERIFY(kept && kept->isVisible());
    QVERIFY(!disk_->ranges[0].description.Present());
    QCOMPARE(Rows(), (QStringList{"/c/dir\t10\t0000000A\t", "@00000400-000005FF\t512\t00001A2D\t",
                                  "@at-file\t5\t00000005\t"}));
    QCOMPARE(editor_->Rows().size(), size_t{3});
    delete second.data();
  }

 private:
  void Open() {
    delete editor_.data();
    SettleClosedWindows();
    editor_ = OpenRecordEditor<TF_DiskEdit>(*game_, *disk_, nullptr);
    QVERIFY(editor_);
  }

  static QTreeWidget* ListOf(QWidget* editor) {
    return editor->findChild<QTreeWidget*>("FR_FileList");
  }
  QLineEdit* Edit(const char* name) const { return editor_->findChild<QLineEdit*>(name); }
  QCheckBox* Box() const { return editor_->findChild<QCheckBox*>("CB_MatchName"); }
  void Click(const char* name) const { editor_->findChild<QPushButton*>(name)->click(); }

  QStringList Rows() const {
    QStringList rows;
    QTreeWidget* list = ListOf(editor_);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      QStringList texts;
      for (int c = 0; c < list->columnCount(); ++c) texts << list->topLevelItem(i)->text(c);
      rows << texts.join('\t');
    }
    return rows;
  }

  void Select(const QStringList& names) const {
    QTreeWidget* list = ListOf(editor_);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = list->topLevelItem(i);
      item->setSelected(names.contains(item->text(0)));
    }
  }

  std::unique_ptr<DidBuilder> db_;
  GameRecord* game_ = nullptr;
  DiskRecord* disk_ = nullptr;
  QPointer<TF_DiskEdit> editor_;
};

}  // namespace moswit::test

QTEST_MAIN(moswit::test::DiskEditorTest)
#include "diskeditwindow_test.moc"
