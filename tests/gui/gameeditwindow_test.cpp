// SPDX-License-Identifier: GPL-2.0-or-later
// The Game editor on a game of a builder database: what it shows, what each
// button and the close box store, and the strict dates that stop a close.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "editors/window/gameeditwindow.h"
#include "fakedialogs.h"
#include "gui/controls.h"
#include "gui/editorregistry.h"
#include "support/didbuilder.h"

namespace moswit::test {

class GameEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    EditorTables().Clear();
    db_ = std::make_unique<DidBuilder>();
    game_ = &db_->Game("Example", "Example Soft", {1991, 3, 5});
    game_->comment = "first release";
    game_->music = "Composer";
  }

  void cleanup() {
    delete editor_.data();
    db_.reset();
  }

  // The editor shows the game and takes a slot; each edit reaches its own
  // field.
  void OkayStoresEveryEditInItsField() {
    Open();
    QCOMPARE(Text("ED_RelYear") + Text("ED_RelMonth") + Text("ED_RelDay"), QString("199135"));
    QCOMPARE(Text("ED_Music"), QString("Composer"));
    QCOMPARE(Memo()->toPlainText(), QString("first release"));
    QCOMPARE(EditorTables().games.Slots()[0].record, RecordRef(game_));
    QVERIFY(EditorTables().games.Slots()[0].Open());
    const std::pair<const char*, RecordText GameRecord::*> edits[] = {
        {"ED_Name", &GameRecord::name},           {"ED_Publisher", &GameRecord::publisher},
        {"ED_Developer", &GameRecord::developer}, {"ED_Code", &GameRecord::code},
        {"ED_Graphics", &GameRecord::graphics},   {"ED_SoundFX", &GameRecord::soundFx},
        {"ED_Music", &GameRecord::music},         {"ED_Design", &GameRecord::design}};
    // A Latin-1 letter survives as its byte.
    for (const auto& [name, field] : edits)
      Edit(name)->setText(QString::fromLatin1(std::string(name) + " \xE4"));
    Edit("ED_RelYear")->setText("1993");
    Edit("ED_RelMonth")->setText("+7");
    Edit("ED_RelDay")->setText("0");
    Click("B_Okay");
    QVERIFY(!editor_->isVisible());
    for (const auto& [name, field] : edits)
      QCOMPARE((game_->*field).Value(), std::string(name) + " \xE4");
    QCOMPARE(game_->releaseDate, (ReleaseDate{1993, 7, 0}));
    QVERIFY(EditorTables().games.Slots()[0].changed);
  }

  void TheMemoIsStoredAsOneLine_data() {
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QString>("comment");
    QTest::newRow("two lines") << "first\nsecond"
                               << "first second";
    QTest::newRow("an empty line between") << "first\n\nsecond"
                                           << "first  second";
    QTest::newRow("leading empty lines") << "\n\nfirst"
                                         << "first";
    QTest::newRow("only empty lines") << "\n\n"
                                      << "";
    QTest::newRow("a no-break space stays")
        << QString::fromLatin1("a\xA0z") << QString::fromLatin1("a\xA0z");
  }

  void TheMemoIsStoredAsOneLine() {
    QFETCH(QString, memo);
    QFETCH(QString, comment);
    Open();
    Memo()->setPlainText(memo);
    Click("B_Save");
    QCOMPARE(QString::fromLatin1(game_->comment.Value()), comment);
    QCOMPARE(game_->comment.Present(), !comment.isEmpty());
    QCOMPARE(MemoText(*Memo()), comment);
  }

  // Tab leaves the comment; a pasted TAB becomes a blank.
  void TheCommentTakesNoTab() {
    Open();
    Memo()->clear();
    QTest::keyClick(Memo(), Qt::Key_Tab);
    QApplication::clipboard()->setText("pasted\tTAB");
    Memo()->paste();
    Click("B_Okay");
    QCOMPARE(game_->comment.Value(), std::string_view("pasted TAB"));
  }

  void DatesAreReadStrictlyAndCutToTheirWidths() {
    FakeDialogs dialogs;
    Open();
    Edit("ED_RelYear")->setText("70000");
    Edit("ED_RelDay")->setText("-1");
    Click("B_Save");
    QCOMPARE(game_->releaseDate, (ReleaseDate{4464, 3, 255}));
    QCOMPARE(Text("ED_RelYear"), QString("4464"));
    QCOMPARE(Text("ED_RelDay"), QString("255"));

    // A bad date stops Okay, the close box and Save; nothing is stored and
    // the slot stays open.
    Edit("ED_Name")->setText("Changed");
    Edit("ED_RelYear")->clear();
    Click("B_Okay");
    editor_->close();
    Click("B_Save");
    QCOMPARE(dialogs.messages, QStringList(3, "'' is not a valid integer value"));
    QVERIFY(editor_->isVisible());
    QCOMPARE(game_->name.Value(), std::string_view("Example"));
    QVERIFY(EditorTables().games.Slots()[0].Open());
    // Cancel still closes.
    Click("B_Cancel");
    QVERIFY(!editor_->isVisible());
    QVERIFY(EditorTables().games.Slots()[0].changed);
  }

  // Cancel drops what Save did not store; the close box keeps the changes.
  void CancelDropsTheCloseBoxKeeps() {
    Open();
    Edit("ED_Publisher")->setText("New Soft");
    Click("B_Save");
    Edit("ED_Name")->setText("Dropped");
    Click("B_Cancel");
    QCOMPARE(game_->publisher.Value(), std::string_view("New Soft"));
    QCOMPARE(game_->name.Value(), std::string_view("Example"));

    Open();
    Edit("ED_Name")->setText("Closed");
    Edit("ED_Publisher")->clear();
    editor_->close();
    QCOMPARE(game_->name.Value(), std::string_view("Closed"));
    QVERIFY(!game_->publisher.Present());
  }

 private:
  void Open() {
    delete editor_.data();
    editor_ = OpenRecordEditor<TF_GameEdit>(*game_, nullptr);
    QVERIFY(editor_);
  }

  QLineEdit* Edit(const char* name) const { return editor_->findChild<QLineEdit*>(name); }
  QString Text(const char* name) const { return Edit(name)->text(); }
  QPlainTextEdit* Memo() const { return editor_->findChild<QPlainTextEdit*>("M_Comment"); }
  void Click(const char* name) const { editor_->findChild<QPushButton*>(name)->click(); }

  std::unique_ptr<DidBuilder> db_;
  GameRecord* game_ = nullptr;
  QPointer<TF_GameEdit> editor_;
};

}  // namespace moswit::test

QTEST_MAIN(moswit::test::GameEditorTest)
#include "gameeditwindow_test.moc"
