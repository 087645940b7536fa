// SPDX-License-Identifier: GPL-2.0-or-later
#include "collection/window/collectionwindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTreeView>
#include <QVBoxLayout>
#include <vector>

#include "collection/collectionform.h"
#include "collection/fixdat.h"
#include "collection/window/collectionmodel.h"
#include "collection/window/savedialog.h"
#include "gui/controls.h"
#include "gui/dialogseam.h"
#include "gui/inspectoropener.h"
#include "gui/texts.h"

namespace moswit {

TF_Collection::TF_Collection(const DatabaseInfo& database, QWidget* owner)
    : QWidget(owner, Qt::Window), database_(database) {
  setObjectName("TF_Collection");
  setWindowTitle(DidText(CollectionTitle(database)));
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_QuitOnClose, false);

  QLabel* filterLabel = MakeLabel(this, "L_Filter", kFilterLabel);
  filter_ = MakeEdit(this, "ED_Filter");
  filter_->setPlaceholderText(Caption(kFilterHint));
  filter_->setClearButtonEnabled(true);
  filterLabel->setBuddy(filter_);
  onlyMissing_ = MakeCheckBox(this, "CB_OnlyMissing", kOnlyMissingCaption);
  onlyPartial_ = MakeCheckBox(this, "CB_OnlyPartial", kOnlyPartialCaption);
  auto* filterRow = new QHBoxLayout;
  filterRow->addWidget(filterLabel);
  filterRow->addWidget(filter_, 1);
  filterRow->addWidget(onlyMissing_);
  filterRow->addWidget(onlyPartial_);

  model_ = new CollectionModel(this);
  disks_ = Named(new QTreeView(this), "TV_Disks");
  disks_->setModel(model_);
  // Every row is one line high: the view lays out a large DID quickly.
  disks_->setUniformRowHeights(true);
  disks_->setAlternatingRowColors(true);
  disks_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  disks_->setSelectionBehavior(QAbstractItemView::SelectRows);
  disks_->setAllColumnsShowFocus(true);
  for (size_t i = 0; i < kCollectionColumns.size(); ++i) {
    disks_->setColumnWidth(static_cast<int>(i), kCollectionColumns[i].width);
  }

  status_ = MakeLabel(this, "P_Status", "");
  status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  // A long summary is cut at the edge instead of widening the window.
  status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(filterRow);
  layout->addWidget(disks_, 1);
  layout->addWidget(status_);
  setTabOrder(filter_, onlyMissing_);
  setTabOrder(onlyMissing_, onlyPartial_);
  setTabOrder(onlyPartial_, disks_);
  resize(kCollectionWidth, kCollectionHeight);

  MakeMenu();
  connect(filter_, &QLineEdit::textChanged, this, &TF_Collection::ApplyFilter);
  // Enter in the filter goes on to the tree.
  connect(filter_, &QLineEdit::returnPressed, disks_, [this] { disks_->setFocus(); });
  for (QCheckBox* toggle : {onlyMissing_, onlyPartial_}) {
    connect(toggle, &QCheckBox::toggled, this, &TF_Collection::ApplyFilter);
  }
  connect(disks_, &QTreeView::activated, this, &TF_Collection::TV_DisksActivated);
  ShowStatus();
}

