// The Renamer window: identifies every ADF image below a source folder
// against the window's own database, one image after the other on a worker
// thread, and shows each image's result line in its row.
#pragma once

#include <QPointer>
#include <QWidget>
#include <atomic>
#include <memory>
#include <string>

#include "database/records.h"
#include "gui/requests.h"

class QCloseEvent;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace moswit {

class ReportList;
class ScanChannel;
class TCustomThread;
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

 signals:
  // The scan's last report was shown; the window may close again.
  void ScanEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate(const std::string& didPath);
  void SelectFolder(const char* title, QLineEdit* field);
  // The scan routine, run by the worker with the window as user pointer.
  static void Scan(void* user);
  void ApplyReports();
  void Apply(const ScanEvent& event);

  std::unique_ptr<DatabaseInfo> database_;
  bool mayClose_ = true;
  std::string scanFolder_;  // the source folder text read when the scan started
  std::atomic<bool> stop_{false};
  ScanChannel* channel_ = nullptr;
  QPointer<TCustomThread> worker_;

  ReportList* results_ = nullptr;
  QLineEdit* source_ = nullptr;
  QLineEdit* target_ = nullptr;
  QPushButton* start_ = nullptr;
  QLabel* status_ = nullptr;
  QProgressBar* progress_ = nullptr;
};

}  // namespace moswit
