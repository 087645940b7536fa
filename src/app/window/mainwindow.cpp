// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/window/mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDirIterator>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTreeView>
#include <QVBoxLayout>
#include <memory>
#include <vector>

#include "app/window/aboutdialog.h"
#include "base/fileerror.h"
#include "base/pathtext.h"
#include "compare/window/comparedialog.h"
#include "editors/window/databaseeditwindow.h"
#include "gui/controls.h"
#include "gui/dialogseam.h"
#include "gui/editorregistry.h"
#include "gui/inspectoropener.h"
#include "gui/keptinview.h"
#include "gui/platformpaths.h"
#include "gui/texts.h"
#include "inspector/window/inspectorwindow.h"
#include "scan/window/renamerwindow.h"

namespace moswit {

namespace {

// Hides what STV_FileBrowserAddFolder refuses.
class FileBrowserFilter : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

  static bool STV_FileBrowserAddFolder(const QString& fullPath, bool isFolder) {
    return ShowInBrowser(FileNameBytes(fullPath), isFolder, kDriveLetters);
  }

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    const auto* model = static_cast<const QFileSystemModel*>(sourceModel());
    const QModelIndex entry = model->index(row, 0, parent);
    return STV_FileBrowserAddFolder(model->filePath(entry), model->isDir(entry));
  }
};

// The browser's group would otherwise be as wide as its long caption.
constexpr int kBrowserMinimumWidth = 120;

// Moswit's icon in every size built in (data/icons/hicolor, the PNGs that
// are installed for the desktop too).
QIcon ApplicationIcon() {
  QIcon icon;
  QDirIterator sizes(":/icons/hicolor", {"moswit.png"}, QDir::Files, QDirIterator::Subdirectories);
  while (sizes.hasNext()) icon.addFile(sizes.next());
  return icon;
}

}  // namespace

void SetUpApplication(QApplication& application) {
  // The application's name is its title: the task bar and message boxes
  // show it, and Qt appends no display name to the window captions.
  application.setApplicationName(kApplicationTitle);
  application.setWindowIcon(ApplicationIcon());
}

int RunMoswit(QApplication& application) {
  SetUpApplication(application);
  auto mainWindow = std::make_unique<TForm1>();
  mainWindow->show();
  const int status = application.exec();
  // Tool windows are the main window's children: destroying it closes them,
  // and a Renamer's destruction stops its scan and joins the worker.
  mainWindow.reset();
  return status;
}

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
  setObjectName("TForm1");
  setWindowTitle(kMainCaption);
  setWindowIcon(ApplicationIcon());

  QGroupBox* group = MakeGroup(this, kFileBrowserGroupName, kFileBrowserCaption);
  group->setMinimumWidth(kBrowserMinimumWidth);
  files_ = new QFileSystemModel(this);
  files_->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);
  // A plain tree, refreshed only when reopened: no watching, no shell icons.
  files_->setOption(QFileSystemModel::DontWatchForChanges);
  files_->setOption(QFileSystemModel::DontUseCustomDirectoryIcons);
  files_->setRootPath(QString());
  shown_ = new FileBrowserFilter(this);
  shown_->setSourceModel(files_);
  browser_ = Named(new QTreeView(group), kFileBrowserName);
  browser_->setModel(shown_);
  browser_->setHeaderHidden(true);
  browser_->setRootIsDecorated(false);
  browser_->setUniformRowHeights(true);
  for (int column = 1; column < shown_->columnCount(); ++column) browser_->hideColumn(column);
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(browser_);
  keptInView_ = new KeptInView(browser_);

  auto* buttons = new QVBoxLayout;
  for (const ControlText& control : kMainButtons) {
    QPushButton* button = MakeButton(this, control.name, control.caption);
    button->setFocusPolicy(Qt::ClickFocus);
    if (std::string_view(control.name) == "B_About") buttons->addStretch();
    buttons->addWidget(button);
  }
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(group, 1);
  layout->addLayout(buttons);

  const auto click = [this](const char* name, void (TForm1::*handler)()) {
    connect(findChild<QPushButton*>(name), &QPushButton::clicked, this, handler);
  };
  click("B_SDBCreate", &TForm1::B_SDBCreateClick);
  click("B_SDBEdit", &TForm1::B_SDBEditClick);
  click("B_Inspector", &TForm1::B_InspectorClick);
  click("B_Compare", &TForm1::B_CompareClick);
  click("B_SDBRename", &TForm1::B_SDBRenameClick);
  click("B_About", &TForm1::B_AboutClick);

  resize(kMainWidth, kMainHeight);
  FormCreate();
  ShowInFileBrowser(QDir::homePath());
  InstallInspectorOpener(this,
                         [this](const InspectorRequest& request) { OpenInspector(request, true); });
}

TForm1::~TForm1() { RemoveInspectorOpener(this); }

void TForm1::FormCreate() {
  inspectors_.Clear();
  EditorTables().Clear();
  inspectorRequest_ = {};
  didRequest_ = {};
  renamerRequest_ = {};
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!MayEnd()) {
    event->ignore();
    return;
  }
  event->accept();
  // Closing the main window ends the program. Qt's own quit asks every
  // window to close first, and a scanning Renamer refuses, so the loop is
  // left directly; the tool windows go with the main window afterwards.
  QCoreApplication::exit(0);
}

