// SPDX-License-Identifier: GPL-2.0-or-later
// A fixed table of slots, each empty or referring to one open window; the
// main window keeps its Inspectors in one, and the Compare dialog takes
// them in slot order.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace moswit {

constexpr size_t kInspectorSlots = 256;

template <typename T, size_t N = kInspectorSlots>
class SlotTable {
 public:
  void Clear() { slots_.fill(nullptr); }

  // The first empty slot; nothing when every slot is taken.
  std::optional<size_t> FirstFree() const {
    for (size_t i = 0; i < N; ++i) {
      if (slots_[i] == nullptr) return i;
    }
    return std::nullopt;
  }

  // Takes the first empty slot; nothing when every slot is taken.
  std::optional<size_t> Put(T* item) {
    for (size_t i = 0; i < N; ++i) {
      if (slots_[i] == nullptr) {
        slots_[i] = item;
        return i;
      }
    }
    return std::nullopt;
  }

  // Empties the slot that refers to `item`, if any.
  void Release(const T* item) {
    for (T*& slot : slots_) {
      if (slot == item) slot = nullptr;
    }
  }

  T* At(size_t slot) const { return slot < N ? slots_[slot] : nullptr; }

  std::vector<T*> InSlotOrder() const {
    std::vector<T*> items;
    for (T* slot : slots_) {
      if (slot != nullptr) items.push_back(slot);
    }
    return items;
  }

  static constexpr size_t Size() { return N; }

 private:
  std::array<T*, N> slots_{};
};

}  // namespace moswit
