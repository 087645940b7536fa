// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/window/dateedits.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "gui/controls.h"
#include "gui/texts.h"

namespace moswit {

void DateEdits::AddRow(QGridLayout* grid, const char* labelName, bool compact) {
  QWidget* parent = grid->parentWidget();
  const auto edit = [&](const char* name, int width) {
    QLineEdit* made = MakeEdit(parent, name);
    made->setFixedWidth(width);
    return made;
  };
  year_ = edit("ED_RelYear", compact ? 44 : 48);
  month_ = edit("ED_RelMonth", compact ? 30 : 32);
  day_ = edit("ED_RelDay", compact ? 30 : 32);
  auto* row = new QHBoxLayout;
  if (compact) row->setSpacing(3);
  row->addWidget(year_);
  row->addWidget(month_);
  row->addWidget(day_);
  row->addStretch();
  const int at = grid->rowCount();
  grid->addWidget(MakeLabel(parent, labelName, "Release Date (yyyy-mm-dd)"), at, 0);
  grid->addLayout(row, at, 1);
}

void DateEdits::Show(const DateFields& date) {
  year_->setText(DidText(date.year));
  month_->setText(DidText(date.month));
  day_->setText(DidText(date.day));
}

DateFields DateEdits::Fields() const {
  return {DidBytes(year_->text()), DidBytes(month_->text()), DidBytes(day_->text())};
}

}  // namespace moswit
