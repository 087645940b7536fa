#include "editors/openeditors.h"

#include <algorithm>

namespace moswit {

std::optional<size_t> EditorTable::Take(const void* editor, const void* record, GameRecord* game) {
  auto free =
      std::find_if(slots_.begin(), slots_.end(), [](const EditorSlot& s) { return s.Free(); });
  if (free == slots_.end()) return std::nullopt;
  *free = {record, game, editor, false};
  return static_cast<size_t>(free - slots_.begin());
}

bool EditorTable::HasFreeSlot() const {
  return std::any_of(slots_.begin(), slots_.end(), [](const EditorSlot& s) { return s.Free(); });
}

void EditorTable::MarkChanged(const void* editor) {
  for (EditorSlot& slot : slots_) {
    if (slot.editor == editor) slot.changed = true;
  }
}

bool EditorTable::FreeChanged() {
  bool freed = false;
  for (EditorSlot& slot : slots_) {
    if (slot.Free() || !slot.changed) continue;
    slot = {};
    freed = true;
  }
  return freed;
}

void EditorTable::Release(const void* editor) {
  for (EditorSlot& slot : slots_) {
    if (slot.editor == editor) slot = {};
  }
}

bool OpenEditors::FreeChanged() {
  // Each table is freed, not only up to the first that had a closed editor.
  bool freed = games.FreeChanged();
  freed = versions.FreeChanged() || freed;
  freed = disks.FreeChanged() || freed;
  return freed;
}

std::vector<const void*> OpenEditors::EditorsOf(std::span<const void* const> records) const {
  std::vector<const void*> editors;
  for (const EditorTable* table : {&games, &versions, &disks, &files, &ranges}) {
    for (const EditorSlot& slot : table->Slots()) {
      if (!slot.Open()) continue;
      if (std::find(records.begin(), records.end(), slot.record) == records.end()) continue;
      if (std::find(editors.begin(), editors.end(), slot.editor) == editors.end()) {
        editors.push_back(slot.editor);
      }
    }
  }
  return editors;
}

void OpenEditors::Clear() {
  for (EditorTable* table : {&games, &versions, &disks, &files, &ranges}) table->Clear();
}

OpenEditors& EditorTables() {
  static OpenEditors tables;
  return tables;
}

}  // namespace moswit
