// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/spancrcs.h"

#include "image/crc32.h"

namespace moswit {

namespace {

uint32_t BytesCrc(const tADF& image, uint32_t first, uint32_t last) {
  return Crc32({image.Data.data() + first, size_t{last} - first + 1});
}

// A range's whole blocks: from `begin` to before `end`; none when begin >= end.
uint32_t FirstWholeBlock(uint32_t first) {
  return static_cast<uint32_t>((uint64_t{first} + kBlockSize - 1) / kBlockSize);
}
uint32_t EndOfWholeBlocks(uint32_t last) {
  return static_cast<uint32_t>((uint64_t{last} + 1) / kBlockSize);
}

// The CRC of bytes first..last from `blocks`, that of its whole blocks
// begin..end-1, and `head`, that of the bytes before them (if any).
uint32_t Joined(const tADF& image, uint32_t first, uint32_t last, uint32_t head, uint32_t blocks,
                uint32_t begin, uint32_t end) {
  const uint64_t wholeStart = uint64_t{begin} * kBlockSize;
  const uint64_t wholeEnd = uint64_t{end} * kBlockSize;
  uint32_t crc = first < wholeStart ? CrcCombine(head, blocks, wholeEnd - wholeStart) : blocks;
  if (last + uint64_t{1} > wholeEnd) {
    uint32_t raw = ~crc;  // the register goes on over the tail
    CrcUpdate(raw, image.Data.data() + wholeEnd, last + 1 - wholeEnd);
    crc = ~raw;
  }
  return crc;
}

}  // namespace

uint32_t RangeCrc(const tADF& image, uint32_t first, uint32_t last, const BlockCrcs* crcs) {
  const uint32_t begin = FirstWholeBlock(first);
  const uint32_t end = EndOfWholeBlocks(last);
  if (!crcs || begin >= end) return BytesCrc(image, first, last);
  CrcRun run(kCrcShift512, kCrcShift2048);
  for (uint32_t b = begin; b < end; ++b) run.Add(crcs->Crc(b));
  const uint32_t head =
      first < begin * kBlockSize ? BytesCrc(image, first, begin * kBlockSize - 1) : 0;
  return Joined(image, first, last, head, run.Crc(), begin, end);
}

void SpanCrcs::Take(const tADF& image, const SpanTable& table, const BlockCrcs* crcs) {
  table_ = &table;
  const auto spans = table.Spans();
  crcs_.assign(spans.size(), 0);
  within_.assign(spans.size(), 0);
  for (size_t i = 0; i < spans.size();) {
    // The spans from one first byte, by last byte.
    const uint32_t first = spans[i].first;
    size_t group = i;
    while (group < spans.size() && spans[group].first == first) ++group;
    const uint32_t begin = FirstWholeBlock(first);
    CrcRun run(kCrcShift512, kCrcShift2048);
    uint32_t added = begin;  // the next block the run takes
    bool headTaken = false;
    uint32_t head = 0;
    for (; i < group; ++i) {
      const uint32_t last = spans[i].last;
      if (last >= image.Size) continue;
      within_[i] = 1;
      const uint32_t end = EndOfWholeBlocks(last);
      if (!crcs || begin >= end) {
        crcs_[i] = BytesCrc(image, first, last);
        continue;
      }
      for (; added < end; ++added) run.Add(crcs->Crc(added));
      if (!headTaken && first < begin * kBlockSize) {
        head = BytesCrc(image, first, begin * kBlockSize - 1);
        headTaken = true;
      }
      crcs_[i] = Joined(image, first, last, head, run.Crc(), begin, end);
    }
  }
}

bool SpanCrcs::Find(uint32_t first, uint32_t last, uint32_t& crc) const {
  if (!table_) return false;
  const ptrdiff_t span = table_->IndexOf(first, last);
  if (span < 0 || !Within(static_cast<size_t>(span))) return false;
  crc = crcs_[static_cast<size_t>(span)];
  return true;
}

}  // namespace moswit
