// SPDX-License-Identifier: GPL-2.0-or-later
// The DID Editor: creates or opens a DID file, shows its games with their
// versions and disks as a tree, opens the record editors on them, adds and
// deletes records, and writes the database back to its file.
#pragma once

#include <QWidget>
#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "database/records.h"
#include "editors/didfilestate.h"
#include "editors/recordtree.h"
#include "editors/standardinfo.h"
#include "gui/fieldedits.h"
#include "gui/requests.h"

class QAction;
class QCloseEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QThread;

namespace moswit {

class RecordEditor;
class RecordTreeModel;
class RecordTreeView;
struct EnrichJob;

class TF_DatabaseEdit : public QWidget {
  Q_OBJECT

 public:
  // Makes a new database or reads the request's DID file. A file that
  // cannot be read: the window shows the platform's message and closes. A
  // file read only in part: the window says so once it is up.
  explicit TF_DatabaseEdit(const DidEditorRequest& request, QWidget* owner = nullptr);
  ~TF_DatabaseEdit() override;

  bool HasDatabase() const { return database_ != nullptr; }
  DatabaseInfo* Database() const { return database_.get(); }
  const RecordTree& Tree() const;
  bool WriteOnClose() const { return writeOnClose_; }
  RecordRef FocusRecord() const { return focusRecord_; }
  const std::filesystem::path& Path() const { return path_; }

  // Whether anything would be lost if the window went now: a database that
  // differs from the file last read or written, Standard Info edits not
  // stored, or a record editor of it holding changes.
  bool HoldsChanges() const;
  // Saves everything the window holds: the record editors' changes are
  // stored (the editors stay open), then the database is written as Save
  // does. False when something stopped it; the window has said why.
  bool SaveAll();

  void B_NewGameClick();
  void B_NewVersionClick();
  void B_NewDiskClick();
  void B_EditClick();
  void B_DeleteClick();
  void B_OkayClick();
  void B_SaveClick();
  // Writes the database to a file chosen in a dialog (Ctrl+Shift+S), which
  // the window then holds: a way to keep the work when its own file cannot
  // be written or should be kept as it is.
  void B_SaveAsClick();
  void B_CancelClick();
  // The window became active: when editors closed since, the tree is
  // filled anew and the focus record selected.
  void FormActivate();

  // The record tree's menu. Import DAT appends a DAT's games. Enrich asks for a folder and reads
  // its images on a worker; the disks they match get their records once it is done, and the window
  // says how many. Closing the window stops the reading.
  void MI_ImportDatClick();
  void MI_EnrichClick();
  bool Enriching() const { return enrichJob_ != nullptr; }

 signals:
  // The enrichment's summary was shown.
  void EnrichEnded();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate(const DidEditorRequest& request);
  // PU_Records, the record tree's context menu, from kRecordMenu.
  void MakeRecordMenu();
  void LoadStandardInfoControls();
  StandardInfoFields StandardInfoControls() const;
  // Fills the tree and selects the focus record's node, if it has one.
  void Refresh();
  std::optional<NodePosition> Selected() const;
  // Before writing over the file: the questions about a file not fully
  // understood or changed on disk; false when the user keeps the file.
  bool MayWrite();
  // Writes the database; on failure shows the platform's message.
  bool Write();
  // Stores the Standard Info edits; false after the date's message.
  bool StoreStandardInfoControls();
  // "Save all" stopped at `window`: it comes to the front and says why.
  void ShowNotStored(QWidget* window, const std::string& field, const std::string& reason);
  // The close goes ahead: the database is disposed.
  void Release(QCloseEvent* event);
  // Opens a record editor on the record, owned by this window; false when
  // none opened.
  bool OpenEditor(const RecordNode& node);
  bool OpenDiskEditor(GameRecord& game, DiskRecord& disk);
  QList<RecordEditor*> RecordEditors() const;
  // The worker ended: its images' records go into the database.
  void EnrichFinished();
  void StopEnriching();

  std::unique_ptr<DatabaseInfo> database_;
  std::filesystem::path path_;
  std::optional<DidFileState> file_;  // with the database
  bool writeOnClose_ = false;
  bool closingByOkay_ = false;
  // Compared by address only: the node selected after the next refresh.
  RecordRef focusRecord_;

  FieldEdits standardTexts_;  // name and creator
  RecordTreeModel* model_ = nullptr;
  RecordTreeView* tree_ = nullptr;
  QLabel* stats_ = nullptr;
  QMenu* recordMenu_ = nullptr;
  QAction* enrich_ = nullptr;

  // The enrichment: its job belongs to the worker while the thread runs.
  std::unique_ptr<EnrichJob> enrichJob_;
  QThread* enrichThread_ = nullptr;
  std::atomic<bool> enrichStop_{false};
};

}  // namespace moswit
