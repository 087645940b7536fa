// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/window/renamerwindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "base/pathtext.h"
#include "collection/collectionform.h"
#include "collection/collectionreport.h"
#include "collection/window/collectionwindow.h"
#include "collection/window/savedialog.h"
#include "database/didreader.h"
#include "gui/controls.h"
#include "gui/dialogseam.h"
#include "gui/platformpaths.h"
#include "gui/reportlist.h"
#include "gui/texts.h"
#include "scan/renamerform.h"
#include "scan/window/renamerwindowcopier.h"
#include "scan/window/renamerwindowworker.h"

namespace moswit {

namespace {

int Clamped(size_t n) {
  return static_cast<int>(
      std::min<size_t>(n, static_cast<size_t>(std::numeric_limits<int>::max())));
}

// The column that takes the window's extra width: "Identified as ...".
constexpr int kResultColumn = 1;

}  // namespace

TF_Scan::TF_Scan(const RenamerRequest& request, QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName("TF_Scan");
  setWindowTitle(kRenamerCaption);
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_QuitOnClose, false);

  QGroupBox* resultsGroup = MakeGroup(this, "GB_Results", kResultsCaption);
  results_ = Named(new ReportList(resultsGroup), "LV_Results");
  QList<ReportColumn> columns;
  for (const ResultColumn& column : kResultColumns) {
    columns.append({Caption(column.title), column.width});
  }
  results_->SetColumns(columns);
  results_->SetStretchColumn(kResultColumn);
  auto* resultsLayout = new QVBoxLayout(resultsGroup);
  resultsLayout->addWidget(results_);

  QGroupBox* optionsGroup = MakeGroup(this, "GB_Options", kOptionsCaption);
  const QString folder = FileNameText(
      DefaultScanFolder(FileNameBytes(QDir::homePath()), kDriveLetters, kFolderSeparator));
  QLabel* sourceLabel = MakeLabel(optionsGroup, "Label1", kSourceLabel);
  source_ = MakeEdit(optionsGroup, "ED_Source", folder);
  QPushButton* sourceSelect = MakeButton(optionsGroup, "B_SourceSelect", kSelectCaption);
  QLabel* targetLabel = MakeLabel(optionsGroup, "Label2", kTargetLabel);
  target_ = MakeEdit(optionsGroup, "ED_Target", folder);
  QPushButton* targetSelect = MakeButton(optionsGroup, "B_TargetSelect", kSelectCaption);
  start_ = MakeButton(optionsGroup, "B_Start", kStartCaption);
  // Enter on the focused button presses it, as Space does.
  start_->setAutoDefault(true);
  sourceSelect->setFixedWidth(28);
  targetSelect->setFixedWidth(28);
  auto* options = new QGridLayout(optionsGroup);
  options->addWidget(sourceLabel, 0, 0);
  options->addWidget(source_, 0, 1);
  options->addWidget(sourceSelect, 0, 2);
  options->addWidget(targetLabel, 1, 0);
  options->addWidget(target_, 1, 1);
  options->addWidget(targetSelect, 1, 2);
  options->addWidget(start_, 0, 3, 2, 1);
  start_->setMinimumHeight(48);

