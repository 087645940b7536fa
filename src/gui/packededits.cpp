// SPDX-License-Identifier: GPL-2.0-or-later
#include "gui/packededits.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "gui/controls.h"
#include "gui/texts.h"

namespace moswit {

namespace {

// A box of two bits. A three-state box cycles through unchecked, greyed and
// checked; a two-state one the user can only check and uncheck, though it
// still shows greyed when the record holds it.
class TriStateBox : public QCheckBox {
 public:
  TriStateBox(const char* caption, bool threeStates, QWidget* parent)
      : QCheckBox(Caption(caption), parent), threeStates_(threeStates) {
    setTristate(threeStates);
  }

 protected:
  void nextCheckState() override {
    if (threeStates_) {
      QCheckBox::nextCheckState();
    } else {
      setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
  }

 private:
  bool threeStates_;
};

Qt::CheckState ShownState(TriState state) {
  switch (state) {
    case TriState::Checked:
      return Qt::Checked;
    case TriState::Greyed:
      return Qt::PartiallyChecked;
    case TriState::Unchecked:
      break;
  }
  return Qt::Unchecked;
}

TriState StoredState(Qt::CheckState state) {
  switch (state) {
    case Qt::Checked:
      return TriState::Checked;
    case Qt::PartiallyChecked:
      return TriState::Greyed;
    case Qt::Unchecked:
      break;
  }
  return TriState::Unchecked;
}

}  // namespace

QWidget* PackedEdits::Make(QWidget* parent, const Row& row) {
  const auto box = [this](QAbstractButton* made) {
    boxes_.push_back(made);
    return made;
  };
  switch (row.kind) {
    case PackedKind::kThreeStates:
    case PackedKind::kTwoStates:
      return box(
          Named(new TriStateBox(row.control.caption, row.kind == PackedKind::kThreeStates, parent),
                row.control.name));
    case PackedKind::kFlag:
      return box(MakeCheckBox(parent, row.control.name, row.control.caption));
    case PackedKind::kChoice:
      return box(MakeRadioButton(parent, row.control.name, row.control.caption));
    case PackedKind::kNumber:
      break;
  }
  QLineEdit* edit = MakeEdit(parent, row.control.name);
  if (row.pixels != 0) edit->setFixedWidth(row.pixels);
  numbers_.push_back(edit);
  return edit;
}

QVBoxLayout* PackedEdits::Lines(QWidget* parent, const std::vector<Row>& rows) {
  auto* lines = new QVBoxLayout;
  lines->setSpacing(2);
  for (size_t first = 0; first < rows.size();) {
    size_t end = first;
    bool labelsAbove = false;
    while (end < rows.size() && rows[end].line == rows[first].line) {
      labelsAbove = labelsAbove || rows[end].labelAt == LabelAt::kAbove;
      ++end;
    }
    const auto label = [&](const Row& row) {
      return MakeLabel(parent, row.label.name, row.label.caption);
    };
    if (end - first == 1 && rows[first].labelAt == LabelAt::kNone) {
      lines->addWidget(Make(parent, rows[first]));
    } else if (labelsAbove) {
      auto* grid = new QGridLayout;
      grid->setHorizontalSpacing(3);
      grid->setVerticalSpacing(0);
      int at = 0;
      for (size_t i = first; i < end; ++i, ++at) {
        if (rows[i].labelAt == LabelAt::kAbove) grid->addWidget(label(rows[i]), 0, at);
        grid->addWidget(Make(parent, rows[i]), 1, at);
      }
      grid->setColumnStretch(at, 1);
      lines->addLayout(grid);
    } else {
      auto* line = new QHBoxLayout;
      line->setSpacing(3);
      for (size_t i = first; i < end; ++i) {
        if (rows[i].labelAt == LabelAt::kBefore) line->addWidget(label(rows[i]));
        line->addWidget(Make(parent, rows[i]));
        if (rows[i].labelAt == LabelAt::kAfter) line->addWidget(label(rows[i]));
      }
      line->addStretch();
      lines->addLayout(line);
    }
    first = end;
  }
  return lines;
}

QGridLayout* PackedEdits::Grid(QWidget* parent, const std::vector<Row>& rows, int perColumn) {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(2);
  int at = 0;
  for (const Row& row : rows) {
    grid->addWidget(Make(parent, row), at % perColumn, at / perColumn);
    ++at;
  }
  grid->setColumnStretch((at + perColumn - 1) / perColumn, 1);
  return grid;
}

void PackedEdits::Show(const PackedControls& shown) {
  for (QAbstractButton* box : boxes_) {
    const auto state = shown.boxes.find(box->objectName().toStdString());
    const TriState value = state == shown.boxes.end() ? TriState::Unchecked : state->second;
    if (auto* check = qobject_cast<QCheckBox*>(box)) {
      check->setCheckState(ShownState(value));
    } else {
      box->setChecked(value == TriState::Checked);
    }
  }
  for (QLineEdit* edit : numbers_) {
    const auto text = shown.numbers.find(edit->objectName().toStdString());
    edit->setText(text == shown.numbers.end() ? QString() : DidText(text->second));
  }
}

PackedControls PackedEdits::Shown() const {
  PackedControls shown;
  for (const QAbstractButton* box : boxes_) {
    const auto* check = qobject_cast<const QCheckBox*>(box);
    shown.boxes[box->objectName().toStdString()] =
        check != nullptr ? StoredState(check->checkState())
                         : (box->isChecked() ? TriState::Checked : TriState::Unchecked);
  }
  for (const QLineEdit* edit : numbers_) {
    shown.numbers[edit->objectName().toStdString()] = DidBytes(edit->text());
  }
  return shown;
}

}  // namespace moswit
