// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/window/databaseeditwindow.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "base/pathtext.h"
#include "base/platformfile.h"
#include "database/didreader.h"
#include "database/didwriter.h"
#include "editors/enrichfromimages.h"
#include "editors/recordactions.h"
#include "editors/window/databaseeditwindowtree.h"
#include "editors/window/diskeditwindow.h"
#include "editors/window/gameeditwindow.h"
#include "editors/window/versioneditwindow.h"
#include "gui/controls.h"
#include "gui/dialogseam.h"
#include "gui/editorregistry.h"
#include "gui/platformpaths.h"
#include "gui/recordeditor.h"
#include "gui/texts.h"
#include "scan/renamerform.h"

namespace moswit {

// What the enrichment's worker is given and finds.
struct EnrichJob {
  std::string folder;
  std::vector<WholeImage> wanted;
  ImagesFound found;
};

namespace {

constexpr int kWidth = 500;
constexpr int kHeight = 540;

struct RecordButton {
  const char* name;
  const char* caption;
  const char* hint;
  void (TF_DatabaseEdit::*click)();
};

constexpr RecordButton kRecordButtons[] = {
    {"B_NewGame", "NG", "New Game", &TF_DatabaseEdit::B_NewGameClick},
    {"B_NewVersion", "NV", "New Version", &TF_DatabaseEdit::B_NewVersionClick},
    {"B_NewDisk", "ND", "New Disk", &TF_DatabaseEdit::B_NewDiskClick},
    {"B_Edit", "Ed", "Edit", &TF_DatabaseEdit::B_EditClick},
    {"B_Delete", "Del", "Delete", &TF_DatabaseEdit::B_DeleteClick},
};

// The record tree's context menu, top to bottom; the buttons beside the
// tree stay as they are.
struct RecordMenuEntry {
  const char* name;
  const char* caption;
  void (TF_DatabaseEdit::*click)();
};

// Every entry changes the database, so each waits while an enrichment runs.
constexpr RecordMenuEntry kRecordMenu[] = {
    {"MI_ImportDat", kImportDatCaption, &TF_DatabaseEdit::MI_ImportDatClick},
    {"MI_Enrich", kEnrichCaption, &TF_DatabaseEdit::MI_EnrichClick},
};

}  // namespace

TF_DatabaseEdit::TF_DatabaseEdit(const DidEditorRequest& request, QWidget* owner)
    : QWidget(owner, Qt::Window), path_(PathFromText(request.path)) {
  setObjectName("TF_DatabaseEdit");
  setWindowTitle("DID Editor");
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_QuitOnClose, false);

  QGroupBox* standard = MakeGroup(this, "DE_Standard", "Standard Info");
  auto* standardLayout = new QGridLayout(standard);
  standardTexts_.AddRows(standardLayout, FieldTable<DatabaseInfo>(), EditGroup::kStandardInfo);

  QGroupBox* records = MakeGroup(this, "DE_Records", "Records");
  model_ = new RecordTreeModel(this);
  tree_ = Named(new RecordTreeView(records), "TV_Records");
  tree_->setModel(model_);
  auto* buttons = new QVBoxLayout;
  buttons->setSpacing(2);
  for (const RecordButton& button : kRecordButtons) {
    QPushButton* control = MakeButton(records, button.name, button.caption);
    control->setToolTip(Caption(button.hint));
    control->setFixedWidth(34);
    connect(control, &QPushButton::clicked, this, button.click);
    buttons->addWidget(control);
  }
  buttons->addStretch();
  stats_ = MakeLabel(records, "L_Stats", "DB Stats:");
  QFont small = stats_->font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  stats_->setFont(small);
  QPalette grey = stats_->palette();
  grey.setColor(QPalette::WindowText, Qt::gray);
  stats_->setPalette(grey);
  auto* treeRow = new QHBoxLayout;
  treeRow->addWidget(tree_, 1);
  treeRow->addLayout(buttons);
  auto* recordsLayout = new QVBoxLayout(records);
  recordsLayout->addLayout(treeRow, 1);
  recordsLayout->addWidget(stats_);

