// SPDX-License-Identifier: GPL-2.0-or-later
// The File and Range editors: the attribute bits and `description` of a
// file or range record, or of several records of one disk at once
// (multi-edit), edited in place; the record's identity is shown, not
// edited. One implementation for both kinds; AttributeKind says what
// differs (window name, identity edits, the disk's list, the slot table).
#pragma once

#include <array>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "database/records.h"
#include "editors/attributefields.h"
#include "gui/recordeditor.h"

class QCheckBox;
class QLineEdit;

namespace moswit {

class AttributeEditor : public RecordEditor {
  Q_OBJECT

 public:
  bool MultiEdit() const { return multiEdit_; }

 protected:
  // `record` is the record, or the disk in multi-edit.
  AttributeEditor(QWidget* owner, RecordEditorTable& table, RecordRef record, bool multiEdit,
                  std::span<const IdentityRow, 2> identity);

  void ShowFields(const AttributeFields& fields);
  AttributeFields ShownFields() const;

 private:
  bool multiEdit_;
  std::array<QLineEdit*, 3> identity_{};
  QLineEdit* description_ = nullptr;
  std::vector<std::pair<QCheckBox*, AttributeFlags>> boxes_;
};

// The editor of one kind of record: one record, or several of one disk.
template <typename FileOrRange>
class AttributeRecordEditor : public AttributeEditor {
 public:
  // Take a slot of the kind's table; open them with OpenRecordEditor.
  AttributeRecordEditor(FileOrRange& record, QWidget* owner);
  AttributeRecordEditor(DiskRecord& disk, std::vector<const FileOrRange*> selected, QWidget* owner);

  // Its record, its disk in multi-edit, or one of the records it edits.
  bool EditsAnyOf(std::span<const RecordRef> records) const override;

 protected:
  void LoadControls() override;
  std::string StoreControls() override;

 private:
  AttributeRecordEditor(QWidget* owner, RecordRef record, bool multiEdit);

  FileOrRange* record_ = nullptr;
  DiskRecord* disk_ = nullptr;
  std::vector<const FileOrRange*> selected_;
};

class TF_FileEdit : public AttributeRecordEditor<FileRecord> {
  Q_OBJECT

 public:
  using AttributeRecordEditor::AttributeRecordEditor;
};

class TF_RangeEdit : public AttributeRecordEditor<RangeRecord> {
  Q_OBJECT

 public:
  using AttributeRecordEditor::AttributeRecordEditor;
};

}  // namespace moswit
