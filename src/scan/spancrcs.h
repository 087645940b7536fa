// SPDX-License-Identifier: GPL-2.0-or-later
// The CRC-32 of an image's bytes over a range, combined from the CRCs of the
// whole blocks it holds and the few bytes before and after them, so a long
// range costs no second read of its bytes; and the CRCs of the index's spans
// that lie within an image, each taken once per image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/adf.h"
#include "image/blockcrcs.h"
#include "scan/matchindex.h"

namespace moswit {

// The CRC-32 of bytes first..last (first <= last < image size): from the
// block CRCs of `crcs` (which cover the image) where it holds whole blocks,
// over the bytes where it does not; without `crcs`, over all its bytes.
uint32_t RangeCrc(const tADF& image, uint32_t first, uint32_t last, const BlockCrcs* crcs);

class SpanCrcs {
 public:
  // Takes the CRC of every span of `table` that lies within `image` (its
  // last byte below the image's size), as RangeCrc gives it. Spans that
  // start at one byte share one run over their blocks, read out at each end.
  void Take(const tADF& image, const SpanTable& table, const BlockCrcs* crcs);

  // Whether span `span` (an index into the table's Spans) lies within the
  // image, and its CRC.
  bool Within(size_t span) const { return span < within_.size() && within_[span] != 0; }
  uint32_t Crc(size_t span) const { return crcs_[span]; }
  // The CRC of bytes first..last, when that is a span taken.
  bool Find(uint32_t first, uint32_t last, uint32_t& crc) const;

 private:
  const SpanTable* table_ = nullptr;
  std::vector<uint32_t> crcs_;
  std::vector<uint8_t> within_;
};

}  // namespace moswit