  status_ = MakeLabel(this, "P_Status", kStatusCaption);
  status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  status_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // Long paths are cut at the edge instead of widening the window.
  status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  progress_ = Named(new QProgressBar(this), "PB_Progress");
  progress_->setFixedWidth(120);
  progress_->setRange(0, 1);
  progress_->setValue(0);
  auto* statusRow = new QHBoxLayout;
  statusRow->addWidget(status_, 1);
  statusRow->addWidget(progress_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(resultsGroup, 1);
  layout->addWidget(optionsGroup);
  layout->addLayout(statusRow);
  resize(kRenamerWidth, kRenamerHeight);

  channel_ = new ScanChannel(this);
  connect(channel_, &ScanChannel::Pending, this, &TF_Scan::ApplyReports, Qt::QueuedConnection);
  copier_ = new CopyChannel(this);
  connect(copier_, &CopyChannel::Started, this, &TF_Scan::CopyStarted, Qt::QueuedConnection);
  connect(copier_, &CopyChannel::Finished, this, &TF_Scan::CopyFinished, Qt::QueuedConnection);
  MakeMenu();
  connect(sourceSelect, &QPushButton::clicked, this, &TF_Scan::B_SourceSelectClick);
  connect(targetSelect, &QPushButton::clicked, this, &TF_Scan::B_TargetSelectClick);
  connect(start_, &QPushButton::clicked, this, &TF_Scan::B_StartClick);
  // Enter in the source folder starts the scan when "Start Scan" could.
  connect(source_, &QLineEdit::returnPressed, this, [this] {
    if (start_->isEnabled()) B_StartClick();
  });

  FormCreate(request.path);
}

TF_Scan::~TF_Scan() {
  stop_ = true;
  copyStop_ = true;
  if (worker_) worker_->wait();
}

void TF_Scan::FormCreate(const std::string& didPath) {
  DidReadResult read = ReadDatabase(PathFromText(didPath));
  database_ = std::move(read.database);
  mayClose_ = true;
  if (!database_) {
    // No scan without a database: the reason stays in the status line.
    status_->setText(FileNameText(FormatFileError(read.error)));
    start_->setEnabled(false);
    return;
  }
  const std::string warning = NoDiskWarning(didPath, *database_, read.skips);
  if (warning.empty()) {
    // Disks remain to scan with, but the user learns what was left out.
    if (read.skips.Any()) status_->setText(FileNameText(DidSkipWarning(didPath, read.skips)));
    return;
  }
  // A scan would find nothing; the status line keeps the reason until one starts.
  status_->setText(FileNameText(warning));
  QTimer::singleShot(0, this,
                     [this, warning] { Dialogs().ShowMessage(this, FileNameText(warning)); });
}

void TF_Scan::SelectFolder(const char* title, QLineEdit* field) {
  FileDialogRequest request;
  request.title = title;
  request.folder = field->text();
  request.fileName = kNoFileSelection;
  request.existingOnly = false;
  const QString chosen = Dialogs().OpenFile(this, request);
  if (chosen.isEmpty()) return;
  if (const auto folder = PickedFolder(FileNameBytes(chosen), kFolderSeparator)) {
    field->setText(FileNameText(*folder));
  }
}

void TF_Scan::B_SourceSelectClick() { SelectFolder(kSelectSourceTitle, source_); }
void TF_Scan::B_TargetSelectClick() { SelectFolder(kSelectTargetTitle, target_); }

void TF_Scan::B_StartClick() {
  if (!database_ || !mayClose_) return;
  mayClose_ = false;
  start_->setEnabled(false);
  scanFolder_ = FileNameBytes(source_->text());
  stop_ = false;
  scanEnded_ = false;
  UpdateMenu();
  // The previous worker may still be returning; then no thread holds the
  // outcomes any more.
  if (worker_) worker_->wait();
  outcomes_ = std::make_unique<OutcomeRecorder>(scanFolder_, channel_);
  StartWorker(&TF_Scan::Scan);
}

void TF_Scan::StartWorker(void (*routine)(void*)) {
  // The previous worker has reported its end; it may still be returning.
  if (worker_) worker_->wait();
  worker_ = new TCustomThread(this);
  worker_->callback = routine;
  worker_->user = this;
  worker_->start();
}

void TF_Scan::Scan(void* user) {
  auto* window = static_cast<TF_Scan*>(user);
  RunScan(*window->database_, window->scanFolder_, *window->outcomes_, &window->stop_);
}

void TF_Scan::MakeMenu() {
  menu_ = Named(new QMenu(this), "PU_Results");
  const auto add = [this](const char* name, const char* caption, const QKeySequence& keys,
                          void (TF_Scan::*slot)()) {
    QAction* action = Named(new QAction(Caption(caption), this), name);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, slot);
    menu_->addAction(action);
    return action;
  };
  copyRows_ = add("MI_Copy", kCopyRowsCaption, QKeySequence::Copy, &TF_Scan::CopyRowsClick);
  saveReport_ = add("MI_SaveReport", kSaveReportCaption, QKeySequence(Qt::CTRL | Qt::Key_S),
                    &TF_Scan::SaveReportClick);
  copyToTarget_ = add("MI_CopyToTarget", kCopyToTargetCaption, QKeySequence(Qt::CTRL | Qt::Key_T),
                      &TF_Scan::CopyToTargetClick);
  collectionAction_ = add("MI_Collection", kCollectionMenuCaption,
                          QKeySequence(Qt::CTRL | Qt::Key_L), &TF_Scan::CollectionClick);
  menu_->addSeparator();
  stopCopying_ = add("MI_StopCopying", kStopCopyingCaption, QKeySequence(Qt::Key_Escape),
                     &TF_Scan::StopCopyingClick);
  // Ctrl+C copies the list's rows where the list has the focus; the others
  // work anywhere in the window.
  copyRows_->setShortcutContext(Qt::WidgetShortcut);
  results_->addAction(copyRows_);
  for (QAction* action : {saveReport_, copyToTarget_, collectionAction_, stopCopying_}) {
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
  }
  results_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(results_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    UpdateMenu();
    menu_->popup(results_->viewport()->mapToGlobal(at));
  });
  UpdateMenu();
}