  QPushButton* okay = MakeButton(this, "B_Okay", "Okay");
  QPushButton* save = MakeButton(this, "B_Save", "Save");
  QPushButton* saveAs = MakeButton(this, "B_SaveAs", "Save As...");
  QPushButton* cancel = MakeButton(this, "B_Cancel", "Cancel");
  connect(okay, &QPushButton::clicked, this, &TF_DatabaseEdit::B_OkayClick);
  connect(save, &QPushButton::clicked, this, &TF_DatabaseEdit::B_SaveClick);
  connect(saveAs, &QPushButton::clicked, this, &TF_DatabaseEdit::B_SaveAsClick);
  connect(cancel, &QPushButton::clicked, this, &TF_DatabaseEdit::B_CancelClick);
  auto* saveAsKeys = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), this);
  connect(saveAsKeys, &QShortcut::activated, this, &TF_DatabaseEdit::B_SaveAsClick);
  saveAs->setToolTip(QStringLiteral("Ctrl+Shift+S"));
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(okay);
  bottom->addWidget(save);
  bottom->addWidget(saveAs);
  bottom->addStretch();
  bottom->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(standard);
  layout->addWidget(records, 1);
  layout->addLayout(bottom);
  resize(kWidth, kHeight);
  MakeRecordMenu();

  FormCreate(request);
}

TF_DatabaseEdit::~TF_DatabaseEdit() {
  StopEnriching();
  // Editors still open hold records of the database: they go before it.
  qDeleteAll(findChildren<RecordEditor*>(Qt::FindDirectChildrenOnly));
  model_->Clear();
}

void TF_DatabaseEdit::FormCreate(const DidEditorRequest& request) {
  writeOnClose_ = false;
  if (request.createNew) {
    database_ = CreateDatabase(request.path);
    file_ = DidFileState::Created(path_, *database_);
  } else {
    DidReadResult read = ReadDatabase(path_);
    database_ = std::move(read.database);
    if (!database_) {
      // Nothing to show or write: the window offers nothing, shows why and
      // closes once it is up.
      for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        child->setEnabled(false);
      }
      const QString message = FileNameText(FormatFileError(read.error));
      QTimer::singleShot(0, this, [this, message] {
        Dialogs().ShowMessage(this, message);
        close();
      });
      return;
    }
    file_ = DidFileState::Opened(path_, *database_, read);
    if (read.skips.Any()) {
      const QString message = FileNameText(OpenedWithSkipsMessage(PathText(path_), read.skips));
      QTimer::singleShot(0, this, [this, message] { Dialogs().ShowMessage(this, message); });
    }
  }
  LoadStandardInfoControls();
  Refresh();
}

const RecordTree& TF_DatabaseEdit::Tree() const { return model_->Tree(); }

void TF_DatabaseEdit::LoadStandardInfoControls() {
  const StandardInfoFields fields = LoadStandardInfo(*database_);
  standardTexts_.Show(fields.texts);
}

StandardInfoFields TF_DatabaseEdit::StandardInfoControls() const {
  return {standardTexts_.Texts()};
}

void TF_DatabaseEdit::Refresh() {
  model_->Fill(*database_);
  stats_->setText(DidText(model_->Tree().stats));
  const std::optional<NodePosition> focus = FindRecord(model_->Tree(), focusRecord_);
  if (!focus) return;
  const QModelIndex index = model_->IndexOf(*focus);
  // Scrolling to a disk or version opens its game.
  tree_->scrollTo(index, QAbstractItemView::PositionAtTop);
  tree_->setCurrentIndex(index);
  tree_->setFocus();
}

std::optional<NodePosition> TF_DatabaseEdit::Selected() const {
  if (!database_) return std::nullopt;
  const QModelIndexList rows = tree_->selectionModel()->selectedRows();
  if (rows.isEmpty()) return std::nullopt;
  return model_->PositionOf(rows.constFirst());
}

bool TF_DatabaseEdit::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return QWidget::event(event);
}

void TF_DatabaseEdit::FormActivate() {
  if (!database_) return;
  if (!EditorTables().FreeChanged()) return;
  Refresh();
}

bool TF_DatabaseEdit::OpenEditor(const RecordNode& node) {
  switch (node.kind) {
    case RecordKind::kGame:
      return OpenRecordEditor<TF_GameEdit>(*node.game, this) != nullptr;
    case RecordKind::kVersion:
      return OpenRecordEditor<TF_VersionEdit>(*node.version, this) != nullptr;
    case RecordKind::kDisk:
      return OpenDiskEditor(*node.game, *node.disk);
  }
  return false;
}

