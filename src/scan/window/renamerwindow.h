// SPDX-License-Identifier: GPL-2.0-or-later
// The Renamer window: identifies every ADF image below a source folder
// against the window's own database, one image after the other on a worker
// thread, and shows each image's result line in its row. The result list's
// menu copies rows, saves the report of the finished scan, copies the
// identified images to the target folder on a worker thread, and opens the
// Collection window on the finished scan.
#pragma once

#include <QPointer>
#include <QWidget>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "collection/organize.h"
#include "database/records.h"
#include "gui/requests.h"
#include "scan/scanoutcomes.h"

class QAction;
class QCloseEvent;
class QLabel;
class QMenu;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace moswit {

class CopyChannel;
class ReportList;
class ScanChannel;
class TCustomThread;
class TF_Collection;
struct ScanEvent;

class TF_Scan : public QWidget {
  Q_OBJECT

 public:
  // Reads the request's DID file into the window's own database.
  explicit TF_Scan(const RenamerRequest& request, QWidget* owner = nullptr);
  // Stops a running scan between two images and waits for its thread.
  ~TF_Scan() override;

  bool MayClose() const { return mayClose_; }
  bool HasDatabase() const { return database_ != nullptr; }

  void B_SourceSelectClick();
  void B_TargetSelectClick();
  void B_StartClick();
  void FormCloseQuery(bool& canClose) const;

  // The result list's menu. Saving and copying use the last scan, once it
  // has ended; copying runs until done or stopped (Escape, or "Stop
  // copying"), and the window refuses to close meanwhile.
  void CopyRowsClick();
  void SaveReportClick();
  void CopyToTargetClick();
  void StopCopyingClick();
  // The Collection window on the last scan (made, or brought to the front
  // with the report anew); it follows every later scan that ends in full.
  void CollectionClick();
  bool Copying() const { return copying_; }

 signals:
  // The scan's last report was shown; the window may close again.
  void ScanEnded();
  // The copying's summary was shown; the window may close again.
  void CopyEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate(const std::string& didPath);
  void SelectFolder(const char* title, QLineEdit* field);
  // The scan routine, run by the worker with the window as user pointer.
  static void Scan(void* user);
  static void CopyImages(void* user);
  void ApplyReports();
  void Apply(const ScanEvent& event);
  void MakeMenu();
  void UpdateMenu();
  // True when a scan has ended in full and nothing runs.
  bool ScanUsable() const;
  void StartWorker(void (*routine)(void*));
  void CopyStarted(qsizetype done, qsizetype total, const QString& status);
  void CopyFinished(qsizetype done, const QString& summary, const QString& troubles);
  void ShowInCollection();

  std::unique_ptr<DatabaseInfo> database_;
  bool mayClose_ = true;
  std::string scanFolder_;  // the source folder text read when the scan started
  std::atomic<bool> stop_{false};
  ScanChannel* channel_ = nullptr;
  QPointer<TCustomThread> worker_;
  // Filled by the scan's worker; read only once the scan has ended.
  std::unique_ptr<OutcomeRecorder> outcomes_;
  bool scanEnded_ = false;

  // The copying: its steps belong to the worker while it runs.
  bool copying_ = false;
  std::atomic<bool> copyStop_{false};
  std::vector<OrganizeStep> copySteps_;
  std::string copyTarget_;
  CopyChannel* copier_ = nullptr;

  QMenu* menu_ = nullptr;
  QAction* copyRows_ = nullptr;
  QAction* saveReport_ = nullptr;
  QAction* copyToTarget_ = nullptr;
  QAction* stopCopying_ = nullptr;
  QAction* collectionAction_ = nullptr;
  QPointer<TF_Collection> collection_;

  ReportList* results_ = nullptr;
  QLineEdit* source_ = nullptr;
  QLineEdit* target_ = nullptr;
  QPushButton* start_ = nullptr;
  QLabel* status_ = nullptr;
  QProgressBar* progress_ = nullptr;
};

}  // namespace moswit
