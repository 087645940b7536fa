// SPDX-License-Identifier: GPL-2.0-or-later
// A fixed table of 256 slots, each free or holding one open window and what
// the slot names besides it (`Tag`: nothing for the main window's
// Inspectors, the record for the record editors). A window that finds no
// free slot does not open. A window that closes gives its slot back at
// once, or marks it changed for its owner to free later (the DID Editor
// fills its tree anew when it frees one).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace moswit {

constexpr size_t kSlotCount = 256;

struct NoSlotTag {};

template <typename T, typename Tag = NoSlotTag>
class SlotTable {
 public:
  struct Slot : Tag {
    T* window = nullptr;   // null: the slot is free
    bool changed = false;  // the window has closed; its owner frees the slot

    bool Free() const { return window == nullptr; }
    bool Open() const { return window != nullptr && !changed; }
  };

  // The first free slot; nothing when every slot is taken.
  std::optional<size_t> FirstFree() const {
    const auto free =
        std::find_if(slots_.begin(), slots_.end(), [](const Slot& s) { return s.Free(); });
    if (free == slots_.end()) return std::nullopt;
    return static_cast<size_t>(free - slots_.begin());
  }

  // The first free slot takes the window; its index, or nothing when every
  // slot is taken (nothing is changed then).
  std::optional<size_t> Put(T* window, const Tag& tag = {}) {
    const std::optional<size_t> free = FirstFree();
    if (free) slots_[*free] = Slot{tag, window, false};
    return free;
  }

  // Frees the window's slot at once.
  void Release(const T* window) {
    for (Slot& slot : slots_) {
      if (slot.window == window) slot = {};
    }
  }

  // The window closed; its slot stays taken until FreeChanged.
  void MarkChanged(const T* window) {
    for (Slot& slot : slots_) {
      if (slot.window == window) slot.changed = true;
    }
  }

  // Frees the slots of closed windows; true when there was one.
  bool FreeChanged() {
    bool freed = false;
    for (Slot& slot : slots_) {
      if (slot.Free() || !slot.changed) continue;
      slot = {};
      freed = true;
    }
    return freed;
  }

  void Clear() { slots_.fill({}); }

  T* At(size_t slot) const { return slot < kSlotCount ? slots_[slot].window : nullptr; }

  // The windows of the taken slots, in slot order.
  std::vector<T*> InSlotOrder() const {
    std::vector<T*> windows;
    for (const Slot& slot : slots_) {
      if (!slot.Free()) windows.push_back(slot.window);
    }
    return windows;
  }

  const std::array<Slot, kSlotCount>& Slots() const { return slots_; }

 private:
  std::array<Slot, kSlotCount> slots_{};
};

}  // namespace moswit