bool TF_DatabaseEdit::OpenDiskEditor(GameRecord& game, DiskRecord& disk) {
  return OpenRecordEditor<TF_DiskEdit>(game, disk, this) != nullptr;
}

void TF_DatabaseEdit::B_NewGameClick() {
  if (!database_) return;
  GameRecord& game = AppendGame(*database_);
  focusRecord_ = &game;
  // Without an editor no close reports the new record: it is shown now.
  if (!OpenRecordEditor<TF_GameEdit>(game, this)) Refresh();
}

void TF_DatabaseEdit::B_NewVersionClick() {
  const std::optional<NodePosition> selected = Selected();
  if (!selected) return;
  const RecordNode& node = NodeAt(model_->Tree(), *selected);
  VersionRecord* version = NewVersion(&node);
  if (version == nullptr) return;
  focusRecord_ = node.game;
  if (!OpenRecordEditor<TF_VersionEdit>(*version, this)) Refresh();
}

void TF_DatabaseEdit::B_NewDiskClick() {
  const std::optional<NodePosition> selected = Selected();
  if (!selected) return;
  const RecordNode& node = NodeAt(model_->Tree(), *selected);
  DiskRecord* disk = NewDisk(&node);
  if (disk == nullptr) return;
  focusRecord_ = node.game;
  if (!OpenDiskEditor(*node.game, *disk)) Refresh();
}

void TF_DatabaseEdit::B_EditClick() {
  const std::optional<NodePosition> selected = Selected();
  if (!selected) return;
  const RecordNode& node = NodeAt(model_->Tree(), *selected);
  focusRecord_ = node.Record();
  OpenEditor(node);
}

void TF_DatabaseEdit::B_DeleteClick() {
  const std::optional<NodePosition> selected = Selected();
  if (!selected) return;
  const std::vector<RecordRef> below = RecordsBelow(NodeAt(model_->Tree(), *selected));
  // No editor outlives its record: those of the record and of every record
  // below it close without storing.
  for (RecordEditor* editor : EditorTables().EditorsOf(below)) editor->CloseDiscarding();
  if (std::find(below.begin(), below.end(), focusRecord_) != below.end()) focusRecord_ = nullptr;
  model_->Delete(*selected, *database_);
}

void TF_DatabaseEdit::B_OkayClick() {
  writeOnClose_ = true;
  closingByOkay_ = true;
  close();
  closingByOkay_ = false;
}

bool TF_DatabaseEdit::StoreStandardInfoControls() {
  const std::string error = StoreStandardInfo(StandardInfoControls(), *database_);
  if (!error.empty()) {
    Dialogs().ShowMessage(this, DidText(error));
    return false;
  }
  LoadStandardInfoControls();
  return true;
}

void TF_DatabaseEdit::B_SaveClick() {
  // The file gets the name, creator and date the window shows.
  if (!database_ || !StoreStandardInfoControls()) return;
  if (MayWrite()) Write();
}

void TF_DatabaseEdit::B_SaveAsClick() {
  if (!database_ || !StoreStandardInfoControls()) return;
  FileDialogRequest request;
  request.title = Caption(kSaveAsTitle);
  request.folder = FileNameText(PathText(path_.parent_path()));
  request.fileName = FileNameText(PathText(path_.filename()));
  request.filter = Caption(kSaveAsFilter);
  request.existingOnly = false;
  request.confirmOverwrite = true;
  const QString chosen = Dialogs().OpenFile(this, request);
  if (chosen.isEmpty()) return;
  const std::filesystem::path path = PathFromText(FileNameBytes(chosen));
  if (SameFileOnDisk(path, path_)) {
    if (MayWrite()) Write();
    return;
  }
  // Two windows on one file would each write over the other's work.
  if (QWidget* owner = parentWidget()) {
    for (const TF_DatabaseEdit* other :
         owner->findChildren<TF_DatabaseEdit*>(Qt::FindDirectChildrenOnly)) {
      if (other == this || !other->HasDatabase() || !SameFileOnDisk(path, other->Path())) continue;
      Dialogs().ShowMessage(this, FileNameText(HeldElsewhereMessage(PathText(path))));
      return;
    }
  }
  // The dialog asked before an existing file is replaced.
  DidFileState state = DidFileState::Created(path, *database_);
  if (const std::optional<FileError> failed = state.Write(*database_)) {
    Dialogs().ShowMessage(this, FileNameText(FormatFileError(*failed)));
    return;
  }
  path_ = path;
  file_ = std::move(state);
}

