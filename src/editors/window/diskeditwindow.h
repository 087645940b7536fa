// SPDX-License-Identifier: GPL-2.0-or-later
// The Disk editor: the volume name, comment and name rule of one disk,
// edited in place, and the list of its files and ranges, from which records
// are deleted at once or handed to the File and Range editors. The
// Inspector appends files and ranges to an open Disk editor's disk.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "database/records.h"
#include "editors/diskfields.h"
#include "gui/fieldedits.h"
#include "gui/recordeditor.h"

class QCheckBox;
class QLineEdit;

namespace moswit {

class ReportList;

class TF_DiskEdit : public RecordEditor {
  Q_OBJECT

 public:
  // Takes a slot of the disk table; open it with OpenRecordEditor.
  TF_DiskEdit(GameRecord& game, DiskRecord& disk, QWidget* owner);

  DiskRecord& Disk() const { return disk_; }
  // Makes the rows anew from the disk, in sorted order.
  void FillList() override;
  const std::vector<DiskListRow>& Rows() const { return rows_; }

  void FR_EditClick();
  void FR_DeleteClick();

 protected:
  void LoadControls() override;
  std::string StoreControls() override;

 private:
  std::vector<const DiskListRow*> SelectedRows() const;

  DiskRecord& disk_;
  std::vector<DiskListRow> rows_;
  FieldEdits texts_;  // name and comment
  QCheckBox* matchName_ = nullptr;
  ReportList* list_ = nullptr;
};

}  // namespace moswit
