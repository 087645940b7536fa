// SPDX-License-Identifier: GPL-2.0-or-later
// The main window: a file browser over the file system that shows folders
// and ADF and ZIP files, and the buttons that open the tools.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <string>

#include "app/mainform.h"
#include "base/slottable.h"
#include "gui/requests.h"

class QApplication;
class QCloseEvent;
class QFileSystemModel;
class QSortFilterProxyModel;
class QTreeView;

namespace moswit {

class KeptInView;
class TDI_Inspector;
class TF_DatabaseEdit;

// Titles the application and gives it Moswit's icon; called once, before
// the main window is made.
void SetUpApplication(QApplication& application);

// The program: titles the application, shows the main window and runs the
// event loop until the main window closes; then every tool window closes
// with it, running scans stopped and joined.
int RunMoswit(QApplication& application);

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  // Installs itself as the opener of Inspectors for the other windows.
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // The open Inspectors; an Inspector empties its own slot when it closes.
  SlotTable<TDI_Inspector>& InspectorTable() { return inspectors_; }
  // What the next tool window reads when it is created.
  const InspectorRequest& InspectorRequestState() const { return inspectorRequest_; }
  const DidEditorRequest& DidRequest() const { return didRequest_; }
  const RenamerRequest& RenamerRequestState() const { return renamerRequest_; }

  // Opens the browser's folders down to `path` and selects it.
  void ShowInFileBrowser(const QString& path);

  void B_SDBCreateClick();
  void B_SDBEditClick();
  void B_SDBRenameClick();
  void B_InspectorClick();
  void B_CompareClick();
  void B_AboutClick();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  // The chosen DID path with the ".did" rule applied; nothing on cancel.
  std::optional<std::string> AskForDid(const char* title, bool existingOnly,
                                       bool confirmOverwrite = false);
  // "Create DID" and "Open DID": a DID Editor on the file, or the one
  // already open on it brought to the front.
  void OpenDidEditor(const std::string& path, bool createNew);
  // Closing ends Moswit: when DID Editors hold changes, asks once whether to
  // save them all, discard them or go on. False: Moswit stays.
  bool MayEnd();
  // An Inspector on the request's image in a free slot; a beep when every
  // slot is taken, a message when the image cannot be read. `front`: the
  // Inspector comes to the front, else the main window stays there.
  void OpenInspector(const InspectorRequest& request, bool front);

  QFileSystemModel* files_ = nullptr;
  QSortFilterProxyModel* shown_ = nullptr;
  QTreeView* browser_ = nullptr;
  KeptInView* keptInView_ = nullptr;
  SlotTable<TDI_Inspector> inspectors_;
  InspectorRequest inspectorRequest_;
  DidEditorRequest didRequest_;
  RenamerRequest renamerRequest_;
};

}  // namespace moswit
