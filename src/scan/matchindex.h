// The identification index over a database: every file record by (CRC-32,
// size) and every single-block range by (CRC-32, first byte), built once per
// scan and read-only while images are identified.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "database/records.h"

namespace moswit {

struct MatchEntry {
  const void* record;  // the FileRecord or RangeRecord
  const DiskRecord* disk;
  const GameRecord* game;
};

// Keys sorted once; equal keys keep database order, so a lookup returns its
// entries in insertion order. Build is O(n log n) and lookups O(log n)
// whatever the order of the records (generated databases often come sorted
// by CRC, which degenerates a plain search tree).
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
  std::vector<uint64_t> keys_;
  std::vector<MatchEntry> entries_;
};

struct MatchIndex {
  MatchTable files;   // files not marked Exclude, by (crc32, size)
  MatchTable blocks;  // 512-byte ranges not marked Exclude, by (crc32, firstByte)
};

using MatchIndexPtr = std::unique_ptr<MatchIndex>;

MatchIndexPtr BuildMatchIndex(const DatabaseInfo& database);
void FreeMatchIndex(MatchIndexPtr& index);

}  // namespace moswit
