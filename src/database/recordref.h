// SPDX-License-Identifier: GPL-2.0-or-later
// A reference to one record of a database, of any kind below the info
// record, that compares equal exactly when it names the same record: what
// the editors' bookkeeping and the identification index name records by.
// One pointer wide; the kind travels in the low bits, which every record's
// alignment leaves free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "database/records.h"

namespace moswit {

class RecordRef {
 public:
  enum class Kind : uint8_t { kNone, kGame, kVersion, kDisk, kFile, kRange };

  constexpr RecordRef() = default;
  constexpr RecordRef(std::nullptr_t) {}
  // A null pointer gives the empty reference.
  RecordRef(const GameRecord* record) : bits_(Bits(record)) {}
  RecordRef(const VersionRecord* record) : bits_(Bits(record)) {}
  RecordRef(const DiskRecord* record) : bits_(Bits(record)) {}
  RecordRef(const FileRecord* record) : bits_(Bits(record)) {}
  RecordRef(const RangeRecord* record) : bits_(Bits(record)) {}

  Kind GetKind() const { return static_cast<Kind>(bits_ & kKindMask); }
  bool Empty() const { return bits_ == 0; }

  // The record when it is of kind `Record`; null otherwise.
  template <typename Record>
  const Record* As() const {
    if (GetKind() != KindOf(static_cast<const Record*>(nullptr))) return nullptr;
    return reinterpret_cast<const Record*>(bits_ & ~kKindMask);
  }

  bool operator==(const RecordRef&) const = default;
  size_t Hash() const { return std::hash<uintptr_t>{}(bits_); }

 private:
  static constexpr uintptr_t kKindMask = 7;
  static_assert(alignof(GameRecord) > kKindMask && alignof(VersionRecord) > kKindMask &&
                alignof(DiskRecord) > kKindMask && alignof(FileRecord) > kKindMask &&
                alignof(RangeRecord) > kKindMask);

  static constexpr Kind KindOf(const GameRecord*) { return Kind::kGame; }
  static constexpr Kind KindOf(const VersionRecord*) { return Kind::kVersion; }
  static constexpr Kind KindOf(const DiskRecord*) { return Kind::kDisk; }
  static constexpr Kind KindOf(const FileRecord*) { return Kind::kFile; }
  static constexpr Kind KindOf(const RangeRecord*) { return Kind::kRange; }

  template <typename Record>
  static uintptr_t Bits(const Record* record) {
    if (record == nullptr) return 0;
    return reinterpret_cast<uintptr_t>(record) | static_cast<uintptr_t>(KindOf(record));
  }

  uintptr_t bits_ = 0;
};

}  // namespace moswit

template <>
struct std::hash<moswit::RecordRef> {
  size_t operator()(const moswit::RecordRef& ref) const { return ref.Hash(); }
};
