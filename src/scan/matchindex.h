// SPDX-License-Identifier: GPL-2.0-or-later
// The identification index over a database: every file record by (CRC-32,
// size), every single-block range by (CRC-32, first byte) and every longer
// range by (span, CRC-32), built once per scan and read-only while images
// are identified.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "database/recordref.h"
#include "database/records.h"

namespace moswit {

struct MatchEntry {
  RecordRef record;  // the FileRecord or RangeRecord
  const DiskRecord* disk;
  const GameRecord* game;
};

// Keys sorted once; equal keys keep database order, so a lookup returns its
// entries in insertion order. Build is O(n log n) and lookups O(log n)
// whatever the order of the records (generated databases often come sorted
// by CRC, which degenerates a plain search tree). A table of where each run
// of leading CRC bits starts narrows a lookup to a few keys, so the misses
// that make up most lookups cost one or two probes.
class MatchTable {
 public:
  void Reserve(size_t count);
  void Add(uint32_t crc, uint32_t second, const MatchEntry& entry);
  void Finish();

  std::span<const MatchEntry> Find(uint32_t crc, uint32_t second) const;
  size_t Size() const { return keys_.size(); }
  bool Empty() const { return keys_.empty(); }
  size_t MemoryBytes() const;

 private:
  size_t Bucket(uint64_t key) const;
  void SortByKey();

  std::vector<uint64_t> keys_;
  std::vector<MatchEntry> entries_;
  std::vector<uint32_t> bucketStart_;  // 2^bucketBits_ + 1 positions into keys_
  unsigned bucketBits_ = 0;
};

// Single-block ranges by block position, then CRC. Images are looked up
// block by block in ascending order, so this walks the table front to back;
// a position without ranges needs no CRC at all. Ranges that do not start on
// a block boundary, or start past the largest image, can never meet a block
// and are left out.
class BlockTable {
 public:
  void Reserve(size_t count);
  void Add(uint32_t crc, uint32_t firstByte, const MatchEntry& entry);
  void Finish();

  bool AnyAt(uint32_t block) const {
    return block + 1 < starts_.size() && starts_[block] != starts_[block + 1];
  }
  // Past the last block position that holds ranges.
  uint32_t PositionCount() const {
    return starts_.empty() ? 0 : static_cast<uint32_t>(starts_.size() - 1);
  }
  std::span<const MatchEntry> Find(uint32_t crc, uint32_t firstByte) const;
  size_t Size() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  size_t MemoryBytes() const;

 private:
  struct Pending {
    uint32_t block;
    uint32_t crc;
    MatchEntry entry;
  };
  std::vector<Pending> pending_;  // until Finish
  std::vector<uint32_t> starts_;  // per block position, into crcs_ and entries_
  std::vector<uint32_t> crcs_;
  std::vector<MatchEntry> entries_;
};

// Ranges of more than one block by their span (first and last byte), then
// CRC. Many ranges share a span (every disk known by its whole image has
// 0..size-1), so an image needs each distinct span's CRC once, looked up
// among that span's ranges.
class SpanTable {
 public:
  struct Span {
    uint32_t first;
    uint32_t last;
  };

  void Reserve(size_t count);
  void Add(uint32_t crc, uint32_t first, uint32_t last, const MatchEntry& entry);
  void Finish();

  // Distinct, by first byte, then last byte.
  std::span<const Span> Spans() const { return spans_; }
  // The ranges of span `span` (an index into Spans) with that CRC.
  std::span<const MatchEntry> Find(uint32_t crc, size_t span) const {
    return byCrc_.Find(crc, static_cast<uint32_t>(span));
  }
  // The index of the span first..last in Spans, or -1.
  ptrdiff_t IndexOf(uint32_t first, uint32_t last) const;
  size_t Size() const { return byCrc_.Size(); }
  bool Empty() const { return byCrc_.Empty(); }
  size_t MemoryBytes() const;

 private:
  struct Pending {
    Span span;
    uint32_t crc;
    MatchEntry entry;
  };
  std::vector<Pending> pending_;  // until Finish
  std::vector<Span> spans_;
  MatchTable byCrc_;  // by (crc32, index into spans_)
};

struct MatchIndex {
  MatchTable files;   // files not marked Exclude, by (crc32, size)
  BlockTable blocks;  // 512-byte ranges not marked Exclude, by (crc32, firstByte)
  SpanTable spans;    // longer ranges not marked Exclude, by (span, crc32)
  // Per block position, the least image size from which identification
  // needs the CRC of the whole block: 0 where single-block ranges lie, the
  // end of the shortest span that holds the block whole, UINT32_MAX where
  // neither (files' blocks are CRC'd as the files are read). Positions past
  // the end are never needed.
  std::vector<uint32_t> wholeBlocksFrom;
};

using MatchIndexPtr = std::unique_ptr<MatchIndex>;

MatchIndexPtr BuildMatchIndex(const DatabaseInfo& database);
void FreeMatchIndex(MatchIndexPtr& index);

}  // namespace moswit
