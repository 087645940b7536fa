// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/window/diskeditwindow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/window/fileeditwindow.h"
#include "gui/controls.h"
#include "gui/editorregistry.h"
#include "gui/reportlist.h"
#include "gui/texts.h"

namespace moswit {

namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 460;
constexpr int kRowRole = Qt::UserRole;

// Every open File and Range editor that holds one of `records`.
QList<QPointer<RecordEditor>> EditorsHolding(std::span<const RecordRef> records) {
  QList<QPointer<RecordEditor>> editors;
  for (const RecordEditorTable* table : {&EditorTables().files, &EditorTables().ranges}) {
    for (const RecordEditorTable::Slot& slot : table->Slots()) {
      if (slot.Open() && slot.window->EditsAnyOf(records)) editors.append(slot.window);
    }
  }
  return editors;
}

}  // namespace

TF_DiskEdit::TF_DiskEdit(GameRecord& game, DiskRecord& disk, QWidget* owner)
    : RecordEditor(owner, EditorTables().disks, SlotEnd::kMarkChanged, {&disk, &game, &disk}, true),
      disk_(disk) {
  setObjectName("TF_DiskEdit");
  setWindowTitle("Disk Editor");

  QGroupBox* properties = MakeGroup(this, "DI_Properties", "Properties");
  auto* propertiesGrid = new QGridLayout(properties);
  texts_.AddRows(propertiesGrid, FieldTable<DiskRecord>(), EditGroup::kProperties);
  matchName_ =
      MakeCheckBox(properties, "CB_MatchName", "Disk must be named correctly for identification");
  propertiesGrid->addWidget(matchName_, propertiesGrid->rowCount(), 0, 1, 2);

  QGroupBox* files = MakeGroup(this, "DI_Files", "Files (DOS) / Ranges (NDOS)");
  list_ = Named(new ReportList(files), "FR_FileList");
  list_->SetColumns({{Caption("Name"), 170, Qt::AlignLeft},
                     {Caption("Size"), 64, Qt::AlignRight},
                     {Caption("CRC32"), 68, Qt::AlignRight},
                     {Caption("Description"), 100, Qt::AlignLeft}});
  list_->SetStretchColumn(3);
  QPushButton* edit = MakeButton(files, "FR_Edit", "Edit Details");
  QPushButton* remove = MakeButton(files, "FR_Delete", "Delete from list");
  remove->setToolTip(Caption("File/Range deleting is done directly, so no undo here."));
  connect(edit, &QPushButton::clicked, this, &TF_DiskEdit::FR_EditClick);
  connect(remove, &QPushButton::clicked, this, &TF_DiskEdit::FR_DeleteClick);
  auto* listButtons = new QHBoxLayout;
  listButtons->addStretch();
  listButtons->addWidget(edit);
  listButtons->addWidget(remove);
  auto* filesLayout = new QVBoxLayout(files);
  filesLayout->addWidget(list_, 1);
  filesLayout->addLayout(listButtons);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(properties);
  layout->addWidget(files, 1);
  layout->addLayout(MakeButtonRow());
  resize(kWidth, kHeight);

  LoadControls();
  FillList();
}

void TF_DiskEdit::LoadControls() {
  const DiskFields fields = LoadDisk(disk_);
  texts_.Show(fields.texts);
  matchName_->setChecked(fields.matchName);
}

std::string TF_DiskEdit::StoreControls() {
  StoreDisk({texts_.Texts(), matchName_->isChecked()}, disk_);
  return {};
}

void TF_DiskEdit::FillList() {
  rows_ = MakeDiskListRows(disk_);
  list_->clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(rows_.size()));
  for (size_t i = 0; i < rows_.size(); ++i) {
    const DiskListRow& row = rows_[i];
    ReportRow* item = list_->NewRow(
        {DidText(row.name), DidText(row.size), DidText(row.crc), DidText(row.description)},
        row.name);
    item->setData(0, kRowRole, static_cast<int>(i));
    items.append(item);
  }
  // The rows come sorted already.
  list_->addTopLevelItems(items);
  list_->WidenColumnsToContents();
}

std::vector<const DiskListRow*> TF_DiskEdit::SelectedRows() const {
  // In the list's order, top to bottom.
  std::vector<const DiskListRow*> rows;
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = list_->topLevelItem(i);
    if (!item->isSelected()) continue;
    const int index = item->data(0, kRowRole).toInt();
    if (index >= 0 && static_cast<size_t>(index) < rows_.size()) rows.push_back(&rows_[index]);
  }
  return rows;
}

void TF_DiskEdit::FR_EditClick() {
  const DiskSelection selection = SelectedRecords(disk_, SelectedRows());
  // The editors are owned by this one, so they close before it does.
  if (selection.files.size() == 1) {
    OpenRecordEditor<TF_FileEdit>(*selection.files.front(), this);
  } else if (selection.files.size() > 1) {
    OpenRecordEditor<TF_FileEdit>(
        disk_, std::vector<const FileRecord*>(selection.files.begin(), selection.files.end()),
        this);
  }
  if (selection.ranges.size() == 1) {
    OpenRecordEditor<TF_RangeEdit>(*selection.ranges.front(), this);
  } else if (selection.ranges.size() > 1) {
    OpenRecordEditor<TF_RangeEdit>(
        disk_, std::vector<const RangeRecord*>(selection.ranges.begin(), selection.ranges.end()),
        this);
  }
}

void TF_DiskEdit::FR_DeleteClick() {
  const std::vector<const DiskListRow*> rows = SelectedRows();
  const std::vector<RecordRef> records = RowRecords(rows);
  // No File or Range editor outlives its record: those that hold one of the
  // records close without storing first.
  if (!records.empty()) {
    for (const QPointer<RecordEditor>& editor : EditorsHolding(records)) {
      if (editor) editor->CloseDiscarding();
    }
  }
  DeleteRows(disk_, rows);
  FillList();
  // Other Disk editors of this disk list the disposed records too.
  if (records.empty()) return;
  QList<QPointer<RecordEditor>> others;
  for (RecordEditor* other : DiskEditorsShowing(EditorTables(), &disk_, this)) others.append(other);
  for (const QPointer<RecordEditor>& other : others) {
    if (other) other->FillList();
  }
}

}  // namespace moswit
