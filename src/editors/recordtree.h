// SPDX-License-Identifier: GPL-2.0-or-later
// The DID Editor's tree of records as data: one node per game, sorted by its
// text, and under each game its versions and then its disks in list order.
// The window copies texts and icons into its tree view and keeps the nodes
// beside the items, so every item leads back to its record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "database/recordref.h"
#include "database/records.h"

namespace moswit {

// What a node refers to; the value is the node's icon number.
enum class RecordKind : uint8_t { kGame = 0, kVersion = 1, kDisk = 2 };

struct RecordNode {
  RecordKind kind = RecordKind::kGame;
  std::string text;
  GameRecord* game = nullptr;        // the game, or the game holding the version or disk
  VersionRecord* version = nullptr;  // version nodes only
  DiskRecord* disk = nullptr;        // disk nodes only

  int Icon() const { return static_cast<int>(kind); }
  // The record itself, as the editors' bookkeeping names it.
  RecordRef Record() const;
};

struct GameBranch {
  RecordNode node;
  std::vector<RecordNode> children;  // "V#1" ... then "D#1" ...
};

struct TreeCounts {
  uint32_t games = 0;
  uint32_t versions = 0;
  uint32_t disks = 0;
};

struct RecordTree {
  std::vector<GameBranch> games;
  TreeCounts counts;  // as of the fill; a delete leaves them
  std::string stats;  // L_Stats
};

// Where a node sits: a game branch, and a child of it or the game node.
struct NodePosition {
  size_t game = 0;
  std::optional<size_t> child;
  bool operator==(const NodePosition&) const = default;
};

// Builds every text once. The game nodes are sorted with the collation of
// LC_COLLATE (case-sensitive, as strcoll compares), texts that collate alike
// in byte order.
RecordTree FillRecordTree(DatabaseInfo& database);

// "Name (Publisher / 1990)", then " [comment]" when there is one.
std::string GameNodeText(const GameRecord& game);
// "V#n: " and the version tag string, then " (comment)" when there is one.
std::string VersionNodeText(const GameRecord& game, const VersionRecord& version, uint32_t number);
// "D#n: " and the disk's standard name, then " (comment)" when there is one;
// n is the disk's position in its game's disk list.
std::string DiskNodeText(const GameRecord& game, const DiskRecord& disk, uint32_t number);

// "2 games, 3 versions, 4 disks, ~3kb mem used": the estimate counts 156
// bytes per game, 528 per version and 544 per disk, in 32-bit arithmetic.
std::string StatsText(const TreeCounts& counts);

const RecordNode& NodeAt(const RecordTree& tree, const NodePosition& position);

// The first node, in tree order, that refers to `record`.
std::optional<NodePosition> FindRecord(const RecordTree& tree, RecordRef record);

}  // namespace moswit
