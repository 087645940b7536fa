// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/window/fileeditwindow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/controls.h"
#include "gui/texts.h"

namespace moswit {

namespace {

constexpr int kWidth = 470;
constexpr int kHeight = 380;

template <typename Record>
RecordEditorTable& TableOf();
template <>
RecordEditorTable& TableOf<FileRecord>() {
  return EditorTables().files;
}
template <>
RecordEditorTable& TableOf<RangeRecord>() {
  return EditorTables().ranges;
}

}  // namespace

AttributeEditor::AttributeEditor(QWidget* owner, RecordEditorTable& table, RecordRef record,
                                 bool multiEdit, std::span<const IdentityRow, 2> identity)
    : RecordEditor(owner, table, SlotEnd::kRelease, {record}, true), multiEdit_(multiEdit) {
  QGroupBox* standard = MakeGroup(this, "GB_StandardInfo", "Standard Info (view only)");
  auto* standardGrid = new QGridLayout(standard);
  // The identity is shown on a light background and takes no input.
  QPalette light = palette();
  light.setColor(QPalette::Disabled, QPalette::Base,
                 light.color(QPalette::Active, QPalette::Window).lighter(104));
  size_t next = 0;
  for (const IdentityRow& row : identity) {
    const int at = standardGrid->rowCount();
    standardGrid->addWidget(MakeLabel(standard, row.label, row.caption), at, 0);
    auto* edits = new QHBoxLayout;
    for (const char* name : row.edits) {
      if (name == nullptr) continue;
      QLineEdit* edit = MakeEdit(standard, name);
      edit->setEnabled(false);
      edit->setPalette(light);
      identity_[next++] = edit;
      edits->addWidget(edit);
    }
    standardGrid->addLayout(edits, at, 1);
  }
  const int descriptionRow = standardGrid->rowCount();
  standardGrid->addWidget(MakeLabel(standard, "ST_Description", "Description"), descriptionRow, 0);
  description_ = MakeEdit(standard, "ED_Description");
  standardGrid->addWidget(description_, descriptionRow, 1);

  QGroupBox* details = MakeGroup(this, "GB_Details", "Details");
  auto* detailsLayout = new QHBoxLayout(details);
  for (const AttributeColumn& column : kAttributeColumns) {
    auto* boxes = new QVBoxLayout;
    QLabel* heading = MakeLabel(details, column.name, column.caption);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    boxes->addWidget(heading);
    for (const AttributeBox& box : column.boxes) {
      QCheckBox* check = MakeCheckBox(details, box.name, box.caption);
      // Greyed ("leave each record's bit as it was") only means something
      // for several records; one record's boxes are checked or unchecked.
      check->setTristate(multiEdit_);
      check->setToolTip(Caption(kAttributeHint));
      boxes_.emplace_back(check, box.bit);
      boxes->addWidget(check);
    }
    boxes->addStretch();
    detailsLayout->addLayout(boxes);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(standard);
  layout->addWidget(details, 1);
  layout->addLayout(MakeButtonRow());
  resize(kWidth, kHeight);
}

void AttributeEditor::ShowFields(const AttributeFields& fields) {
  for (size_t i = 0; i < identity_.size(); ++i) identity_[i]->setText(DidText(fields.identity[i]));
  description_->setText(DidText(fields.description));
  for (const auto& [check, bit] : boxes_) {
    if ((fields.boxes.greyed & bit) != 0) {
      check->setCheckState(Qt::PartiallyChecked);
    } else {
      check->setCheckState((fields.boxes.checked & bit) != 0 ? Qt::Checked : Qt::Unchecked);
    }
  }
}

AttributeFields AttributeEditor::ShownFields() const {
  AttributeFields fields;
  for (size_t i = 0; i < identity_.size(); ++i) fields.identity[i] = DidBytes(identity_[i]->text());
  fields.description = DidBytes(description_->text());
  for (const auto& [check, bit] : boxes_) {
    if (check->checkState() == Qt::PartiallyChecked) fields.boxes.greyed |= bit;
    if (check->checkState() == Qt::Checked) fields.boxes.checked |= bit;
  }
  return fields;
}

template <typename FileOrRange>
AttributeRecordEditor<FileOrRange>::AttributeRecordEditor(QWidget* owner, RecordRef record,
                                                          bool multiEdit)
    : AttributeEditor(owner, TableOf<FileOrRange>(), record, multiEdit,
                      AttributeKind<FileOrRange>::kIdentity) {
  setObjectName(AttributeKind<FileOrRange>::kWindow);
  setWindowTitle(AttributeKind<FileOrRange>::kTitle);
}

template <typename FileOrRange>
AttributeRecordEditor<FileOrRange>::AttributeRecordEditor(FileOrRange& record, QWidget* owner)
    : AttributeRecordEditor(owner, &record, false) {
  record_ = &record;
  LoadControls();
}

template <typename FileOrRange>
AttributeRecordEditor<FileOrRange>::AttributeRecordEditor(DiskRecord& disk,
                                                          std::vector<const FileOrRange*> selected,
                                                          QWidget* owner)
    : AttributeRecordEditor(owner, &disk, !selected.empty()) {
  disk_ = &disk;
  selected_ = std::move(selected);
  LoadControls();
}

template <typename FileOrRange>
bool AttributeRecordEditor<FileOrRange>::EditsAnyOf(std::span<const RecordRef> records) const {
  if (RecordEditor::EditsAnyOf(records)) return true;
  return std::any_of(selected_.begin(), selected_.end(), [&](const FileOrRange* record) {
    return std::find(records.begin(), records.end(), RecordRef(record)) != records.end();
  });
}

template <typename FileOrRange>
void AttributeRecordEditor<FileOrRange>::LoadControls() {
  ShowFields(disk_ ? LoadMultiFields(disk_->*AttributeKind<FileOrRange>::kList, selected_)
                   : AttributeKind<FileOrRange>::Load(*record_));
}

template <typename FileOrRange>
std::string AttributeRecordEditor<FileOrRange>::StoreControls() {
  if (disk_) {
    StoreMultiFields(ShownFields(), disk_->*AttributeKind<FileOrRange>::kList, selected_);
  } else {
    AttributeKind<FileOrRange>::Store(ShownFields(), *record_);
  }
  return {};
}

template class AttributeRecordEditor<FileRecord>;
template class AttributeRecordEditor<RangeRecord>;

}  // namespace moswit
