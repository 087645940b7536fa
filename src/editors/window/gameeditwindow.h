// The Game editor: the title, publisher, release date, credits and comment
// of one game, edited in place. Its close box keeps the changes, as Okay
// does; a date that is not a whole number keeps the window open.
#pragma once

#include <string>

#include "database/records.h"
#include "editors/gamefields.h"
#include "gui/recordeditor.h"

class QLineEdit;
class QPlainTextEdit;

namespace moswit {

class TF_GameEdit : public RecordEditor {
  Q_OBJECT

 public:
  // Takes a slot of the game table; open it with OpenRecordEditor.
  TF_GameEdit(GameRecord& game, QWidget* owner);

 protected:
  void LoadControls() override;
  std::string StoreControls() override;

 private:
  GameFields Fields() const;

  GameRecord& game_;
  QLineEdit* name_ = nullptr;
  QLineEdit* publisher_ = nullptr;
  QLineEdit* year_ = nullptr;
  QLineEdit* month_ = nullptr;
  QLineEdit* day_ = nullptr;
  QLineEdit* developer_ = nullptr;
  QLineEdit* code_ = nullptr;
  QLineEdit* graphics_ = nullptr;
  QLineEdit* soundFx_ = nullptr;
  QLineEdit* music_ = nullptr;
  QLineEdit* design_ = nullptr;
  QPlainTextEdit* comment_ = nullptr;
};

}  // namespace moswit
