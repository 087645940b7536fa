// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/matchindex.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <numeric>
#include <queue>
#include <tuple>
#include <unordered_map>

#include "database/attributes.h"
#include "image/adf.h"
#include "image/crc32.h"

namespace moswit {

namespace {

uint64_t Key(uint32_t crc, uint32_t second) { return (static_cast<uint64_t>(crc) << 32) | second; }

bool IsBlockRange(const RangeRecord& range) {
  return !(range.attributes & kAttrExclude) && range.lastByte - range.firstByte == 511u &&
         range.lastByte >= range.firstByte;
}

// A range of more than one block that an image can hold.
bool IsSpanRange(const RangeRecord& range) {
  return !(range.attributes & kAttrExclude) && range.lastByte >= range.firstByte &&
         range.lastByte - range.firstByte >= kBlockSize && range.lastByte < kMaxImageSize;
}

// The CRC-32s of runs of one repeated byte, per run length. Such a range (a
// blank or formatted track, as mkdid records beside the others of a disk
// without files) holds nothing that tells one disk from another: every
// image with such a run there would nominate every such disk, and a disk of
// mostly blank tracks would score 500 and more on any mostly blank image. So
// it never nominates; it still counts when its disk is scored.
class UniformRuns {
 public:
  bool Holds(uint32_t crc, uint64_t length) {
    auto [at, isNew] = crcs_.try_emplace(length);
    if (isNew) at->second = AllValues(length);
    return std::binary_search(at->second.begin(), at->second.end(), crc);
  }

 private:
  // The CRC of `length` bytes of `value`: a run of 2k bytes is two of k.
  static uint32_t RunCrc(uint8_t value, uint64_t length) {
    uint32_t crc = 0;  // of no bytes
    uint32_t piece = Crc32(std::span<const uint8_t>(&value, 1));
    uint64_t pieceLength = 1;
    for (; length != 0; length >>= 1) {
      if (length & 1) crc = CrcCombine(crc, piece, pieceLength);
      if (length > 1) {
        piece = CrcCombine(piece, piece, pieceLength);
        pieceLength *= 2;
      }
    }
    return crc;
  }

  // The CRC is affine in the bytes: the run of a value is the run of zeros
  // changed by the runs of each of its bits, so nine runs give all 256.
  static std::array<uint32_t, 256> AllValues(uint64_t length) {
    const uint32_t zeros = RunCrc(0, length);
    std::array<uint32_t, 8> bits{};
    for (unsigned bit = 0; bit < 8; ++bit) {
      bits[bit] = RunCrc(static_cast<uint8_t>(1u << bit), length) ^ zeros;
    }
    std::array<uint32_t, 256> crcs{};
    for (unsigned value = 0; value < 256; ++value) {
      crcs[value] = zeros;
      for (unsigned bit = 0; bit < 8; ++bit) {
        if (value & (1u << bit)) crcs[value] ^= bits[bit];
      }
    }
    std::sort(crcs.begin(), crcs.end());
    return crcs;
  }

