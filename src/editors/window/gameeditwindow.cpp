// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/window/gameeditwindow.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/controls.h"
#include "gui/texts.h"

namespace moswit {

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 470;

}  // namespace

TF_GameEdit::TF_GameEdit(GameRecord& game, QWidget* owner)
    : RecordEditor(owner, EditorTables().games, SlotEnd::kMarkChanged, {&game}, true), game_(game) {
  setObjectName("TF_GameEdit");
  setWindowTitle("Game Editor");

  QGroupBox* standard = MakeGroup(this, "GB_StandardInfo", "Standard Info");
  auto* standardGrid = new QGridLayout(standard);
  const auto table = FieldTable<GameRecord>();
  texts_.AddRows(standardGrid, table, EditGroup::kStandardInfo);
  const int dateRow = standardGrid->rowCount() - 1;

  QGroupBox* credits = MakeGroup(this, "GB_Credits", "Credits");
  auto* creditsGrid = new QGridLayout(credits);
  texts_.AddRows(creditsGrid, table, EditGroup::kCredits);
  // The labels of both groups take one width, so the edits line up.
  const int labelWidth =
      std::max(standardGrid->itemAtPosition(dateRow, 0)->sizeHint().width(),
               creditsGrid->itemAtPosition(creditsGrid->rowCount() - 1, 0)->sizeHint().width());
  standardGrid->setColumnMinimumWidth(0, labelWidth);
  creditsGrid->setColumnMinimumWidth(0, labelWidth);

  QGroupBox* commentGroup = MakeGroup(this, "GB_Comment", "Comment");
  comment_ = MakeCommentMemo(commentGroup, "M_Comment");
  auto* commentLayout = new QVBoxLayout(commentGroup);
  commentLayout->addWidget(comment_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(standard);
  layout->addWidget(credits);
  layout->addWidget(commentGroup, 1);
  layout->addLayout(MakeButtonRow());
  resize(kWidth, kHeight);

  LoadControls();
}

void TF_GameEdit::LoadControls() {
  const GameFields fields = LoadGame(game_);
  comment_->setPlainText(DidText(fields.comment));
  // An absent text leaves its edit as it is.
  texts_.Show(fields.texts, true);
}

GameFields TF_GameEdit::Fields() const {
  GameFields fields;
  fields.texts = texts_.Texts();
  fields.comment = DidBytes(MemoText(*comment_));
  return fields;
}

std::string TF_GameEdit::StoreControls() { return StoreGame(Fields(), game_); }

std::string TF_GameEdit::FailedField() const {
  return FailedDateEdit(DateTexts(FieldTable<GameRecord>(), Fields().texts));
}

}  // namespace moswit
