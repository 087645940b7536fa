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
// followed.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "database/recordref.h"
#include "database/records.h"
#include "diskcontents/addtodisk.h"

namespace moswit {

constexpr size_t kEditorSlots = 256;

// What a slot names besides its editor.
struct SlotRecord {
  RecordRef record;            // a File editor on several files names their disk
  GameRecord* game = nullptr;  // disk table: the game holding the disk
  DiskRecord* disk = nullptr;  // disk table: the disk
};

template <typename Editor>
struct EditorSlot : SlotRecord {
  Editor* editor = nullptr;  // null: the slot is free
  bool changed = false;      // the editor has closed

  bool Free() const { return editor == nullptr; }
  bool Open() const { return editor != nullptr && !changed; }
};

template <typename Editor>
class EditorTable {
 public:
  using Slot = EditorSlot<Editor>;

  // The first free slot takes the editor; returns its index, or nothing
  // when every slot is taken (nothing is changed then).
  std::optional<size_t> Take(Editor* editor, const SlotRecord& record = {}) {
    auto free = std::find_if(slots_.begin(), slots_.end(), [](const Slot& s) { return s.Free(); });
    if (free == slots_.end()) return std::nullopt;
    *free = {record, editor, false};
    return static_cast<size_t>(free - slots_.begin());
  }
  bool HasFreeSlot() const {
    return std::any_of(slots_.begin(), slots_.end(), [](const Slot& s) { return s.Free(); });
  }
  // The editor closed, whether or not it stored.
  void MarkChanged(const Editor* editor) {
    for (Slot& slot : slots_) {
      if (slot.editor == editor) slot.changed = true;
    }
  }
  // Frees the slots of closed editors; true when there was one.
  bool FreeChanged() {
    bool freed = false;
    for (Slot& slot : slots_) {
      if (slot.Free() || !slot.changed) continue;
      slot = {};
      freed = true;
    }
    return freed;
  }
  // Frees the editor's slot at once (File and Range editors, whose slots no
  // refresh frees, so the table would fill up in a long run).
  void Release(const Editor* editor) {
    for (Slot& slot : slots_) {
      if (slot.editor == editor) slot = {};
    }
  }
  void Clear() { slots_.fill({}); }

  const std::array<Slot, kEditorSlots>& Slots() const { return slots_; }

 private:
  std::array<Slot, kEditorSlots> slots_{};
};

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
        if (std::find(editors.begin(), editors.end(), slot.editor) == editors.end()) {
          editors.push_back(slot.editor);
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
    targets.push_back({slot.editor, slot.disk, DiskEditorCaption(*slot.game, *slot.disk)});
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
    if (slot.Open() && slot.disk == disk && slot.editor != except) editors.push_back(slot.editor);
  }
  return editors;
}

}  // namespace moswit