void TForm1::ShowInFileBrowser(const QString& path) {
  const QModelIndex entry = shown_->mapFromSource(files_->index(path));
  if (!entry.isValid()) return;
  for (QModelIndex up = entry.parent(); up.isValid(); up = up.parent()) browser_->expand(up);
  browser_->setCurrentIndex(entry);
  // The folders above it are still filling in.
  keptInView_->Keep(entry);
}

bool TForm1::MayEnd() {
  std::vector<TF_DatabaseEdit*> holding;
  std::vector<std::string> paths;
  for (TF_DatabaseEdit* editor : findChildren<TF_DatabaseEdit*>(Qt::FindDirectChildrenOnly)) {
    if (!editor->HoldsChanges()) continue;
    holding.push_back(editor);
    paths.push_back(PathText(editor->Path()));
  }
  if (holding.empty()) return true;
  const Question question = UnwrittenAtEndQuestion(paths);
  const int choice = Ask(this, question.text, question.choices);
  if (choice == kDiscardAll) return true;
  if (choice != kSaveAll) return false;
  std::vector<std::string> failed;
  for (TF_DatabaseEdit* editor : holding) {
    if (!editor->SaveAll()) failed.push_back(PathText(editor->Path()));
  }
  if (failed.empty()) return true;
  Dialogs().ShowMessage(this, FileNameText(NotSavedAtEndMessage(failed)));
  return false;
}

std::optional<std::string> TForm1::AskForDid(const char* title, bool existingOnly,
                                             bool confirmOverwrite) {
  FileDialogRequest request;
  request.title = title;
  request.confirmOverwrite = confirmOverwrite;
  request.folder =
      FileNameText(InitialDialogFolder(FileNameBytes(QDir::homePath()), kDriveLetters));
  request.filter = QString::fromLatin1(ToolkitFilter(kDidFilter));
  request.existingOnly = existingOnly;
  request.complete = [](const QString& typed) {
    return FileNameText(WithDidExtension(FileNameBytes(typed)));
  };
  const QString chosen = Dialogs().OpenFile(this, request);
  if (chosen.isEmpty()) return std::nullopt;
  return WithDidExtension(FileNameBytes(chosen));
}

void TForm1::B_SDBCreateClick() {
  if (const auto path = AskForDid(kCreateDidTitle, false, true)) OpenDidEditor(*path, true);
}

void TForm1::B_SDBEditClick() {
  if (const auto path = AskForDid(kOpenDidTitle, true)) OpenDidEditor(*path, false);
}

void TForm1::OpenDidEditor(const std::string& path, bool createNew) {
  for (TF_DatabaseEdit* open : findChildren<TF_DatabaseEdit*>(Qt::FindDirectChildrenOnly)) {
    // One that has closed (or failed to read) keeps no database.
    if (!open->HasDatabase() || !SameDidFile(PathText(open->Path()), path)) continue;
    if (open->isMinimized()) open->showNormal();
    open->raise();
    open->activateWindow();
    return;
  }
  didRequest_ = {path, createNew};
  auto* editor = new TF_DatabaseEdit(didRequest_, this);
  editor->show();
}

void TForm1::B_SDBRenameClick() {
  const auto path = AskForDid(kOpenDidTitle, true);
  if (!path) return;
  renamerRequest_ = {*path};
  auto* renamer = new TF_Scan(renamerRequest_, this);
  renamer->show();
}

void TForm1::B_InspectorClick() {
  // The selected entry: the current one may have been deselected.
  const QModelIndexList selected = browser_->selectionModel()->selectedRows();
  if (selected.isEmpty()) return;
  const QModelIndex entry = shown_->mapToSource(selected.constFirst());
  if (files_->isDir(entry)) return;
  OpenInspector({FileNameBytes(files_->filePath(entry))}, false);
}

void TForm1::OpenInspector(const InspectorRequest& request, bool front) {
  if (!inspectors_.FirstFree()) {
    // All 256 slots hold an open Inspector.
    Dialogs().Beep();
    return;
  }
  inspectorRequest_ = request;
  FileError error;
  TDI_Inspector* inspector = TDI_Inspector::Open(inspectorRequest_, error);
  if (!inspector) {
    // Over the window that asked, normally the active one.
    QWidget* asking = front ? QApplication::activeWindow() : this;
    Dialogs().ShowMessage(asking, FileNameText(FormatFileError(error)));
    return;
  }
  inspector->show();
  QWidget* focus = front ? static_cast<QWidget*>(inspector) : this;
  focus->raise();
  focus->activateWindow();
  inspectors_.Put(inspector);
  // The Inspector's slot is emptied when it goes.
  connect(inspector, &QObject::destroyed, this,
          [this, inspector] { inspectors_.Release(inspector); });
}

void TForm1::B_CompareClick() {
  auto* compare = new TF_Compare(inspectors_.InSlotOrder(), this);
  compare->show();
}

void TForm1::B_AboutClick() {
  auto* about = new TForm2(this);
  about->show();
}

}  // namespace moswit
