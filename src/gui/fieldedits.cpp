// SPDX-License-Identifier: GPL-2.0-or-later
#include "gui/fieldedits.h"

#include "gui/texts.h"

namespace moswit {

QHBoxLayout* FieldEdits::DateRow(QWidget* parent, const FieldEdit& field, bool compact,
                                 std::vector<QLineEdit*>& made) {
  auto* row = new QHBoxLayout;
  if (compact) row->setSpacing(3);
  int part = 0;
  for (const std::string& name : DateEditNames(field)) {
    QLineEdit* edit = MakeEdit(parent, name.c_str());
    const bool year = part++ == 0;
    edit->setFixedWidth(year ? (compact ? 44 : 48) : (compact ? 30 : 32));
    row->addWidget(edit);
    made.push_back(Add(edit));
  }
  row->addStretch();
  return row;
}

void FieldEdits::Show(const EditTexts& texts, bool keepWhereEmpty) {
  for (QLineEdit* edit : edits_) {
    const auto text = texts.find(edit->objectName().toStdString());
    if (text == texts.end() || (keepWhereEmpty && text->second.empty())) continue;
    edit->setText(DidText(text->second));
  }
}

EditTexts FieldEdits::Texts() const {
  EditTexts texts;
  for (const QLineEdit* edit : edits_)
    texts[edit->objectName().toStdString()] = DidBytes(edit->text());
  return texts;
}

}  // namespace moswit
