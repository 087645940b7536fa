// SPDX-License-Identifier: GPL-2.0-or-later
// The controls of a window that show the rows of a packed table: three- and
// two-state boxes, flags, radio buttons and number edits, made from the rows
// of a group (objectName, caption, label and line as the table gives them),
// and moved to and from PackedControls.
#pragma once

#include <QGridLayout>
#include <QVBoxLayout>
#include <span>
#include <vector>

#include "database/packedfields.h"

class QAbstractButton;
class QCheckBox;
class QLineEdit;
class QWidget;

namespace moswit {

class PackedEdits {
 public:
  // The controls of `group`, one line below the other: a control alone on
  // its line stands as it is, the controls of one line stand side by side
  // with their labels before or after them, or in a grid below labels set
  // above them.
  template <typename Holder>
  QVBoxLayout* AddLines(QWidget* parent, std::span<const PackedField<Holder>> table,
                        PackedGroup group) {
    return Lines(parent, Rows(table, group));
  }

  // The controls of `group` in a grid, `perColumn` to a column, top to
  // bottom.
  template <typename Holder>
  QGridLayout* AddGrid(QWidget* parent, std::span<const PackedField<Holder>> table,
                       PackedGroup group, int perColumn) {
    return Grid(parent, Rows(table, group), perColumn);
  }

  void Show(const PackedControls& shown);
  // The state of every box and the text of every number, by its name.
  PackedControls Shown() const;

 private:
  // What a control is made from, whatever the table's holder.
  struct Row {
    PackedKind kind;
    ControlText control;
    ControlText label;
    LabelAt labelAt;
    uint8_t line;
    uint8_t pixels;
  };

  template <typename Holder>
  static std::vector<Row> Rows(std::span<const PackedField<Holder>> table, PackedGroup group) {
    std::vector<Row> rows;
    for (const PackedField<Holder>* field : PackedGroupFields(table, group)) {
      rows.push_back(
          {field->kind, field->control, field->label, field->labelAt, field->line, field->pixels});
    }
    return rows;
  }

  QWidget* Make(QWidget* parent, const Row& row);
  QVBoxLayout* Lines(QWidget* parent, const std::vector<Row>& rows);
  QGridLayout* Grid(QWidget* parent, const std::vector<Row>& rows, int perColumn);

  std::vector<QAbstractButton*> boxes_;
  std::vector<QLineEdit*> numbers_;
};

}  // namespace moswit
