// SPDX-License-Identifier: GPL-2.0-or-later
#include "inspector/viewerslots.h"

#include <algorithm>

namespace moswit {

std::optional<size_t> ViewerSlots::FirstFree() const {
  for (size_t i = 0; i < kViewerSlotCount; ++i) {
    if (!slots_[i].open) return i;
  }
  return std::nullopt;
}

bool ViewerSlots::Open(size_t slot, std::vector<uint8_t> buffer) {
  if (slot >= kViewerSlotCount || slots_[slot].open) return false;
  slots_[slot].buffer = std::move(buffer);
  slots_[slot].open = true;
  return true;
}

void ViewerSlots::Close(size_t slot) {
  if (slot < kViewerSlotCount) slots_[slot].open = false;
}

void ViewerSlots::ReleaseClosed() {
  for (Slot& slot : slots_) {
    if (!slot.open) std::vector<uint8_t>().swap(slot.buffer);
  }
}

bool ViewerSlots::AnyOpen() const {
  return std::any_of(slots_.begin(), slots_.end(), [](const Slot& slot) { return slot.open; });
}

const std::vector<uint8_t>& ViewerSlots::Buffer(size_t slot) const {
  static const std::vector<uint8_t> kNone;
  return slot < kViewerSlotCount ? slots_[slot].buffer : kNone;
}

std::string HexViewerStatus(std::string_view fileName, std::string_view name) {
  std::string status(fileName);
  status += " [";
  status.append(name);
  status += "]";
  return status;
}

std::optional<HexViewerSource> OpenHexViewer(ViewerSlots& slots, const tADF& image, bool ffs,
                                             const FileListRow& row) {
  if (!row.file && !row.range) return std::nullopt;
  const std::optional<size_t> slot = slots.FirstFree();
  if (!slot) return std::nullopt;

  HexViewerSource source;
  source.slot = *slot;
  source.status = HexViewerStatus(image.FileName, row.name);
  if (row.file) {
    std::vector<uint8_t> buffer;
    VisitedMap map;
    ReadFileData(image, *row.file, ffs, map, buffer);
    slots.Open(*slot, std::move(buffer));
    const std::vector<uint8_t>& kept = slots.Buffer(*slot);
    source.data = kept.data();
    source.length = static_cast<uint32_t>(kept.size());
  } else {
    // Ranges are made within the image; the cut keeps a stale one inside too.
    const uint32_t first = std::min(row.range->FirstByte, image.Size);
    slots.Open(*slot, {});
    source.data = image.Data.data() + first;
    source.length = std::min(row.range->Length, image.Size - first);
  }
  return source;
}

}  // namespace moswit