void TF_DatabaseEdit::B_CancelClick() { close(); }

void TF_DatabaseEdit::MI_ImportDatClick() {
  if (!database_ || Enriching()) return;
  FileDialogRequest request;
  request.title = Caption(kImportDatTitle);
  request.folder = FileNameText(PathText(path_.parent_path()));
  request.filter = Caption(kDatFilter);
  const QString chosen = Dialogs().OpenFile(this, request);
  if (chosen.isEmpty()) return;
  const DatImported imported = ImportDatInto(*database_, FileNameBytes(chosen));
  if (imported.error) {
    Dialogs().ShowMessage(this, FileNameText(FormatFileError(*imported.error)));
    return;
  }
  if (imported.first != nullptr) focusRecord_ = imported.first;
  Refresh();
  Dialogs().ShowInformation(this, FileNameText(DatImportSummary(imported.counts)));
}

bool TF_DatabaseEdit::HoldsChanges() const {
  if (!database_) return false;
  if (!(StandardInfoControls() == LoadStandardInfo(*database_))) return true;
  const QList<RecordEditor*> editors = findChildren<RecordEditor*>();
  if (std::any_of(editors.begin(), editors.end(),
                  [](const RecordEditor* editor) { return editor->HoldsChanges(); })) {
    return true;
  }
  return file_->Unwritten(*database_);
}

bool TF_DatabaseEdit::SaveAll() {
  if (!database_) return true;
  // Every editor, those opened from a Disk editor too; one that holds no
  // changes is left alone, as it would store over another's.
  for (RecordEditor* editor : findChildren<RecordEditor*>()) {
    if (!editor->HoldsChanges()) continue;
    const std::string error = editor->StoreQuietly();
    if (error.empty()) continue;
    ShowNotStored(editor, editor->FailedField(), error);
    return false;
  }
  const StandardInfoFields fields = StandardInfoControls();
  const std::string error = StoreStandardInfo(fields, *database_);
  if (!error.empty()) {
    ShowNotStored(this, FailedDateEdit(DateTexts(FieldTable<DatabaseInfo>(), fields.texts)), error);
    return false;
  }
  LoadStandardInfoControls();
  return MayWrite() && Write();
}

void TF_DatabaseEdit::ShowNotStored(QWidget* window, const std::string& field,
                                    const std::string& reason) {
  if (window->isMinimized()) window->showNormal();
  window->raise();
  window->activateWindow();
  const std::string text = NotStoredAtEndMessage(window->windowTitle().toStdString(),
                                                 FileNameText(PathText(path_)).toStdString(), field,
                                                 DidText(reason).toStdString());
  Dialogs().ShowMessage(window, QString::fromStdString(text));
}

bool TF_DatabaseEdit::MayWrite() {
  if (const std::optional<Question> question = file_->NotUnderstoodQuestion()) {
    if (Ask(this, question->text, question->choices) != kReplaceFile) return false;
    file_->ReplaceAgreed();
  }
  if (const std::optional<Question> question = file_->ChangedOnDiskQuestion()) {
    if (Ask(this, question->text, question->choices) != kReplaceFile) return false;
  }
  return true;
}

bool TF_DatabaseEdit::Write() {
  const std::optional<FileError> failed = file_->Write(*database_);
  if (!failed) return true;
  Dialogs().ShowMessage(this, FileNameText(FormatFileError(*failed)));
  return false;
}

QList<RecordEditor*> TF_DatabaseEdit::RecordEditors() const {
  return findChildren<RecordEditor*>(Qt::FindDirectChildrenOnly);
}

