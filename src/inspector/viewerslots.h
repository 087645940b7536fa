// SPDX-License-Identifier: GPL-2.0-or-later
// The Inspector's 256 slots of hex viewers: a viewer opens on a free slot,
// which keeps the file buffer the viewer shows for as long as it is open.
// The Inspector frees the buffers of closed viewers when it is activated
// again and does not close while a viewer is open.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diskcontents/filelistrows.h"
#include "image/adf.h"

namespace moswit {

constexpr size_t kViewerSlotCount = 256;

class ViewerSlots {
 public:
  // The first slot whose viewer is not open; nothing when all are taken,
  // and then no viewer opens.
  std::optional<size_t> FirstFree() const;

  // The slot's viewer opens, the slot keeping `buffer` (empty for a range,
  // whose bytes stay in the image). A buffer left by a closed viewer goes.
  // False, and nothing changes, for an open slot or one past the last.
  bool Open(size_t slot, std::vector<uint8_t> buffer);
  // The viewer closed; its buffer stays until ReleaseClosed.
  void Close(size_t slot);
  // Gives back the buffers of every closed viewer.
  void ReleaseClosed();

  bool IsOpen(size_t slot) const { return slot < kViewerSlotCount && slots_[slot].open; }
  bool AnyOpen() const;
  // Empty for a slot past the last.
  const std::vector<uint8_t>& Buffer(size_t slot) const;

 private:
  struct Slot {
    std::vector<uint8_t> buffer;
    bool open = false;
  };
  std::array<Slot, kViewerSlotCount> slots_;
};

// What a new hex viewer shows, and the slot it holds.
struct HexViewerSource {
  size_t slot = 0;
  const uint8_t* data = nullptr;
  uint32_t length = 0;
  std::string status;  // the viewer's status line
};

// FileName + " [" + the entry's name + "]".
std::string HexViewerStatus(std::string_view fileName, std::string_view name);

// Opens a slot for a viewer on `row`: a file is read again (with `ffs`)
// and the viewer shows the whole buffer, also after a failed read (zeros
// past the fault); a range is shown in place in the image. Nothing when
// every slot is taken or the row has no entry.
std::optional<HexViewerSource> OpenHexViewer(ViewerSlots& slots, const tADF& image, bool ffs,
                                             const FileListRow& row);

}  // namespace moswit
