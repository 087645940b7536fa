// The main window: a file browser over the file system that shows folders
// and ADF and ZIP files, and the buttons that open the tools.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <string>

#include "app/mainform.h"
#include "app/slottable.h"

class QApplication;
class QFileSystemModel;
class QSortFilterProxyModel;
class QTreeView;

namespace moswit {

// Titles the application; called once, before the main window is made.
void SetUpApplication(QApplication& application);

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);

  // The open Inspectors; an Inspector empties its own slot when it closes.
  SlotTable<QWidget>& InspectorTable() { return inspectors_; }
  // What the next tool window reads when it is created.
  const std::string& InspectorImagePath() const { return inspectorImagePath_; }
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

 private:
  void FormCreate();
  // The chosen DID path with the ".did" rule applied; nothing on cancel.
  std::optional<std::string> AskForDid(const char* title, bool existingOnly);

  QFileSystemModel* files_ = nullptr;
  QSortFilterProxyModel* shown_ = nullptr;
  QTreeView* browser_ = nullptr;
  SlotTable<QWidget> inspectors_;
  std::string inspectorImagePath_;
  DidEditorRequest didRequest_;
  RenamerRequest renamerRequest_;
};

}  // namespace moswit
