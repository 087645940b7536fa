// SPDX-License-Identifier: GPL-2.0-or-later
// The line edits of a record editor that show fields of the record's DID
// field table: made from the rows of an editor group (label, edit, caption
// as the table gives them), and moved to and from EditTexts.
#pragma once

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <span>
#include <vector>

#include "database/didfields.h"
#include "gui/controls.h"

namespace moswit {

class FieldEdits {
 public:
  // A row of label and edit per field of `group`, in their places, at the
  // end of `grid` (whose parent widget holds them); the edits made. A date
  // has three edits side by side, year, month and day, narrower and closer
  // together when `compactDates`.
  template <typename Record>
  std::vector<QLineEdit*> AddRows(QGridLayout* grid, std::span<const DidField<Record>> table,
                                  EditGroup group, bool compactDates = false) {
    QWidget* parent = grid->parentWidget();
    std::vector<QLineEdit*> made;
    for (const DidField<Record>* field : GroupFields(table, group)) {
      const int row = grid->rowCount();
      if (field->edit.label != nullptr) {
        grid->addWidget(MakeLabel(parent, field->edit.label, field->edit.caption), row, 0);
      }
      if (field->form == DidForm::kDate) {
        grid->addLayout(DateRow(parent, field->edit, compactDates, made), row, 1);
        continue;
      }
      QLineEdit* edit = MakeEdit(parent, field->edit.edit);
      grid->addWidget(edit, row, 1);
      made.push_back(Add(edit));
    }
    return made;
  }

  // The edits of `group` without labels or layout, for a window that places
  // them itself.
  template <typename Record>
  std::vector<QLineEdit*> AddEdits(QWidget* parent, std::span<const DidField<Record>> table,
                                   EditGroup group) {
    std::vector<QLineEdit*> made;
    for (const DidField<Record>* field : GroupFields(table, group)) {
      made.push_back(Add(MakeEdit(parent, field->edit.edit)));
    }
    return made;
  }

  // Shows the texts in the edits they name; with `keepWhereEmpty`, an empty
  // text leaves its edit as it is.
  void Show(const EditTexts& texts, bool keepWhereEmpty = false);
  // The text of every edit, by its name.
  EditTexts Texts() const;

 private:
  QHBoxLayout* DateRow(QWidget* parent, const FieldEdit& field, bool compact,
                       std::vector<QLineEdit*>& made);

  QLineEdit* Add(QLineEdit* edit) {
    edits_.push_back(edit);
    return edit;
  }

  std::vector<QLineEdit*> edits_;
};

}  // namespace moswit
