// The bookkeeping through which record editors tell the DID Editor that
// they closed: one table per editor kind, one slot per open editor. A DID
// Editor that becomes active frees the slots of closed editors and, when it
// freed any, fills its tree anew. The Inspector finds the open Disk editors
// in the disk table.
//
// Each table has 256 slots; an editor that finds none does not open.
// Editors and records are named by address only and never dereferenced
// here (the windows keep a RecordEditor* in `editor`).
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "database/records.h"

namespace moswit {

struct EditorSlot {
  const void* record = nullptr;  // a File editor on several files names their disk
  GameRecord* game = nullptr;    // disk table: the game holding the disk
  const void* editor = nullptr;  // null: the slot is free
  bool changed = false;          // the editor has closed

  bool Free() const { return editor == nullptr; }
  bool Open() const { return editor != nullptr && !changed; }
};

constexpr size_t kEditorSlots = 256;

class EditorTable {
 public:
  // The first free slot takes the editor; returns its index, or nothing
  // when every slot is taken (nothing is changed then).
  std::optional<size_t> Take(const void* editor, const void* record, GameRecord* game = nullptr);
  bool HasFreeSlot() const;
  // The editor closed, whether or not it stored.
  void MarkChanged(const void* editor);
  // Frees the slots of closed editors; true when there was one.
  bool FreeChanged();
  // Frees the editor's slot at once (File and Range editors, whose slots no
  // refresh frees, so the table would fill up in a long run).
  void Release(const void* editor);
  void Clear() { slots_.fill({}); }

  const std::array<EditorSlot, kEditorSlots>& Slots() const { return slots_; }

 private:
  std::array<EditorSlot, kEditorSlots> slots_{};
};

struct OpenEditors {
  EditorTable games;
  EditorTable versions;
  EditorTable disks;
  EditorTable files;
  EditorTable ranges;

  // The DID Editor's activation: frees the slots of closed Game, Version and
  // Disk editors; true when the tree is to be filled anew.
  bool FreeChanged();
  // The open editors, of any kind, whose record is one of `records`.
  std::vector<const void*> EditorsOf(std::span<const void* const> records) const;
  void Clear();
};

// The program's tables: the main window clears them when it is created,
// record editors take and mark their slots, the DID Editor frees them and
// the Inspector finds the open Disk editors there.
OpenEditors& EditorTables();

}  // namespace moswit
