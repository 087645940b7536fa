// SPDX-License-Identifier: GPL-2.0-or-later
#include "gui/fieldedits.h"

#include "gui/texts.h"

namespace moswit {

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