void TF_DatabaseEdit::closeEvent(QCloseEvent* event) {
  if (!database_) {
    event->accept();
    return;
  }
  // After a failed write only Okay tries again; Cancel and the close box
  // offer to drop the changes, so the window can always be closed.
  if (file_->WriteFailed() && !closingByOkay_) {
    const Question question = file_->DiscardQuestion();
    if (Ask(this, question.text, question.choices) != kDiscardChanges) {
      event->ignore();
      return;
    }
    CloseRecordEditors(RecordEditors(), true);
    Release(event);
    return;
  }
  const std::string error = StoreStandardInfo(StandardInfoControls(), *database_);
  if (!error.empty()) {
    Dialogs().ShowMessage(this, DidText(error));
    event->ignore();
    return;
  }
  // Keeping the file takes back the Okay: a later Cancel closes without
  // asking again.
  if (writeOnClose_ && !MayWrite()) {
    writeOnClose_ = false;
    event->ignore();
    return;
  }
  // The record editors close before their records go. When the file is to
  // be written they close as their close boxes do, so what a Game editor
  // holds is written too (and one with a bad date keeps this window open);
  // otherwise nothing they hold could reach the file and they discard it.
  if (!CloseRecordEditors(RecordEditors(), !writeOnClose_)) {
    event->ignore();
    return;
  }
  if (writeOnClose_ && !Write()) {
    event->ignore();
    return;
  }
  Release(event);
}

void TF_DatabaseEdit::Release(QCloseEvent* event) {
  event->accept();
  StopEnriching();
  model_->Clear();
  database_.reset();
}

void TF_DatabaseEdit::MakeRecordMenu() {
  recordMenu_ = Named(new QMenu(this), "PU_Records");
  for (const RecordMenuEntry& entry : kRecordMenu) {
    QAction* action = Named(new QAction(Caption(entry.caption), this), entry.name);
    connect(action, &QAction::triggered, this, entry.click);
    recordMenu_->addAction(action);
  }
  tree_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(tree_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    for (QAction* action : recordMenu_->actions()) action->setEnabled(database_ && !Enriching());
    recordMenu_->popup(tree_->viewport()->mapToGlobal(at));
  });
}

void TF_DatabaseEdit::MI_EnrichClick() {
  if (!database_ || Enriching()) return;
  FileDialogRequest request;
  request.title = Caption(kEnrichFolderTitle);
  request.folder = FileNameText(PathText(path_.parent_path()));
  request.fileName = Caption(kNoFileSelection);
  request.existingOnly = false;
  const QString chosen = Dialogs().OpenFile(this, request);
  if (chosen.isEmpty()) return;
  const std::optional<std::string> folder = PickedFolder(FileNameBytes(chosen), kFolderSeparator);
  if (!folder) return;

  // The worker reads images only: the database stays with this thread, and
  // what the images gave goes into it once they are all read.
  enrichJob_ = std::make_unique<EnrichJob>();
  enrichJob_->folder = *folder;
  enrichJob_->wanted = WantedWholeImages(*database_);
  enrichStop_ = false;
  EnrichJob* job = enrichJob_.get();
  const auto progress = [label = stats_](size_t done, size_t total) {
    const QString text = Caption(EnrichProgressText(done, total).c_str());
    QMetaObject::invokeMethod(
        label, [label, text] { label->setText(text); }, Qt::QueuedConnection);
  };
  enrichThread_ = QThread::create([this, job, progress] {
    job->found = FindWholeImages(job->folder, job->wanted, &enrichStop_, progress);
  });
  enrichThread_->setParent(this);
  connect(enrichThread_, &QThread::finished, this, &TF_DatabaseEdit::EnrichFinished);
  enrichThread_->start();
}

void TF_DatabaseEdit::EnrichFinished() {
  // Stopped meanwhile: the window is going, and nothing is added.
  if (enrichThread_ == nullptr || !database_) return;
  enrichThread_->wait();
  enrichThread_->deleteLater();
  enrichThread_ = nullptr;
  const std::unique_ptr<EnrichJob> job = std::move(enrichJob_);
  const Enrichment enrichment = EnrichDisks(*database_, job->found.images);
  for (const DiskEnriched& disk : enrichment.disks) {
    for (RecordEditor* editor : DiskEditorsShowing(EditorTables(), disk.disk)) editor->FillList();
  }
  Refresh();
  const QString summary = FileNameText(EnrichSummary(enrichment, job->found));
  if (enrichment.leftOut.empty() && job->found.unreadable.empty()) {
    Dialogs().ShowInformation(this, summary);
  } else {
    Dialogs().ShowMessage(this, summary);
  }
  emit EnrichEnded();
}

void TF_DatabaseEdit::StopEnriching() {
  if (enrichThread_ == nullptr) return;
  enrichStop_ = true;
  disconnect(enrichThread_, nullptr, this, nullptr);
  enrichThread_->wait();
  delete enrichThread_;
  enrichThread_ = nullptr;
  enrichJob_.reset();
}

}  // namespace moswit
