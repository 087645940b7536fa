// SPDX-License-Identifier: GPL-2.0-or-later
// The Version editor on versions of a builder database: the defaults of a
// new version, the lenient numbers, disk order, chipset, languages, the
// compatibility boxes and edits, and the close box that drops changes.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "database/didwriter.h"
#include "editors/window/versioneditwindow.h"
#include "gui/editorregistry.h"
#include "support/didbuilder.h"

namespace moswit::test {

class VersionEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    EditorTables().Clear();
    db_ = std::make_unique<DidBuilder>();
    game_ = &db_->Game("Example");
  }

  void cleanup() {
    delete editor_.data();
    db_.reset();
  }

  void ANewVersionShowsTheEditorDefaults() {
    Open(AppendVersion(*game_));
    QCOMPARE(editor_->windowTitle(), QString("Version Editor"));
    QCOMPARE(Text("ED_VersionName"), QString("[New Version]"));
    QCOMPARE(Text("ED_MemC"), QString("1024"));
    QCOMPARE(Checked({"CB_En", "CB_De", "CB_Pl", "CB_Dk", "CB_Se", "CB_No", "CB_Nl", "CB_Be",
                      "CB_OtherLang"}),
             QStringList{"CB_En"});
    QVERIFY(Radio("RB_OCS")->isChecked());
    for (const char* box : {"CB_68000", "CB_68010", "CB_68020", "CB_680EC20", "CB_68040", "CB_FPU",
                            "CB_KS12", "CB_KS13", "CB_KS21", "CB_KS30", "CB_KS31", "CB_KS35",
                            "CB_OCS", "CB_ECS", "CB_AGA", "CB_WinUAE", "CB_WinFellow"})
      QCOMPARE(Box(box)->checkState(), Qt::PartiallyChecked);
    QCOMPARE(Box("CB_CycleExact")->checkState(), Qt::Unchecked);
    QCOMPARE(Text("ED_FDDNum"), QString("1"));
    QCOMPARE(Text("ED_SpeedAdjust"), QString("5"));
    QCOMPARE(Text("ED_SpecialChip") + " " + Text("ED_SpecialSlow"), QString("512 512"));
    QCOMPARE(Texts({"ED_WinUAEv1", "ED_WinUAEv2", "ED_WinUAEv3", "ED_WinUAEv4"}),
             QString("0 8 22 1"));
    QCOMPARE(Texts({"ED_WinFellowv1", "ED_WinFellowv2", "ED_WinFellowv3"}), QString("2001 11 15"));

    // Stored unchanged, it writes the default compatibility line.
    editor_->findChild<QPushButton*>("B_Okay")->click();
    QVERIFY(FormatDatabase(db_->Database())
                .find("comp 0AAA2810AA2A000200020000000AAA500811608002150B0F02\r\n") !=
            std::string::npos);
  }

  void OnlyOkayAndSaveStore() {
    VersionRecord& version = AppendVersion(*game_);
    Open(version);
    Edit("ED_VersionName")->setText("Closed");
    editor_->close();
    QCOMPARE(version.versionName.Value(), std::string_view("[New Version]"));
    QVERIFY(EditorTables().versions.Slots()[0].changed);

    Open(version);
    Edit("ED_VersionName")->setText("Saved");
    Click("B_Save");
    Edit("ED_VersionName")->setText("Cancelled");
    Click("B_Cancel");
    QCOMPARE(version.versionName.Value(), std::string_view("Saved"));

    Open(version);
    Edit("ED_Trained")->setText("Trainer Group");
    Edit("ED_Cracked")->setText("Crack Group");
    Edit("ED_Name")->setText("Regional Title");
    Memo()->setPlainText("one\ntwo");
    Click("B_Okay");
    QCOMPARE(version.trainedBy.Value(), std::string_view("Trainer Group"));
    QCOMPARE(version.crackedBy.Value(), std::string_view("Crack Group"));
    QCOMPARE(version.gameName.Value(), std::string_view("Regional Title"));
    QCOMPARE(version.comment.Value(), std::string_view("one two"));
  }

  // What a Save stores and then shows, for numbers read from their digits.
  void NumbersAreReadFromTheirDigitsAndShownAsStored() {
    const struct {
      const char* edit;
      const char* typed;
      const char* shown;
    } cases[] = {
        {"ED_Parent", "300", "44"},          // cut to 8 bits
        {"ED_MemF", "1,024", "1024"},        // a separator is skipped
        {"ED_RelDay", "-3", "3"},            // so is a sign
        {"ED_TrainerKeys", "x", "0"},        // no digits
        {"ED_FDDNum", "17", "1"},            // spills past the floppy field
        {"ED_WinFellowv1", "1979", "2235"},  // before 1980
        {"ED_DiskOrder", "3,1 ; 2", "3, 1, 2"},
        {"ED_DiskOrder", "1, 0, 2", "1, 2"},  // a 0 entry is not shown
    };
    Open(AppendVersion(*game_));
    for (const auto& c : cases) {
      Edit(c.edit)->setText(c.typed);
      Click("B_Save");
      QCOMPARE(Text(c.edit), QString(c.shown));
    }
  }

  void CompatibilityFieldsAreComposedFromTheirControls() {
    VersionRecord& version = AppendVersion(*game_);
    version.compat.cpu = 0xFAA3;  // 3 in the first pair, bits above the boxes
    Open(version);
    QCOMPARE(Box("CB_68000")->checkState(), Qt::Unchecked);
    Box("CB_WinFellow")->setCheckState(Qt::PartiallyChecked);
    Edit("ED_WinFellowv1")->setText("2001");
    Edit("ED_WinFellowv2")->setText("11");
    Edit("ED_WinFellowv3")->setText("15");
    Box("CB_KS31")->setCheckState(Qt::Checked);
    Edit("ED_TrainerOpts")->setText("5");
    Edit("ED_TrainerKeys")->setText("3");
    Click("B_Okay");
    QCOMPARE(version.compat.winFellow, 0x150B0F02u);
    QCOMPARE(version.compat.cpu, uint16_t{0x0AA0});
    QCOMPARE(version.compat.kickstart, uint16_t{0x09AA});
    QCOMPARE(version.trainer, TrainerCounts{5 + 3 * 256});
  }

  // Five boxes the user can only check and uncheck, though they show greyed
  // when the record holds it; the others cycle through all three states.
  void BoxesCycleThroughTheirStates() {
    VersionRecord& version = AppendVersion(*game_);
    version.compat.chipsetEmulation = 0x2A;  // cycle exact greyed
    version.compat.specialMemory = 2;
    Open(version);
    for (const char* name : {"CB_CycleExact", "CB_SpecialMem"}) {
      QCOMPARE(Box(name)->checkState(), Qt::PartiallyChecked);
      QCOMPARE(ClickStates(Box(name)),
               (QList<Qt::CheckState>{Qt::Checked, Qt::Unchecked, Qt::Checked}));
    }
    for (const char* name : {"CB_MoreCompatible", "CB_SpeedAdjust", "CB_FDDNum"}) {
      Box(name)->setCheckState(Qt::Unchecked);
      QCOMPARE(ClickStates(Box(name)),
               (QList<Qt::CheckState>{Qt::Checked, Qt::Unchecked, Qt::Checked}));
    }
    Box("CB_FastCopper")->setCheckState(Qt::Unchecked);
    QCOMPARE(ClickStates(Box("CB_FastCopper")),
             (QList<Qt::CheckState>{Qt::PartiallyChecked, Qt::Checked, Qt::Unchecked}));
  }

  void ChipsetFixesAndLanguagesAreRebuiltFromTheirControls() {
    VersionRecord& version = AppendVersion(*game_);
    version.chipset = 7;
    version.fixes = 0xF8;
    version.languages = 0x0000FF00u | kLangEn;
    Open(version);
    QVERIFY(Radio("RB_OCS")->isChecked());
    Box("CB_En")->setChecked(false);
    Click("B_Save");
    QCOMPARE(version.chipset, kChipsetOcs);
    QCOMPARE(version.fixes, FixFlags{0});
    QCOMPARE(version.languages, LanguageFlags{0});

    Box("CB_OtherLang")->setChecked(true);
    Box("CB_HDFix")->setChecked(true);
    Radio("RB_AGA")->setChecked(true);
    Click("B_Save");
    QCOMPARE(version.languages, 0x80000000u);
    QCOMPARE(version.fixes, kFixHd);
    QCOMPARE(version.chipset, kChipsetAga);
    QVERIFY(Radio("RB_AGA")->isChecked() && !Radio("RB_OCS")->isChecked());
  }

  // Saving what a window shows stores what the core stores for those
  // values: every control moves its value both ways.
  // The editor opens no larger than a 1366 x 768 screen leaves beside a
  // window frame and a task bar, and shrinks further with its buttons in
  // reach.
  void FitsASmallScreenWithItsButtonsInReach() {
    Open(AppendVersion(*game_));
    editor_->show();
    QVERIFY(editor_->width() <= 1340 && editor_->height() <= 700);
    editor_->resize(800, 480);
    QTRY_COMPARE(editor_->size(), QSize(800, 480));
    for (const char* name : {"B_Okay", "B_Save", "B_Cancel"}) {
      auto* button = editor_->findChild<QPushButton*>(name);
      QVERIFY2(editor_->rect().contains(QRect(button->mapTo(editor_, QPoint()), button->size())),
               name);
    }
  }

  void SavingWhatIsShownStoresWhatTheCoreDoes() {
    for (uint32_t seed = 1; seed <= 12; ++seed) {
      auto database = RandomDatabase(seed);
      for (GameRecord& game : database->games) {
        for (VersionRecord& version : game.versions) {
          VersionRecord expected = version;
          StoreVersion(LoadVersion(version), expected);
          Open(version);
          Click("B_Save");
          QCOMPARE(LoadVersion(version), LoadVersion(expected));
          QVERIFY2(version == expected, qPrintable(QString("seed %1").arg(seed)));
          Click("B_Cancel");
        }
      }
    }
  }

 private:
  void Open(VersionRecord& version) {
    delete editor_.data();
    editor_ = OpenRecordEditor<TF_VersionEdit>(version, nullptr);
    QVERIFY(editor_);
  }

  QLineEdit* Edit(const char* name) const {
    auto* edit = editor_->findChild<QLineEdit*>(name);
    if (!edit) qFatal("no edit %s", name);
    return edit;
  }
  QString Text(const char* name) const { return Edit(name)->text(); }
  QString Texts(std::initializer_list<const char*> names) const {
    QStringList texts;
    for (const char* name : names) texts << Text(name);
    return texts.join(' ');
  }
  QCheckBox* Box(const char* name) const {
    auto* box = editor_->findChild<QCheckBox*>(name);
    if (!box) qFatal("no box %s", name);
    return box;
  }
  QStringList Checked(std::initializer_list<const char*> names) const {
    QStringList checked;
    for (const char* name : names) {
      if (Box(name)->isChecked()) checked << name;
    }
    return checked;
  }
  QRadioButton* Radio(const char* name) const { return editor_->findChild<QRadioButton*>(name); }
  QPlainTextEdit* Memo() const { return editor_->findChild<QPlainTextEdit*>("M_Comment"); }
  void Click(const char* name) const { editor_->findChild<QPushButton*>(name)->click(); }

  static QList<Qt::CheckState> ClickStates(QCheckBox* box) {
    QList<Qt::CheckState> states;
    for (int i = 0; i < 3; ++i) {
      box->click();
      states << box->checkState();
    }
    return states;
  }

  std::unique_ptr<DidBuilder> db_;
  GameRecord* game_ = nullptr;
  QPointer<TF_VersionEdit> editor_;
};

}  // namespace moswit::test

QTEST_MAIN(moswit::test::VersionEditorTest)
#include "versioneditwindow_test.moc"
