#include "scan/renamerwindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "app/dialogseam.h"
#include "app/platformpaths.h"
#include "database/didreader.h"
#include "scan/renamerform.h"
#include "scan/renamerwindowworker.h"

namespace moswit {

namespace {

// Draws the grid lines of a report-style list.
class GridDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    painter->save();
    painter->setPen(option.palette.color(QPalette::Midlight));
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    painter->restore();
  }
};

std::string Encoded(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString Decoded(const std::string& bytes) { return QFile::decodeName(bytes.c_str()); }

int Clamped(size_t n) {
  return static_cast<int>(
      std::min<size_t>(n, static_cast<size_t>(std::numeric_limits<int>::max())));
}

}  // namespace

TF_Scan::TF_Scan(const RenamerRequest& request, QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName("TF_Scan");
  setWindowTitle(kRenamerCaption);
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_QuitOnClose, false);

  auto* resultsGroup = new QGroupBox(kResultsCaption, this);
  resultsGroup->setObjectName("GB_Results");
  results_ = new QTreeWidget(resultsGroup);
  results_->setObjectName("LV_Results");
  results_->setColumnCount(static_cast<int>(kResultColumns.size()));
  QStringList titles;
  for (const ResultColumn& column : kResultColumns) titles << column.title;
  results_->setHeaderLabels(titles);
  for (size_t i = 0; i < kResultColumns.size(); ++i) {
    results_->setColumnWidth(static_cast<int>(i), kResultColumns[i].width);
  }
  results_->header()->setStretchLastSection(false);
  results_->setRootIsDecorated(false);
  results_->setUniformRowHeights(true);
  results_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  results_->setItemDelegate(new GridDelegate(results_));
  auto* resultsLayout = new QVBoxLayout(resultsGroup);
  resultsLayout->addWidget(results_);

  auto* optionsGroup = new QGroupBox(kOptionsCaption, this);
  optionsGroup->setObjectName("GB_Options");
  const QString home = QDir::homePath();
  const QString folder = Decoded(DefaultScanFolder(Encoded(home), kDriveLetters, kFolderSeparator));
  const auto makeLabel = [&](const char* name, const char* caption) {
    auto* label = new QLabel(caption, optionsGroup);
    label->setObjectName(name);
    return label;
  };
  const auto makeEdit = [&](const char* name) {
    auto* edit = new QLineEdit(folder, optionsGroup);
    edit->setObjectName(name);
    return edit;
  };
  const auto makeButton = [&](const char* name, const char* caption) {
    auto* button = new QPushButton(caption, optionsGroup);
    button->setObjectName(name);
    return button;
  };
  QLabel* sourceLabel = makeLabel("Label1", kSourceLabel);
  source_ = makeEdit("ED_Source");
  QPushButton* sourceSelect = makeButton("B_SourceSelect", kSelectCaption);
  QLabel* targetLabel = makeLabel("Label2", kTargetLabel);
  target_ = makeEdit("ED_Target");
  QPushButton* targetSelect = makeButton("B_TargetSelect", kSelectCaption);
  start_ = makeButton("B_Start", kStartCaption);
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

  status_ = new QLabel(kStatusCaption, this);
  status_->setObjectName("P_Status");
  status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  status_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // Long paths are cut at the edge instead of widening the window.
  status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("PB_Progress");
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
  connect(sourceSelect, &QPushButton::clicked, this, &TF_Scan::B_SourceSelectClick);
  connect(targetSelect, &QPushButton::clicked, this, &TF_Scan::B_TargetSelectClick);
  connect(start_, &QPushButton::clicked, this, &TF_Scan::B_StartClick);

  FormCreate(request.path);
}

TF_Scan::~TF_Scan() {
  stop_ = true;
  if (worker_) worker_->wait();
}

void TF_Scan::FormCreate(const std::string& didPath) {
  DidReadResult read = ReadDatabase(didPath);
  database_ = std::move(read.database);
  mayClose_ = true;
  if (!database_) {
    // No scan without a database: the reason stays in the status line.
    status_->setText(Decoded(read.error));
    start_->setEnabled(false);
  }
}

void TF_Scan::SelectFolder(const char* title, QLineEdit* field) {
  FileDialogRequest request;
  request.title = title;
  request.folder = field->text();
  request.fileName = kNoFileSelection;
  request.existingOnly = false;
  const QString chosen = Dialogs().OpenFile(this, request);
  if (chosen.isEmpty()) return;
  if (const auto folder = PickedFolder(Encoded(chosen), kFolderSeparator)) {
    field->setText(Decoded(*folder));
  }
}

void TF_Scan::B_SourceSelectClick() { SelectFolder(kSelectSourceTitle, source_); }
void TF_Scan::B_TargetSelectClick() { SelectFolder(kSelectTargetTitle, target_); }

void TF_Scan::B_StartClick() {
  if (!database_ || !mayClose_) return;
  mayClose_ = false;
  start_->setEnabled(false);
  scanFolder_ = Encoded(source_->text());
  stop_ = false;
  // The previous scan's thread has reported its end; it may still be returning.
  if (worker_) worker_->wait();
  worker_ = new TCustomThread(this);
  worker_->callback = &TF_Scan::Scan;
  worker_->user = this;
  worker_->start();
}

void TF_Scan::Scan(void* user) {
  auto* window = static_cast<TF_Scan*>(user);
  RunScan(*window->database_, window->scanFolder_, *window->channel_, &window->stop_);
  window->channel_->Ended();
}

void TF_Scan::FormCloseQuery(bool& canClose) const { canClose = mayClose_; }

void TF_Scan::closeEvent(QCloseEvent* event) {
  bool canClose = true;
  FormCloseQuery(canClose);
  if (canClose) {
    event->accept();
  } else {
    event->ignore();
  }
}

void TF_Scan::ApplyReports() {
  for (const ScanEvent& event : channel_->Take()) Apply(event);
}

void TF_Scan::Apply(const ScanEvent& event) {
  switch (event.kind) {
    case ScanEvent::kStatus:
      status_->setText(Decoded(event.text));
      FollowProgress(event.text);
      break;
    case ScanEvent::kRowsCleared:
      results_->setVisible(false);
      results_->clear();
      break;
    case ScanEvent::kRowsListed: {
      QList<QTreeWidgetItem*> rows;
      rows.reserve(Clamped(event.captions.size()));
      for (const std::string& caption : event.captions) {
        rows.append(new QTreeWidgetItem(QStringList{Decoded(caption)}));
      }
      results_->addTopLevelItems(rows);
      results_->setVisible(true);
      break;
    }
    case ScanEvent::kRowResult:
      if (QTreeWidgetItem* row = results_->topLevelItem(Clamped(event.row))) {
        row->setText(1, QString::fromLatin1(event.text));
      }
      if (event.hadCandidates) Dialogs().Beep();
      break;
    case ScanEvent::kEnded:
      start_->setEnabled(true);
      mayClose_ = true;
      emit ScanEnded();
      break;
  }
}

void TF_Scan::FollowProgress(const std::string& status) {
  if (const auto progress = ParseScanningStatus(status)) {
    progress_->setRange(0, Clamped(progress->total));
    progress_->setValue(Clamped(progress->done));
  } else if (status == kReadyStatus) {
    progress_->setValue(progress_->maximum());
  } else {
    progress_->setRange(0, 1);
    progress_->setValue(0);
  }
}

}  // namespace moswit
