// SPDX-License-Identifier: GPL-2.0-or-later
// The in-memory database: one DatabaseInfo, its games, and under each game
// its versions and disks; under each disk its files and block ranges.
//
// Lists keep insertion order and every record stays at its address until it
// is unlinked, so editors may hold pointers to records while others are
// appended or deleted. Disposing a record disposes everything below it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "database/attributes.h"
#include "database/recordtext.h"

namespace moswit {

// An ordered list that owns its records; positions are one-based where the
// database speaks of them (disk positions in a DiskOrder).
template <typename T>
class RecordList {
 public:
  class Iterator {
   public:
    using Inner = typename std::vector<std::unique_ptr<T>>::const_iterator;
    using difference_type = std::ptrdiff_t;
    using value_type = T;
    Iterator() = default;
    explicit Iterator(Inner inner) : inner_(inner) {}
    T& operator*() const { return **inner_; }
    T* operator->() const { return inner_->get(); }
    Iterator& operator++() {
      ++inner_;
      return *this;
    }
    Iterator operator++(int) {
      Iterator old = *this;
      ++inner_;
      return old;
    }
    bool operator==(const Iterator&) const = default;

   private:
    Inner inner_{};
  };

  // A zero-filled record at the end of the list.
  T& Append() {
    items_.push_back(std::make_unique<T>());
    return *items_.back();
  }

  size_t Size() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  // Zero-based.
  T& operator[](size_t index) const { return *items_[index]; }
  // One-based; null when the position names no record.
  T* AtPosition(size_t position) const {
    return position >= 1 && position <= items_.size() ? items_[position - 1].get() : nullptr;
  }
  // One-based; 0 when the record is not in this list.
  size_t PositionOf(const T* record) const {
    for (size_t i = 0; i < items_.size(); ++i) {
      if (items_[i].get() == record) return i + 1;
    }
    return 0;
  }

  // Takes the record out of the list, which closes over the gap; null when
  // it is not a member.
  std::unique_ptr<T> Unlink(const T* record) {
    for (auto it = items_.begin(); it != items_.end(); ++it) {
      if (it->get() != record) continue;
      std::unique_ptr<T> owned = std::move(*it);
      items_.erase(it);
      return owned;
    }
    return nullptr;
  }
  // Unlinks the record and frees it with everything it owns.
  bool Dispose(const T* record) { return Unlink(record) != nullptr; }

  Iterator begin() const { return Iterator(items_.begin()); }
  Iterator end() const { return Iterator(items_.end()); }

  friend bool operator==(const RecordList& a, const RecordList& b) {
    if (a.items_.size() != b.items_.size()) return false;
    for (size_t i = 0; i < a.items_.size(); ++i) {
      if (!(*a.items_[i] == *b.items_[i])) return false;
    }
    return true;
  }

 private:
  std::vector<std::unique_ptr<T>> items_;
};

// 0 in any part means that part is unknown; year 0 means the date is unknown.
struct ReleaseDate {
  uint16_t year = 0;
  uint8_t month = 0;
  uint8_t day = 0;
  bool operator==(const ReleaseDate&) const = default;
};

// Entries are one-based positions in the game's disk list; the version's
// disks are the entries before the first 0.
using DiskOrder = std::array<uint8_t, 256>;

// Emulation compatibility; see database/attributes.h for the packed bits.
struct CompatInfo {
  uint16_t cpu = 0;
  uint8_t chipsetEmulation = 0;
  uint16_t floppy = 0;
  uint8_t graphicsChipset = 0;
  uint8_t specialMemory = 0;
  uint16_t specialChipKb = 0;
  uint16_t specialSlowKb = 0;
  uint16_t specialFastKb = 0;
  uint16_t kickstart = 0;
  uint16_t specialSettings = 0;
  uint32_t winFellow = 0;
  uint32_t winUae = 0;
  bool operator==(const CompatInfo&) const = default;
};

// The values a version created in the editor starts with.
CompatInfo DefaultCompatInfo();

struct FileRecord {
  RecordText path;  // "/s/startup-sequence"; may hold "?" and "*"
  uint32_t size = 0;
  uint32_t crc32 = 0;
  AttributeFlags attributes = 0;
  RecordText description;
  bool operator==(const FileRecord&) const = default;
};

struct RangeRecord {
  uint32_t firstByte = 0;
  uint32_t lastByte = 0;  // inclusive
  uint32_t crc32 = 0;
  AttributeFlags attributes = 0;
  RecordText description;
  bool operator==(const RangeRecord&) const = default;
};

struct DiskRecord {
  RecordText name;  // the volume name
  RecordText comment;
  uint8_t nameMustMatch = 0;  // 1: identification insists on the name
  RecordList<FileRecord> files;
  RecordList<RangeRecord> ranges;
  bool operator==(const DiskRecord&) const = default;
};

struct VersionRecord {
  ChipsetKind chipset = 0;
  ReleaseDate releaseDate;
  RecordText gameName;
  RecordText design;
  RecordText publisher;
  RecordText developer;
  RecordText music;
  RecordText soundFx;
  RecordText graphics;
  RecordText code;
  uint8_t parentVersion = 0;  // held in memory only, never written
  RecordText versionName;
  RecordText comment;
  RecordText protection;
  RecordText crackedBy;
  RecordText releasedBy;
  FixFlags fixes = 0;
  RecordText fixedBy;
  TrainerCounts trainer = 0;
  RecordText trainedBy;
  RecordText modification;
  RecordText modifiedBy;
  uint16_t memChip = 0;
  uint16_t memSlow = 0;
  uint16_t memFast = 0;
  LanguageFlags languages = 0;
  DiskOrder diskOrder{};
  CompatInfo compat;
  bool operator==(const VersionRecord&) const = default;
};

struct GameRecord {
  RecordText name;
  ReleaseDate releaseDate;
  RecordText publisher;
  RecordText developer;
  RecordText music;
  RecordText soundFx;
  RecordText graphics;
  RecordText code;
  RecordText design;
  RecordText comment;
  RecordList<VersionRecord> versions;
  RecordList<DiskRecord> disks;
  bool operator==(const GameRecord&) const = default;
};

struct DatabaseInfo {
  RecordText name;
  RecordText creator;
  ReleaseDate date;
  RecordList<GameRecord> games;
  bool operator==(const DatabaseInfo&) const = default;
};

// A new database as the editor creates it: name "New Database [path]"
// (the path, a UTF-8 file name, in Windows-1252), creator "New Creator",
// date 0, no games.
std::unique_ptr<DatabaseInfo> CreateDatabase(std::string_view didPath);

// Append a record with the editor's creation defaults at the end of its list.
GameRecord& AppendGame(DatabaseInfo& database);
VersionRecord& AppendVersion(GameRecord& game);
DiskRecord& AppendDisk(GameRecord& game);
FileRecord& AppendFile(DiskRecord& disk);
RangeRecord& AppendRange(DiskRecord& disk);

// Number of DiskOrder entries before the first 0.
size_t DiskCount(const DiskOrder& order);

}  // namespace moswit