  std::unordered_map<uint64_t, std::array<uint32_t, 256>> crcs_;
};

// MatchIndex::wholeBlocksFrom: per block, the least of the values of the
// positions and spans that need it whole.
std::vector<uint32_t> WholeBlocksFrom(const BlockTable& blocks, const SpanTable& spans) {
  constexpr uint32_t kNever = std::numeric_limits<uint32_t>::max();
  struct Run {
    uint32_t begin;  // the span's first whole block
    uint32_t end;    // past its last whole block
    uint32_t from;   // the image size from which the span lies within it
  };
  std::vector<Run> runs;
  uint32_t positions = blocks.PositionCount();
  for (const SpanTable::Span& span : spans.Spans()) {
    const uint32_t begin = (span.first + kBlockSize - 1) / kBlockSize;
    const uint32_t end = (span.last + 1) / kBlockSize;
    if (begin >= end) continue;
    runs.push_back({begin, end, span.last + 1});
    positions = std::max(positions, end);
  }
  std::vector<uint32_t> from(positions, kNever);
  // One sweep over the positions with the runs that hold each, the one
  // needed first on top; spans come by first byte, so runs by begin.
  const auto later = [](const Run& a, const Run& b) { return a.from > b.from; };
  std::priority_queue<Run, std::vector<Run>, decltype(later)> open(later);
  size_t next = 0;
  for (uint32_t b = 0; b < positions; ++b) {
    for (; next < runs.size() && runs[next].begin == b; ++next) open.push(runs[next]);
    while (!open.empty() && open.top().end <= b) open.pop();
    // A run that ended below the top still waits in the queue; only the
    // top's value counts, and it is popped once it ends.
    if (!open.empty()) from[b] = open.top().from;
    if (blocks.AnyAt(b)) from[b] = 0;
  }
  return from;
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
  // About one bucket per key, at most 2^22 of them.
  bucketBits_ = std::min(22u, static_cast<unsigned>(std::bit_width(keys_.size())));
  const size_t buckets = size_t{1} << bucketBits_;
  bucketStart_.assign(buckets + 1, 0);
  for (uint64_t key : keys_) ++bucketStart_[Bucket(key) + 1];
  for (size_t b = 0; b < buckets; ++b) bucketStart_[b + 1] += bucketStart_[b];
  if (!std::is_sorted(keys_.begin(), keys_.end())) SortByKey();
}

size_t MatchTable::Bucket(uint64_t key) const {
  return bucketBits_ == 0 ? 0 : static_cast<size_t>(key >> (64 - bucketBits_));
}

// One stable pass puts every key into its bucket (a run of leading bits),
// then each bucket, a key or two on average, is sorted on its own: linear
// in the number of keys, and stable, so equal keys stay in database order.
void MatchTable::SortByKey() {
  const size_t buckets = bucketStart_.size() - 1;
  std::vector<uint32_t> next(bucketStart_.begin(), bucketStart_.end() - 1);
  std::vector<uint64_t> keys(keys_.size());
  std::vector<MatchEntry> entries(entries_.size());
  for (size_t i = 0; i < keys_.size(); ++i) {
    const uint32_t at = next[Bucket(keys_[i])]++;
    keys[at] = keys_[i];
    entries[at] = entries_[i];
  }
  keys_ = std::move(keys);
  entries_ = std::move(entries);

  constexpr size_t kInsertionMost = 32;
  std::vector<uint32_t> order;
  for (size_t b = 0; b < buckets; ++b) {
    const size_t first = bucketStart_[b];
    const size_t last = bucketStart_[b + 1];
    if (last - first <= kInsertionMost) {
      for (size_t i = first + 1; i < last; ++i) {
        const uint64_t key = keys_[i];
        const MatchEntry entry = entries_[i];
        size_t j = i;
        for (; j > first && key < keys_[j - 1]; --j) {
          keys_[j] = keys_[j - 1];
          entries_[j] = entries_[j - 1];
        }
        keys_[j] = key;
        entries_[j] = entry;
      }
      continue;
    }
    // A crowded bucket (many keys sharing their leading bits).
    order.resize(last - first);
    std::iota(order.begin(), order.end(), static_cast<uint32_t>(first));
    std::stable_sort(order.begin(), order.end(),
                     [this](uint32_t a, uint32_t c) { return keys_[a] < keys_[c]; });
    std::vector<uint64_t> sortedKeys(order.size());
    std::vector<MatchEntry> sortedEntries(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
      sortedKeys[i] = keys_[order[i]];
      sortedEntries[i] = entries_[order[i]];
    }
    std::copy(sortedKeys.begin(), sortedKeys.end(), keys_.begin() + static_cast<ptrdiff_t>(first));
    std::copy(sortedEntries.begin(), sortedEntries.end(),
              entries_.begin() + static_cast<ptrdiff_t>(first));
  }
}

std::span<const MatchEntry> MatchTable::Find(uint32_t crc, uint32_t second) const {
  if (keys_.empty()) return {};
  const uint64_t key = Key(crc, second);
  const size_t bucket = Bucket(key);
  const auto begin = keys_.begin() + bucketStart_[bucket];
  const auto end = keys_.begin() + bucketStart_[bucket + 1];
  auto [first, last] = std::equal_range(begin, end, key);
  return {entries_.data() + (first - keys_.begin()), static_cast<size_t>(last - first)};
}

size_t MatchTable::MemoryBytes() const {
  return keys_.capacity() * sizeof(uint64_t) + entries_.capacity() * sizeof(MatchEntry) +
         bucketStart_.capacity() * sizeof(uint32_t);
}

MatchIndexPtr BuildMatchIndex(const DatabaseInfo& database) {
  auto index = std::make_unique<MatchIndex>();
  // Room for every record, counted without touching the records: the one
  // pass below is what a large database's build costs.
  size_t fileCount = 0;
  size_t blockCount = 0;
  for (const GameRecord& game : database.games) {
    for (const DiskRecord& disk : game.disks) {
      fileCount += disk.files.Size();
      blockCount += disk.ranges.Size();
    }
  }
  index->files.Reserve(fileCount);
  index->blocks.Reserve(blockCount);
  index->spans.Reserve(blockCount);
  UniformRuns uniform;
  for (const GameRecord& game : database.games) {
    for (const DiskRecord& disk : game.disks) {
      for (const FileRecord& file : disk.files) {
        if (!(file.attributes & kAttrExclude)) {
          index->files.Add(file.crc32, file.size, {&file, &disk, &game});
        }
      }
      for (const RangeRecord& range : disk.ranges) {
        if (IsBlockRange(range)) {
          index->blocks.Add(range.crc32, range.firstByte, {&range, &disk, &game});
        } else if (IsSpanRange(range) &&
                   !uniform.Holds(range.crc32, uint64_t{range.lastByte} - range.firstByte + 1)) {
          index->spans.Add(range.crc32, range.firstByte, range.lastByte, {&range, &disk, &game});
        }
      }
    }
  }
  index->files.Finish();
  index->blocks.Finish();
  index->spans.Finish();
  index->wholeBlocksFrom = WholeBlocksFrom(index->blocks, index->spans);
  return index;
}

void BlockTable::Reserve(size_t count) { pending_.reserve(count); }

void BlockTable::Add(uint32_t crc, uint32_t firstByte, const MatchEntry& entry) {
  const uint32_t block = firstByte / kBlockSize;
  if (firstByte % kBlockSize != 0 || block >= kMaxImageSize / kBlockSize) return;
  pending_.push_back({block, crc, entry});
}

void BlockTable::Finish() {
  // Stable, so equal keys stay in database order.
  std::stable_sort(pending_.begin(), pending_.end(), [](const Pending& a, const Pending& b) {
    return a.block != b.block ? a.block < b.block : a.crc < b.crc;
  });
  const uint32_t positions = pending_.empty() ? 0 : pending_.back().block + 1;
  starts_.assign(positions + 1, 0);
  crcs_.reserve(pending_.size());
  entries_.reserve(pending_.size());
  size_t at = 0;
  for (uint32_t b = 0; b < positions; ++b) {
    starts_[b] = static_cast<uint32_t>(at);
    for (; at < pending_.size() && pending_[at].block == b; ++at) {
      crcs_.push_back(pending_[at].crc);
      entries_.push_back(pending_[at].entry);
    }
  }
  if (positions > 0) starts_[positions] = static_cast<uint32_t>(at);
  pending_.clear();
  pending_.shrink_to_fit();
}

std::span<const MatchEntry> BlockTable::Find(uint32_t crc, uint32_t firstByte) const {
  const uint32_t block = firstByte / kBlockSize;
  if (firstByte % kBlockSize != 0 || !AnyAt(block)) return {};
  const uint32_t* begin = crcs_.data() + starts_[block];
  const uint32_t* end = crcs_.data() + starts_[block + 1];
  // A position holds a few ranges: counting beats a search's branches,
  // which mispredict on the misses most lookups are.
  constexpr ptrdiff_t kCounted = 16;
  const uint32_t* first;
  const uint32_t* last;
  if (end - begin <= kCounted) {
    first = begin + std::count_if(begin, end, [crc](uint32_t c) { return c < crc; });
    last = first + std::count(first, end, crc);
  } else {
    std::tie(first, last) = std::equal_range(begin, end, crc);
  }
  return {entries_.data() + (first - crcs_.data()), static_cast<size_t>(last - first)};
}

size_t BlockTable::MemoryBytes() const {
  return starts_.capacity() * sizeof(uint32_t) + crcs_.capacity() * sizeof(uint32_t) +
         entries_.capacity() * sizeof(MatchEntry);
}

void SpanTable::Reserve(size_t count) { pending_.reserve(count); }

void SpanTable::Add(uint32_t crc, uint32_t first, uint32_t last, const MatchEntry& entry) {
  pending_.push_back({{first, last}, crc, entry});
}

namespace {

bool Before(const SpanTable::Span& a, const SpanTable::Span& b) {
  return a.first != b.first ? a.first < b.first : a.last < b.last;
}

}  // namespace

void SpanTable::Finish() {
  spans_.clear();
  spans_.reserve(pending_.size());
  for (const Pending& p : pending_) spans_.push_back(p.span);
  std::sort(spans_.begin(), spans_.end(), Before);
  spans_.erase(std::unique(spans_.begin(), spans_.end(),
                           [](const Span& a, const Span& b) {
                             return a.first == b.first && a.last == b.last;
                           }),
               spans_.end());
  spans_.shrink_to_fit();
  // In database order, so equal keys keep it.
  byCrc_.Reserve(pending_.size());
  for (const Pending& p : pending_) {
    byCrc_.Add(p.crc, static_cast<uint32_t>(IndexOf(p.span.first, p.span.last)), p.entry);
  }
  byCrc_.Finish();
  pending_.clear();
  pending_.shrink_to_fit();
}

ptrdiff_t SpanTable::IndexOf(uint32_t first, uint32_t last) const {
  const Span span{first, last};
  const auto at = std::lower_bound(spans_.begin(), spans_.end(), span, Before);
  if (at == spans_.end() || at->first != first || at->last != last) return -1;
  return at - spans_.begin();
}

size_t SpanTable::MemoryBytes() const {
  return spans_.capacity() * sizeof(Span) + byCrc_.MemoryBytes();
}

void FreeMatchIndex(MatchIndexPtr& index) { index.reset(); }

}  // namespace moswit