bool TF_Scan::ScanUsable() const { return database_ && mayClose_ && scanEnded_ && outcomes_; }

void TF_Scan::UpdateMenu() {
  saveReport_->setEnabled(ScanUsable());
  copyToTarget_->setEnabled(ScanUsable());
  collectionAction_->setEnabled(ScanUsable());
  stopCopying_->setEnabled(copying_);
  if (collection_) collection_->SetCopyEnabled(ScanUsable());
}

void TF_Scan::CopyRowsClick() { QApplication::clipboard()->setText(results_->SelectedRowsText()); }

void TF_Scan::SaveReportClick() {
  if (!ScanUsable()) return;
  const std::string chosen = AskSavePath(
      this, kReportDialog,
      ReportFolder(FileNameBytes(target_->text()), scanFolder_, FileNameBytes(QDir::homePath())));
  if (chosen.empty()) return;
  const CollectionReport report = BuildCollectionReport(*database_, outcomes_->Outcomes());
  if (const std::optional<FileError> error = WriteReport(chosen, report)) {
    Dialogs().ShowMessage(this, FileNameText(FormatFileError(*error)));
    return;
  }
  status_->setText(FileNameText(ReportSavedStatus(report)));
}

void TF_Scan::CopyToTargetClick() {
  if (!ScanUsable()) return;
  const std::string target = FileNameBytes(target_->text());
  if (target.empty() || FolderLiesIn(scanFolder_, target)) {
    Dialogs().ShowMessage(this, FileNameText(NoUsableTarget(target)));
    return;
  }
  // The images already below the target are not taken again.
  ScanOutcomes outcomes = outcomes_->Outcomes();
  DropOutcomesBelow(outcomes.images, target);
  std::vector<OrganizeStep> steps =
      PlanOrganize(BuildCollectionReport(*database_, std::move(outcomes)), target, {});
  const std::string question = CopyQuestion(CountPlan(steps), target);
  if (question.empty()) {
    Dialogs().ShowMessage(this, FileNameText(NothingToCopy(target)));
    return;
  }
  if (Ask(this, question, CopyChoices()) != kCopyChosen) return;
  copySteps_ = std::move(steps);
  copyTarget_ = target;
  copyStop_ = false;
  copying_ = true;
  mayClose_ = false;
  start_->setEnabled(false);
  progress_->setRange(0, Clamped(copySteps_.size()));
  progress_->setValue(0);
  UpdateMenu();
  StartWorker(&TF_Scan::CopyImages);
}

void TF_Scan::CopyImages(void* user) {
  auto* window = static_cast<TF_Scan*>(user);
  const OrganizeTotals totals = RunOrganize(window->copySteps_, window->copyTarget_, {},
                                            *window->copier_, &window->copyStop_);
  window->copier_->Finish(totals, window->copySteps_);
}

