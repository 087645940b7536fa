// SPDX-License-Identifier: GPL-2.0-or-later
// Block ranges the user defines on an image in the Inspector: a run of
// whole blocks, identified by its byte offsets and the CRC-32 of its bytes.
#pragma once

#include <cstdint>
#include <list>
#include <optional>
#include <string>

#include "image/adf.h"

namespace moswit {

struct RangeEntry {
  std::string Label;       // "@" + FirstByte + "-" + LastByte, eight hex digits each
  uint32_t FirstByte = 0;  // offset of the first byte in the image
  uint32_t LastByte = 0;   // offset of the last byte, included
  uint32_t Length = 0;     // LastByte - FirstByte + 1
  uint32_t Crc = 0;        // CRC-32 of those Length bytes of the image
};

// "@%08X-%08X" of the two offsets.
std::string RangeLabel(uint32_t firstByte, uint32_t lastByte);

// The range from the byte offset `start` to the byte offset `end` (both
// included), as the range definition holds them: start block x 512 and end
// block x 512 + 511.
//
// An end before the start is taken the other way round: the range runs
// from the lower block to the higher one, whole blocks, never with a
// negative length. A range reaching past the end of a truncated image
// covers only the bytes the image has: LastByte is the image's last byte,
// and Label, Length and Crc describe exactly those bytes. A range that
// starts at or past the end of the image covers nothing and gives nothing.
std::optional<RangeEntry> MakeRange(const tADF& image, uint32_t start, uint32_t end);

// The ranges of one Inspector in creation order. Entries keep their address
// until they are removed, so list rows may point at them.
class RangeList {
 public:
  using Entries = std::list<RangeEntry>;

  const RangeEntry& Append(RangeEntry entry);
  // False when `entry` is not in this list.
  bool Remove(const RangeEntry* entry);

  size_t Size() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  Entries::const_iterator begin() const { return entries_.begin(); }
  Entries::const_iterator end() const { return entries_.end(); }

 private:
  Entries entries_;
};

}  // namespace moswit
