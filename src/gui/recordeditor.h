// SPDX-License-Identifier: GPL-2.0-or-later
// The base of every record editor (Game, Version, Disk, File and Range): a
// modeless window that edits one record of a DID Editor's database in place,
// with Okay (store and close), Save (store, show what was stored, stay open)
// and Cancel (close without storing), and the editor's slot in the program's
// OpenEditors tables, taken on opening and marked when the window closes.
// Each editor adds its controls, its load and its store.
#pragma once

#include <QStringList>
#include <QWidget>
#include <span>
#include <string>
#include <utility>

#include "database/recordref.h"
#include "database/records.h"
#include "gui/dialogseam.h"
#include "gui/editorregistry.h"

class QCloseEvent;
class QHBoxLayout;
class QShowEvent;

namespace moswit {

class RecordEditor : public QWidget {
  Q_OBJECT

 public:
  ~RecordEditor() override;

  // What the editor's slot names: the record (the disk of a File editor on
  // several files).
  RecordRef Record() const { return record_; }
  bool HasSlot() const { return hasSlot_; }
  bool ApplyOnClose() const { return applyOnClose_; }

  void B_OkayClick();
  void B_SaveClick();
  void B_CancelClick();

  // Closes without storing, whatever applyOnClose says: used when the
  // record is about to be disposed. Never refused.
  void CloseDiscarding();

  // Whether the user changed a control since the editor last loaded them:
  // changes that no store has taken over yet.
  bool HoldsChanges() const;
  // What Save does: stores the controls and loads them again. False, after
  // the message was shown, when the store failed.
  bool Store();
  // The same without showing anything: empty, or the message.
  std::string StoreQuietly();
  // The label of the field the last store stopped at; empty when not known.
  virtual std::string FailedField() const { return {}; }

  // Whether the editor holds one of `records` (which are about to be
  // disposed): its slot's record, or one of the records it edits at once.
  virtual bool EditsAnyOf(std::span<const RecordRef> records) const;

  // A Disk editor shows its disk's files and ranges anew after they changed
  // elsewhere (the Inspector's hand-over, another Disk editor's delete).
  virtual void FillList() {}

 protected:
  // How the slot ends when the window closes: marked changed for the DID
  // Editor to free (Game, Version, Disk), or freed at once (File, Range,
  // whose slots nothing else frees).
  enum class SlotEnd { kMarkChanged, kRelease };

  // Takes the first free slot of `table` for `record`; HasSlot() tells
  // whether there was one. `applyOnClose` is the value the close box uses
  // until Okay or Cancel sets it.
  RecordEditor(QWidget* owner, RecordEditorTable& table, SlotEnd end, const SlotRecord& record,
               bool applyOnClose);

  // Moves the record's values into the controls.
  virtual void LoadControls() = 0;
  // Moves the controls' values into the record; empty on success, else the
  // message to show (the close is then abandoned).
  virtual std::string StoreControls() = 0;

  // Okay and Save at the left, Cancel at the right.
  QHBoxLayout* MakeButtonRow();

  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void EndSlot();
  // The value of every input control of this window, in a fixed order.
  QStringList ControlValues() const;

  RecordEditorTable& table_;
  SlotEnd end_;
  RecordRef record_;
  bool hasSlot_ = false;
  bool applyOnClose_;
  bool discarding_ = false;
  bool closed_ = false;
  // The controls as loaded, taken when the window is first shown (its
  // constructor loads them) and after each Save.
  QStringList loaded_;
  bool loadedTaken_ = false;
};

// Closes each editor as its close box does, or without storing when
// `discard`; the editors opened from them close first. True when every one
// closed (a Game editor with a bad date refuses).
bool CloseRecordEditors(const QList<RecordEditor*>& editors, bool discard);

// Creates the editor and shows it; when its table has no free slot it beeps
// and opens nothing (null).
template <typename Editor, typename... Args>
Editor* OpenRecordEditor(Args&&... args) {
  auto* editor = new Editor(std::forward<Args>(args)...);
  if (!editor->HasSlot()) {
    delete editor;
    Dialogs().Beep();
    return nullptr;
  }
  editor->show();
  return editor;
}

}  // namespace moswit
