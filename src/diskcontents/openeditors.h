// SPDX-License-Identifier: GPL-2.0-or-later
// The bookkeeping through which record editors tell the DID Editor that
// they closed: one table per editor kind, one slot per open editor. A DID
// Editor that becomes active frees the slots of closed editors and, when it
// freed any, fills its tree anew. The Inspector finds the open Disk editors
// in the disk table.
//
// Each table has 256 slots; an editor that finds none does not open. The
// tables are typed by the editor they hold (the windows' RecordEditor, a
// plain type in tests); only a disk slot's game and disk are ever
// followed. A closed Game, Version or Disk editor marks its slot changed;
// File and Range editors, whose slots no refresh frees, give theirs back
// at once, so the table does not fill up in a long run.
#pragma once

#include <algorithm>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "base/slottable.h"
#include "database/recordref.h"
#include "database/records.h"
#include "diskcontents/addtodisk.h"

namespace moswit {

// What a slot names besides its editor.
struct SlotRecord {
  RecordRef record;            // a File editor on several files names their disk
  GameRecord* game = nullptr;  // disk table: the game holding the disk
  DiskRecord* disk = nullptr;  // disk table: the disk
};

template <typename Editor>
using EditorTable = SlotTable<Editor, SlotRecord>;

template <typename Editor>
using EditorSlot = typename EditorTable<Editor>::Slot;

template <typename Editor>
struct OpenEditors {
  EditorTable<Editor> games;
  EditorTable<Editor> versions;
  EditorTable<Editor> disks;
  EditorTable<Editor> files;
  EditorTable<Editor> ranges;

  // The DID Editor's activation: frees the slots of closed Game, Version and
  // Disk editors; true when the tree is to be filled anew. Each table is
  // freed, not only up to the first that had a closed editor.
  bool FreeChanged() {
    bool freed = games.FreeChanged();
    freed = versions.FreeChanged() || freed;
    freed = disks.FreeChanged() || freed;
    return freed;
  }

  // The open editors, of any kind, whose slot names one of `records`, each
  // once, in table order.
  std::vector<Editor*> EditorsOf(std::span<const RecordRef> records) const {
    std::vector<Editor*> editors;
    for (const EditorTable<Editor>* table : {&games, &versions, &disks, &files, &ranges}) {
      for (const EditorSlot<Editor>& slot : table->Slots()) {
        if (!slot.Open()) continue;
        if (std::find(records.begin(), records.end(), slot.record) == records.end()) continue;
        if (std::find(editors.begin(), editors.end(), slot.window) == editors.end()) {
          editors.push_back(slot.window);
        }
      }
    }
    return editors;
  }

  void Clear() {
    for (EditorTable<Editor>* table : {&games, &versions, &disks, &files, &ranges}) table->Clear();
  }
};

// A Disk editor the Inspector can hand rows to, with its menu caption.
template <typename Editor>
struct HandOverTarget {
  Editor* editor = nullptr;
  DiskRecord* disk = nullptr;
  std::string caption;
};

// The open Disk editors, in table order: the Inspector's hand-over menu.
template <typename Editor>
std::vector<HandOverTarget<Editor>> HandOverTargets(const OpenEditors<Editor>& open) {
  std::vector<HandOverTarget<Editor>> targets;
  for (const EditorSlot<Editor>& slot : open.disks.Slots()) {
    if (!slot.Open() || slot.game == nullptr || slot.disk == nullptr) continue;
    targets.push_back({slot.window, slot.disk, DiskEditorCaption(*slot.game, *slot.disk)});
  }
  return targets;
}

// The open Disk editors that list `disk`, `except` left out: the ones to
// fill their lists anew after its files or ranges changed.
template <typename Editor>
std::vector<Editor*> DiskEditorsShowing(const OpenEditors<Editor>& open, const DiskRecord* disk,
                                        const std::type_identity_t<Editor>* except = nullptr) {
  std::vector<Editor*> editors;
  for (const EditorSlot<Editor>& slot : open.disks.Slots()) {
    if (slot.Open() && slot.disk == disk && slot.window != except) editors.push_back(slot.window);
  }
  return editors;
}

}  // namespace moswit
