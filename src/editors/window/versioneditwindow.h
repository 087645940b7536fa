// SPDX-License-Identifier: GPL-2.0-or-later
// The Version editor: one version's own title and credits (which override
// the game's), its details (chipset, memory, crackers, fixes, trainer,
// languages, the disks that make it up) and its emulation compatibility,
// edited in place. Numbers are read from their digits, so storing never
// fails; the close box drops what was not stored.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "database/records.h"
#include "editors/versionfields.h"
#include "gui/fieldedits.h"
#include "gui/recordeditor.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

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
  std::vector<std::pair<QLineEdit*, std::string VersionFields::*>> texts_;
  std::vector<std::pair<QLineEdit*, std::string CompatFields::*>> compatNumbers_;
  std::vector<std::pair<QCheckBox*, bool VersionFields::*>> flags_;
  std::vector<std::pair<QCheckBox*, TriState CompatFields::*>> compatBoxes_;
  QLineEdit* year_ = nullptr;
  QLineEdit* month_ = nullptr;
  QLineEdit* day_ = nullptr;
  QRadioButton* ocs_ = nullptr;
  QRadioButton* ecs_ = nullptr;
  QRadioButton* aga_ = nullptr;
  QPlainTextEdit* comment_ = nullptr;
};

}  // namespace moswit
