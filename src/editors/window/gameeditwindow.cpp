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

// A label and its edit on one row of a group's grid.
QLineEdit* EditRow(QGridLayout* grid, const char* label, const char* caption, const char* name) {
  QWidget* group = grid->parentWidget();
  const int row = grid->rowCount();
  grid->addWidget(MakeLabel(group, label, caption), row, 0);
  QLineEdit* edit = MakeEdit(group, name);
  grid->addWidget(edit, row, 1);
  return edit;
}

}  // namespace

TF_GameEdit::TF_GameEdit(GameRecord& game, QWidget* owner)
    : RecordEditor(owner, EditorTables().games, SlotEnd::kMarkChanged, {&game}, true),
      game_(game) {
  setObjectName("TF_GameEdit");
  setWindowTitle("Game Editor");

  QGroupBox* standard = MakeGroup(this, "GB_StandardInfo", "Standard Info");
  auto* standardGrid = new QGridLayout(standard);
  name_ = EditRow(standardGrid, "ST_Name", "Name", "ED_Name");
  publisher_ = EditRow(standardGrid, "ST_Publisher", "Publisher", "ED_Publisher");
  year_ = MakeEdit(standard, "ED_RelYear");
  month_ = MakeEdit(standard, "ED_RelMonth");
  day_ = MakeEdit(standard, "ED_RelDay");
  year_->setFixedWidth(48);
  month_->setFixedWidth(32);
  day_->setFixedWidth(32);
  auto* date = new QHBoxLayout;
  date->addWidget(year_);
  date->addWidget(month_);
  date->addWidget(day_);
  date->addStretch();
  const int dateRow = standardGrid->rowCount();
  standardGrid->addWidget(MakeLabel(standard, "ST_RelDate", "Release Date (yyyy-mm-dd)"), dateRow,
                          0);
  standardGrid->addLayout(date, dateRow, 1);

  QGroupBox* credits = MakeGroup(this, "GB_Credits", "Credits");
  auto* creditsGrid = new QGridLayout(credits);
  developer_ = EditRow(creditsGrid, "ST_Developer", "Developer Team", "ED_Developer");
  code_ = EditRow(creditsGrid, "ST_Code", "Code", "ED_Code");
  graphics_ = EditRow(creditsGrid, "ST_Graphics", "Graphics", "ED_Graphics");
  soundFx_ = EditRow(creditsGrid, "ST_SoundFX", "Sound Effects", "ED_SoundFX");
  music_ = EditRow(creditsGrid, "ST_Music", "Music", "ED_Music");
  design_ = EditRow(creditsGrid, "ST_Design", "Design (Level etc.)", "ED_Design");
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
  const std::pair<QLineEdit*, const std::string*> texts[] = {
      {publisher_, &fields.publisher}, {name_, &fields.name},
      {developer_, &fields.developer}, {code_, &fields.code},
      {graphics_, &fields.graphics},   {soundFx_, &fields.soundFx},
      {music_, &fields.music},         {design_, &fields.design}};
  // An absent text leaves its edit as it is.
  for (const auto& [edit, text] : texts) {
    if (!text->empty()) edit->setText(DidText(*text));
  }
  year_->setText(DidText(fields.releaseDate.year));
  month_->setText(DidText(fields.releaseDate.month));
  day_->setText(DidText(fields.releaseDate.day));
}

GameFields TF_GameEdit::Fields() const {
  GameFields fields;
  fields.name = DidBytes(name_->text());
  fields.publisher = DidBytes(publisher_->text());
  fields.releaseDate = {DidBytes(year_->text()), DidBytes(month_->text()), DidBytes(day_->text())};
  fields.developer = DidBytes(developer_->text());
  fields.code = DidBytes(code_->text());
  fields.graphics = DidBytes(graphics_->text());
  fields.soundFx = DidBytes(soundFx_->text());
  fields.music = DidBytes(music_->text());
  fields.design = DidBytes(design_->text());
  fields.comment = DidBytes(MemoText(*comment_));
  return fields;
}

std::string TF_GameEdit::StoreControls() { return StoreGame(Fields(), game_); }

}  // namespace moswit
