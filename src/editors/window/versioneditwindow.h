// SPDX-License-Identifier: GPL-2.0-or-later
// The Version editor: one version's own title and credits (which override
// the game's), its details (chipset, memory, crackers, fixes, trainer,
// languages, the disks that make it up) and its emulation compatibility,
// edited in place. Numbers are read from their digits, so storing never
// fails; the close box drops what was not stored.
#pragma once

#include <string>

#include "database/records.h"
#include "editors/versionfields.h"
#include "gui/fieldedits.h"
#include "gui/packededits.h"
#include "gui/recordeditor.h"

class QLineEdit;
class QPlainTextEdit;

namespace moswit {

class TF_VersionEdit : public RecordEditor {
  Q_OBJECT

 public:
  // Takes a slot of the version table; open it with OpenRecordEditor.
  TF_VersionEdit(VersionRecord& version, QWidget* owner);

 protected:
  void LoadControls() override;
  std::string StoreControls() override;

 private:
  VersionFields Fields() const;

  VersionRecord& version_;
  // Every control beside the field it shows.
  FieldEdits fieldTexts_;  // the fields of the version's DID field table
  PackedEdits details_;    // the version's packed table
  PackedEdits compat_;     // CompatInfo's packed table
  QLineEdit* parent_ = nullptr;
  QPlainTextEdit* comment_ = nullptr;
};

}  // namespace moswit
