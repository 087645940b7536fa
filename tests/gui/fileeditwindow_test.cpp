// SPDX-License-Identifier: GPL-2.0-or-later
// The File and Range editors on records of a builder disk: what they show,
// what the boxes in their three states, the buttons and the close box store
// on one record and on several, and the slots they give back on closing.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "editors/window/fileeditwindow.h"
#include "fakedialogs.h"
#include "gui/editorregistry.h"

namespace moswit::test {

class FileEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    EditorTables().Clear();
    disk_ = std::make_unique<DiskRecord>();
    for (const char* path : {"/a", "/b", "/c"}) {
      FileRecord& file = AppendFile(*disk_);
      file.path = path;
      file.size = 1234;
      file.crc32 = 0x1A2B;
      file.attributes = kAttrShared | kAttrUnused;
      file.description = std::string("was ") + path;
    }
    disk_->files[0].attributes |= kAttrBoot;
    AppendRange(*disk_) = {0x400, 0x5FF, 0xCAFE, kAttrGame, {}};
  }

  void cleanup() {
    // Deleting a window deletes the windows it owns.
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) windows.append(window);
    for (const QPointer<QWidget>& window : windows) delete window.data();
    disk_.reset();
  }

  void OneRecordShowsItsIdentityAndStoresItsBoxes() {
    FileRecord& file = disk_->files[0];
    const FileRecord before = file;
    Open(new TF_FileEdit(file, nullptr));
    QCOMPARE(Text("ED_FileName") + " " + Text("ED_Size") + " " + Text("ED_Crc32"),
             QString("/a 1234 00001A2B"));
    for (const char* name : {"ED_FileName", "ED_Size", "ED_Crc32"})
      QVERIFY(!Edit(name)->isEnabled());
    QCOMPARE(Text("ED_Description"), QString("was /a"));
    QCOMPARE(Box("C_Boot")->checkState(), Qt::Checked);
    QCOMPARE(EditorTables().files.Slots()[0].record, RecordRef(&file));

    // Cancel stores nothing; greyed keeps a bit, unchecked clears bit 31.
    Box("C_Shared")->setCheckState(Qt::Unchecked);
    Click("B_Cancel");
    QCOMPARE(file.attributes, before.attributes);
    Open(new TF_FileEdit(file, nullptr));
    Box("C_Boot")->setCheckState(Qt::PartiallyChecked);
    Box("C_Unused")->setCheckState(Qt::Unchecked);
    Box("C_HDInstall")->setCheckState(Qt::Checked);
    Edit("ED_Description")->clear();
    editor_->close();
    QCOMPARE(file.attributes, kAttrBoot | kAttrShared | kAttrHdInstall);
    QVERIFY(std::tie(file.path, file.size, file.crc32) ==
            std::tie(before.path, before.size, before.crc32));
    QVERIFY(!file.description.Present());
    QVERIFY(EditorTables().files.Slots()[0].Free());

    RangeRecord& range = disk_->ranges[0];
    Open(new TF_RangeEdit(range, nullptr));
    QCOMPARE(Text("ED_Start") + " " + Text("ED_End") + " " + Text("ED_Crc32"),
             QString("00000400 000005FF 0000CAFE"));
    QCOMPARE(EditorTables().ranges.Slots()[0].record, RecordRef(&range));
    Box("C_Code")->setCheckState(Qt::Checked);
    Click("B_Okay");
    QCOMPARE(range, (RangeRecord{0x400, 0x5FF, 0xCAFE, kAttrGame | kAttrCode, {}}));

    // One record's boxes are checked or unchecked: a first click checks.
    Open(new TF_FileEdit(disk_->files[2], nullptr));
    Box("C_Game")->click();
    QCOMPARE(Box("C_Game")->checkState(), Qt::Checked);
    Box("C_Shared")->click();
    Click("B_Okay");
    QCOMPARE(disk_->files[2].attributes, kAttrGame | kAttrUnused);
  }

  // Two files, Boot in one and Shared in both.
  void SeveralFilesShowMixedBitsGreyed() {
    const std::vector<const FileRecord*> both = {&disk_->files[2], &disk_->files[0]};
    Open(new TF_FileEdit(*disk_, both, nullptr));
    QCOMPARE(Text("ED_FileName") + Text("ED_Size") + Text("ED_Crc32"),
             QString("<editing multiple files><multi><multi>"));
    QCOMPARE(Text("ED_Description"), QString());
    QCOMPARE(Box("C_Boot")->checkState(), Qt::PartiallyChecked);
    QCOMPARE(Box("C_Shared")->checkState(), Qt::Checked);
    QCOMPARE(EditorTables().files.Slots()[0].record, RecordRef(disk_.get()));

    // Save with Boot greyed and Shared unchecked, then Okay with Boot
    // checked and a description.
    Box("C_Shared")->setCheckState(Qt::Unchecked);
    Click("B_Save");
    QCOMPARE(disk_->files[0].attributes, kAttrBoot | kAttrUnused);
    QCOMPARE(disk_->files[2].attributes, kAttrUnused);
    QCOMPARE(disk_->files[0].description.Value(), std::string_view("was /a"));
    Box("C_Boot")->setCheckState(Qt::Checked);
    Edit("ED_Description")->setText("typed");
    Click("B_Okay");
    for (size_t i : {0u, 2u}) {
      QCOMPARE(disk_->files[i].attributes, kAttrBoot | kAttrUnused);
      QCOMPARE(disk_->files[i].description.Value(), std::string_view("typed"));
    }
    QCOMPARE(disk_->files[1].attributes, kAttrShared | kAttrUnused);  // not selected

    // With several records an unchecked box goes greyed first.
    Open(new TF_FileEdit(*disk_, both, nullptr));
    Box("C_Game")->click();
    QCOMPARE(Box("C_Game")->checkState(), Qt::PartiallyChecked);
  }

  // Editors closed in a long run give their slots back, so the 257th
  // opens; with 256 open at once the next one beeps and opens nothing.
  void SlotsAreGivenBackOnClose() {
    FakeDialogs dialogs;
    for (int i = 0; i < 300; ++i) {
      QPointer<TF_FileEdit> editor = OpenRecordEditor<TF_FileEdit>(disk_->files[0], nullptr);
      QVERIFY(editor);
      editor->close();
    }
    QCOMPARE(dialogs.beeps, 0);
    std::vector<QPointer<TF_RangeEdit>> open;
    for (size_t i = 0; i < kSlotCount; ++i) {
      open.emplace_back(OpenRecordEditor<TF_RangeEdit>(disk_->ranges[0], nullptr));
      QVERIFY(open.back());
    }
    QVERIFY(!OpenRecordEditor<TF_RangeEdit>(disk_->ranges[0], nullptr));
    QCOMPARE(dialogs.beeps, 1);
    open.front()->close();
    QVERIFY(OpenRecordEditor<TF_RangeEdit>(disk_->ranges[0], nullptr));
  }

 private:
  void Open(AttributeEditor* editor) {
    editor_ = editor;
    QVERIFY(editor->HasSlot());
    editor->show();
  }

  QLineEdit* Edit(const char* name) const { return editor_->findChild<QLineEdit*>(name); }
  QString Text(const char* name) const { return Edit(name)->text(); }
  QCheckBox* Box(const char* name) const { return editor_->findChild<QCheckBox*>(name); }
  void Click(const char* name) const { editor_->findChild<QPushButton*>(name)->click(); }

  std::unique_ptr<DiskRecord> disk_;
  QPointer<AttributeEditor> editor_;
};

}  // namespace moswit::test

QTEST_MAIN(moswit::test::FileEditorTest)
#include "fileeditwindow_test.moc"
