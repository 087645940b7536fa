// SPDX-License-Identifier: GPL-2.0-or-later
// The Game editor: the title, publisher, release date, credits and comment
// of one game, edited in place. Its close box keeps the changes, as Okay
// does; a date that is not a whole number keeps the window open.
#pragma once

#include <string>

#include "database/records.h"
#include "editors/gamefields.h"
#include "gui/fieldedits.h"
#include "gui/recordeditor.h"

class QLineEdit;
class QPlainTextEdit;

namespace moswit {

class TF_GameEdit : public RecordEditor {
  Q_OBJECT

 public:
  // Takes a slot of the game table; open it with OpenRecordEditor.
  TF_GameEdit(GameRecord& game, QWidget* owner);

  // The date edit a store stops at.
  std::string FailedField() const override;

 protected:
  void LoadControls() override;
  std::string StoreControls() override;

 private:
  GameFields Fields() const;

  GameRecord& game_;
  FieldEdits texts_;  // name, publisher and credits
  QPlainTextEdit* comment_ = nullptr;
};

}  // namespace moswit
