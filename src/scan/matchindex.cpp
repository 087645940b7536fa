#include "scan/matchindex.h"

#include <algorithm>
#include <numeric>

#include "database/attributes.h"

namespace moswit {

namespace {

uint64_t Key(uint32_t crc, uint32_t second) { return (static_cast<uint64_t>(crc) << 32) | second; }

bool IsBlockRange(const RangeRecord& range) {
  return !(range.attributes & kAttrExclude) && range.lastByte - range.firstByte == 511u &&
         range.lastByte >= range.firstByte;
}

}  // namespace

void MatchTable::Reserve(size_t count) {
  keys_.reserve(count);
  entries_.reserve(count);
}

void MatchTable::Add(uint32_t crc, uint32_t second, const MatchEntry& entry) {
  keys_.push_back(Key(crc, second));
  entries_.push_back(entry);
}

void MatchTable::Finish() {
  if (std::is_sorted(keys_.begin(), keys_.end())) return;
  std::vector<uint32_t> order(keys_.size());
  std::iota(order.begin(), order.end(), 0u);
  // Stable, so equal keys stay in database order.
  std::stable_sort(order.begin(), order.end(),
                   [this](uint32_t a, uint32_t b) { return keys_[a] < keys_[b]; });
  std::vector<uint64_t> keys(keys_.size());
  std::vector<MatchEntry> entries(entries_.size());
  for (size_t i = 0; i < order.size(); ++i) {
    keys[i] = keys_[order[i]];
    entries[i] = entries_[order[i]];
  }
  keys_ = std::move(keys);
  entries_ = std::move(entries);
}

std::span<const MatchEntry> MatchTable::Find(uint32_t crc, uint32_t second) const {
  const uint64_t key = Key(crc, second);
  auto [first, last] = std::equal_range(keys_.begin(), keys_.end(), key);
  return {entries_.data() + (first - keys_.begin()), static_cast<size_t>(last - first)};
}

size_t MatchTable::MemoryBytes() const {
  return keys_.capacity() * sizeof(uint64_t) + entries_.capacity() * sizeof(MatchEntry);
}

MatchIndexPtr BuildMatchIndex(const DatabaseInfo& database) {
  auto index = std::make_unique<MatchIndex>();
  size_t fileCount = 0;
  size_t blockCount = 0;
  for (const GameRecord& game : database.games) {
    for (const DiskRecord& disk : game.disks) {
      for (const FileRecord& file : disk.files) fileCount += !(file.attributes & kAttrExclude);
      for (const RangeRecord& range : disk.ranges) blockCount += IsBlockRange(range);
    }
  }
  index->files.Reserve(fileCount);
  index->blocks.Reserve(blockCount);
  for (const GameRecord& game : database.games) {
    for (const DiskRecord& disk : game.disks) {
      for (const FileRecord& file : disk.files) {
        if (!(file.attributes & kAttrExclude)) {
          index->files.Add(file.crc32, file.size, {&file, &disk, &game});
        }
      }
      for (const RangeRecord& range : disk.ranges) {
        if (IsBlockRange(range)) index->blocks.Add(range.crc32, range.firstByte, {&range, &disk, &game});
      }
    }
  }
  index->files.Finish();
  index->blocks.Finish();
  return index;
}

void FreeMatchIndex(MatchIndexPtr& index) { index.reset(); }

}  // namespace moswit