void TF_Collection::MakeMenu() {
  menu_ = Named(new QMenu(this), "PU_Collection");
  // Each shortcut works where its holder has the focus: Ctrl+C in the tree
  // (in the filter field it copies the field's text), the others anywhere
  // in the window.
  const auto add = [this](const char* name, const char* caption, const QKeySequence& keys,
                          QWidget* holder, void (TF_Collection::*slot)()) {
    QAction* action = Named(new QAction(Caption(caption), this), name);
    action->setShortcut(keys);
    action->setShortcutContext(holder == this ? Qt::WindowShortcut : Qt::WidgetShortcut);
    connect(action, &QAction::triggered, this, slot);
    menu_->addAction(action);
    holder->addAction(action);
    return action;
  };
  add("MI_CopyNames", kCopyNamesCaption, QKeySequence::Copy, disks_,
      &TF_Collection::CopyNamesClick);
  add("MI_SaveReport", kSaveReportCaption, QKeySequence(Qt::CTRL | Qt::Key_S), this,
      &TF_Collection::SaveReportClick);
  add("MI_SaveMissing", kSaveMissingCaption, QKeySequence(Qt::CTRL | Qt::Key_D), this,
      &TF_Collection::SaveMissingClick);
  menu_->addSeparator();
  copyToTarget_ = add("MI_CopyToTarget", kCopyToTargetCaption, QKeySequence(Qt::CTRL | Qt::Key_T),
                      this, &TF_Collection::CopyToTargetClick);
  copyToTarget_->setEnabled(false);
  // The menu key and a right-click open the menu.
  disks_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(disks_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { menu_->popup(disks_->viewport()->mapToGlobal(at)); });
}

void TF_Collection::SetReport(CollectionReport report, const CollectionFolders& folders) {
  folders_ = folders;
  model_->SetReport(std::move(report));
  disks_->expandAll();
  disks_->setCurrentIndex(model_->index(0, 0));
  ShowStatus();
}

void TF_Collection::SetCopyEnabled(bool enabled) { copyToTarget_->setEnabled(enabled); }

void TF_Collection::ApplyFilter() {
  CollectionFilter filter;
  filter.text = filter_->text().toUtf8().toStdString();
  filter.onlyMissing = onlyMissing_->isChecked();
  filter.onlyPartial = onlyPartial_->isChecked();
  model_->SetFilter(filter);
  disks_->expandAll();
  disks_->setCurrentIndex(model_->index(0, 0));
  ShowStatus();
}

void TF_Collection::ShowStatus() {
  status_->setText(FileNameText(CollectionStatus(model_->Tree())));
}

void TF_Collection::CopyNamesClick() {
  std::vector<TreeRow> rows;
  for (const QModelIndex& index : disks_->selectionModel()->selectedRows()) {
    rows.push_back(model_->RowOf(index));
  }
  QApplication::clipboard()->setText(DidText(model_->Tree().Names(rows)));
}

std::string TF_Collection::SaveFolder() const {
  return ReportFolder(folders_.target, folders_.collection, FileNameBytes(QDir::homePath()));
}

void TF_Collection::SaveReportClick() {
  const std::string path = AskSavePath(this, kReportDialog, SaveFolder());
  if (path.empty()) return;
  const CollectionReport& report = model_->Tree().Report();
  if (const std::optional<FileError> error = WriteReport(path, report)) {
    Dialogs().ShowMessage(this, FileNameText(FormatFileError(*error)));
    return;
  }
  status_->setText(FileNameText(ReportSavedStatus(report)));
}

void TF_Collection::SaveMissingClick() {
  const CollectionReport& report = model_->Tree().Report();
  const std::string nothing =
      NothingToListAsDat(CountStatuses(report).missing, MissingImages(report).size());
  if (!nothing.empty()) {
    Dialogs().ShowMessage(this, Caption(nothing.c_str()));
    return;
  }
  const std::string path = AskSavePath(this, kFixDatDialog, SaveFolder());
  if (path.empty()) return;
  size_t listed = 0;
  if (const std::optional<FileError> error = WriteFixDat(path, database_, report, &listed)) {
    Dialogs().ShowMessage(this, FileNameText(FormatFileError(*error)));
    return;
  }
  status_->setText(Caption(FixDatSavedStatus(listed).c_str()));
}

void TF_Collection::CopyToTargetClick() {
  if (copyToTarget_->isEnabled()) emit CopyToTargetRequested();
}

void TF_Collection::TV_DisksActivated(const QModelIndex& index) {
  const TreeRow row = model_->RowOf(index);
  if (!index.isValid() || row.item == kGroupRow) return;
  const ImageOutcome* image = model_->Tree().Image(row);
  if (image == nullptr || !OpenImageInInspector({image->path, image->member})) Dialogs().Beep();
}

}  // namespace moswit