void TF_Scan::CollectionClick() {
  if (!ScanUsable()) return;
  if (!collection_) {
    collection_ = new TF_Collection(*database_, this);
    // Its copy item is this window's: the same question, copying and
    // summary, shown here.
    connect(collection_, &TF_Collection::CopyToTargetRequested, this, [this] {
      raise();
      activateWindow();
      CopyToTargetClick();
    });
  }
  ShowInCollection();
  collection_->SetCopyEnabled(ScanUsable());
  collection_->show();
  if (collection_->isMinimized()) collection_->showNormal();
  collection_->raise();
  collection_->activateWindow();
}

void TF_Scan::ShowInCollection() {
  collection_->SetReport(BuildCollectionReport(*database_, outcomes_->Outcomes()),
                         {scanFolder_, FileNameBytes(target_->text())});
}

void TF_Scan::StopCopyingClick() {
  if (!copying_) return;
  copyStop_ = true;
  status_->setText(Caption(kStoppingCopyStatus));
}

void TF_Scan::CopyStarted(qsizetype done, qsizetype total, const QString& status) {
  if (copyStop_) return;  // "Stopping ..." stays until the end
  status_->setText(status);
  progress_->setRange(0, Clamped(static_cast<size_t>(total)));
  progress_->setValue(Clamped(static_cast<size_t>(done - 1)));
}

void TF_Scan::CopyFinished(qsizetype done, const QString& summary, const QString& troubles) {
  copying_ = false;
  mayClose_ = true;
  start_->setEnabled(true);
  // A stopped run shows how far it came.
  progress_->setValue(Clamped(static_cast<size_t>(done)));
  status_->setText(summary);
  UpdateMenu();
  if (troubles.isEmpty()) {
    Dialogs().ShowInformation(this, summary);
  } else {
    Dialogs().ShowMessage(this, summary + "\n\n" + troubles);
  }
  emit CopyEnded();
}

void TF_Scan::FormCloseQuery(bool& canClose) const { canClose = mayClose_; }

void TF_Scan::closeEvent(QCloseEvent* event) {
  bool canClose = true;
  FormCloseQuery(canClose);
  // Refused while a scan runs; the beep says so.
  if (!canClose) Dialogs().Beep();
  event->setAccepted(canClose);
}

void TF_Scan::ApplyReports() {
  for (const ScanEvent& event : channel_->Take()) Apply(event);
}

void TF_Scan::Apply(const ScanEvent& event) {
  switch (event.kind) {
    case ScanEvent::kStatus:
      status_->setText(FileNameText(event.text));
      break;
    case ScanEvent::kRowsCleared:
      results_->setVisible(false);
      results_->clear();
      progress_->setRange(0, 1);
      progress_->setValue(0);
      break;
    case ScanEvent::kRowsListed: {
      QList<QTreeWidgetItem*> rows;
      rows.reserve(Clamped(event.captions.size()));
      for (const std::string& caption : event.captions) {
        rows.append(results_->NewRow({FileNameText(caption)}, caption));
      }
      results_->addTopLevelItems(rows);
      results_->setVisible(true);
      break;
    }
    case ScanEvent::kProgress:
      progress_->setRange(0, Clamped(event.total));
      progress_->setValue(Clamped(event.done));
      break;
    case ScanEvent::kRowResult:
      if (QTreeWidgetItem* row = results_->topLevelItem(Clamped(event.row))) {
        const QString line = DidText(event.text);
        row->setText(kResultColumn, line);
        // The whole line, which the column may cut, as the row's tooltip.
        const QString tip = row->text(0) + QLatin1Char('\n') + line;
        for (int column = 0; column < results_->columnCount(); ++column) {
          row->setToolTip(column, tip);
        }
      }
      if (event.hadCandidates) Dialogs().Beep();
      break;
    case ScanEvent::kEnded:
      progress_->setValue(progress_->maximum());
      start_->setEnabled(true);
      mayClose_ = true;
      scanEnded_ = outcomes_ && outcomes_->Complete();
      if (collection_ && ScanUsable()) ShowInCollection();
      UpdateMenu();
      emit ScanEnded();
      break;
  }
}

}  // namespace moswit
