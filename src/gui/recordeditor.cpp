// SPDX-License-Identifier: GPL-2.0-or-later
#include "gui/recordeditor.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "gui/controls.h"
#include "gui/texts.h"

namespace moswit {

RecordEditor::RecordEditor(QWidget* owner, RecordEditorTable& table, SlotEnd end,
                           const SlotRecord& record, bool applyOnClose)
    : QWidget(owner, Qt::Window),
      table_(table),
      end_(end),
      record_(record.record),
      applyOnClose_(applyOnClose) {
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_QuitOnClose, false);
  hasSlot_ = table_.Put(this, record).has_value();
}

RecordEditor::~RecordEditor() {
  // An editor destroyed without closing (its owner went first) still gives
  // up its slot, so no slot names a window that is gone.
  EndSlot();
}

bool RecordEditor::EditsAnyOf(std::span<const RecordRef> records) const {
  return std::find(records.begin(), records.end(), record_) != records.end();
}

QHBoxLayout* RecordEditor::MakeButtonRow() {
  QPushButton* okay = MakeButton(this, "B_Okay", "Okay");
  QPushButton* save = MakeButton(this, "B_Save", "Save");
  QPushButton* cancel = MakeButton(this, "B_Cancel", "Cancel");
  connect(okay, &QPushButton::clicked, this, &RecordEditor::B_OkayClick);
  connect(save, &QPushButton::clicked, this, &RecordEditor::B_SaveClick);
  connect(cancel, &QPushButton::clicked, this, &RecordEditor::B_CancelClick);
  auto* row = new QHBoxLayout;
  row->addWidget(okay);
  row->addWidget(save);
  row->addStretch();
  row->addWidget(cancel);
  return row;
}

void RecordEditor::B_OkayClick() {
  applyOnClose_ = true;
  close();
}

void RecordEditor::B_SaveClick() { Store(); }

bool RecordEditor::Store() {
  const std::string error = StoreQuietly();
  if (error.empty()) return true;
  Dialogs().ShowMessage(this, DidText(error));
  return false;
}

std::string RecordEditor::StoreQuietly() {
  std::string error = StoreControls();
  if (!error.empty()) return error;
  LoadControls();
  loaded_ = ControlValues();
  loadedTaken_ = true;
  return {};
}

bool RecordEditor::HoldsChanges() const { return loadedTaken_ && ControlValues() != loaded_; }

QStringList RecordEditor::ControlValues() const {
  QStringList values;
  for (const QWidget* control : findChildren<QWidget*>()) {
    // The editors opened from this one are windows of their own.
    if (control->window() != this) continue;
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
      values << edit->text();
    } else if (const auto* memo = qobject_cast<const QPlainTextEdit*>(control)) {
      values << memo->toPlainText();
    } else if (const auto* box = qobject_cast<const QCheckBox*>(control)) {
      values << QString::number(static_cast<int>(box->checkState()));
    } else if (const auto* radio = qobject_cast<const QRadioButton*>(control)) {
      values << QString::number(radio->isChecked());
    }
  }
  return values;
}

void RecordEditor::showEvent(QShowEvent* event) {
  if (!loadedTaken_) {
    loaded_ = ControlValues();
    loadedTaken_ = true;
  }
  QWidget::showEvent(event);
}

void RecordEditor::B_CancelClick() {
  applyOnClose_ = false;
  close();
}

void RecordEditor::CloseDiscarding() {
  discarding_ = true;
  applyOnClose_ = false;
  close();
}

void RecordEditor::closeEvent(QCloseEvent* event) {
  // Qt sends a close event again to a window closed before; it has nothing
  // left to do.
  if (closed_) {
    event->accept();
    return;
  }
  // The editors opened from this one edit records below it: they go first.
  if (!CloseRecordEditors(findChildren<RecordEditor*>(Qt::FindDirectChildrenOnly), discarding_)) {
    event->ignore();
    return;
  }
  if (applyOnClose_ && !discarding_) {
    const std::string error = StoreControls();
    if (!error.empty()) {
      Dialogs().ShowMessage(this, DidText(error));
      event->ignore();
      return;
    }
  }
  closed_ = true;
  EndSlot();
  event->accept();
}

void RecordEditor::EndSlot() {
  if (!hasSlot_) return;
  hasSlot_ = false;
  if (end_ == SlotEnd::kMarkChanged) {
    table_.MarkChanged(this);
  } else {
    table_.Release(this);
  }
}

bool CloseRecordEditors(const QList<RecordEditor*>& editors, bool discard) {
  // Closing one editor may close others (those opened from it).
  QList<QPointer<RecordEditor>> pending;
  for (RecordEditor* editor : editors) pending.append(editor);
  bool all = true;
  for (const QPointer<RecordEditor>& editor : pending) {
    if (!editor) continue;
    if (discard) {
      editor->CloseDiscarding();
    } else if (!editor->close()) {
      all = false;
    }
  }
  return all;
}

}  // namespace moswit
