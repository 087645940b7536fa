// The File and Range editors: the attribute bits and `description` of a
// file or range record, or of several records of one disk at once
// (multi-edit), edited in place; the record's identity is shown, not
// edited. One design for both kinds, apart from the identity edits.
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
  bool MultiEdit() const { return !selected_.empty(); }
  // Its record, its disk in multi-edit, or one of the records it edits.
  bool EditsAnyOf(std::span<const void* const> records) const override;

  // The label and up to two view-only edits of one identity row.
  struct IdentityRow {
    const char* label;
    const char* caption;
    std::array<const char*, 2> edits;
  };

 protected:
  // `record` is the record, or the disk in multi-edit, where `selected`
  // holds the records (empty in single mode).
  AttributeEditor(QWidget* owner, EditorTable& table, const void* record,
                  std::vector<const void*> selected, std::span<const IdentityRow, 2> identity);

  void ShowFields(const AttributeFields& fields);
  AttributeFields ShownFields() const;

 private:
  std::vector<const void*> selected_;
  std::array<QLineEdit*, 3> identity_{};
  QLineEdit* description_ = nullptr;
  std::vector<std::pair<QCheckBox*, AttributeFlags>> boxes_;
};

class TF_FileEdit : public AttributeEditor {
  Q_OBJECT

 public:
  // Take a slot of the file table; open them with OpenRecordEditor.
  TF_FileEdit(FileRecord& file, QWidget* owner);
  TF_FileEdit(DiskRecord& disk, std::vector<const FileRecord*> selectedFiles, QWidget* owner);

 protected:
  void LoadControls() override;
  std::string StoreControls() override;

 private:
  TF_FileEdit(QWidget* owner, const void* record, std::vector<const void*> selected);

  FileRecord* file_ = nullptr;
  DiskRecord* disk_ = nullptr;
  std::vector<const FileRecord*> selectedFiles_;
};

class TF_RangeEdit : public AttributeEditor {
  Q_OBJECT

 public:
  // Take a slot of the range table; open them with OpenRecordEditor.
  TF_RangeEdit(RangeRecord& range, QWidget* owner);
  TF_RangeEdit(DiskRecord& disk, std::vector<const RangeRecord*> selectedRanges, QWidget* owner);

 protected:
  void LoadControls() override;
  std::string StoreControls() override;

 private:
  TF_RangeEdit(QWidget* owner, const void* record, std::vector<const void*> selected);

  RangeRecord* range_ = nullptr;
  DiskRecord* disk_ = nullptr;
  std::vector<const RangeRecord*> selectedRanges_;
};

}  // namespace moswit
