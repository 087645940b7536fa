// SPDX-License-Identifier: GPL-2.0-or-later
// The Collection window: every disk of the DID grouped by game, each with
// its state after a scan (have, partial, missing) as a coloured mark and a
// word, its best image and that image's accuracy and codes; the unknown
// images in a group of their own; the counts in the status line. A filter
// field and two toggles narrow the tree; Enter or a double-click opens a
// row's image in the ADF Inspector. Its menu copies names, saves the report
// or the missing as a DAT, and asks its owner to copy the identified images.
#pragma once

#include <QWidget>
#include <string>

#include "collection/collectionreport.h"
#include "database/records.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QModelIndex;
class QTreeView;

namespace moswit {

class CollectionModel;

// Where the scan's images are and where copies go: "Save ..." starts in
// the target folder (or the home folder), never inside the collection.
struct CollectionFolders {
  std::string collection;
  std::string target;
};

class TF_Collection : public QWidget {
  Q_OBJECT

 public:
  // `database` holds the disks of every report shown; it must outlive the
  // window (its owner, the Renamer, keeps both).
  explicit TF_Collection(const DatabaseInfo& database, QWidget* owner = nullptr);

  // Shows `report` through the current filter, every game opened.
  void SetReport(CollectionReport report, const CollectionFolders& folders);
  // Whether "Copy identified images to target" can be asked for now.
  void SetCopyEnabled(bool enabled);

  const CollectionModel& Model() const { return *model_; }

  // The menu.
  void CopyNamesClick();
  void SaveReportClick();
  void SaveMissingClick();
  void CopyToTargetClick();
  // Enter or a double-click: the row's image in the ADF Inspector; a beep
  // for a disk without one or when no Inspector can be opened.
  void TV_DisksActivated(const QModelIndex& index);

 signals:
  // "Copy identified images to target": the owner copies as it does from
  // its own menu.
  void CopyToTargetRequested();

 private:
  void MakeMenu();
  void ApplyFilter();
  void ShowStatus();
  std::string SaveFolder() const;

  const DatabaseInfo& database_;
  CollectionFolders folders_;
  CollectionModel* model_ = nullptr;

  QLineEdit* filter_ = nullptr;
  QCheckBox* onlyMissing_ = nullptr;
  QCheckBox* onlyPartial_ = nullptr;
  QTreeView* disks_ = nullptr;
  QLabel* status_ = nullptr;
  QMenu* menu_ = nullptr;
  QAction* copyToTarget_ = nullptr;
};

}  // namespace moswit
