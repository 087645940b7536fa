// SPDX-License-Identifier: GPL-2.0-or-later
// The Collection window's tree over a report, apart from its widgets: the
// disks grouped by game in the order of the DID, then the unknown images in
// a group of their own, narrowed by a filter; each row's texts, and what a
// row names (its disks, its image).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "collection/collectionreport.h"

namespace moswit {

// `text` (UTF-8) with the letters Windows-1252 has in two cases (A-Z,
// À-Þ but ×, Š, Œ, Ž, Ÿ) in lower case; every other byte as it is. DID
// names hold no other letters, so comparing folded texts ignores their case.
std::string FoldedText(std::string_view text);

// The colour of a state's mark, 0xRRGGBB: green, amber, red; grey for an
// unknown image.
uint32_t StatusColour(DiskStatus status);
constexpr uint32_t kUnknownColour = 0x8C8C8C;

struct CollectionFilter {
  std::string text;          // UTF-8; empty shows every row
  bool onlyMissing = false;  // with onlyPartial: the disks of either state
  bool onlyPartial = false;

  bool Narrows() const { return !text.empty() || onlyMissing || onlyPartial; }
};

// A game's state over all its disks: have or missing when every disk is,
// otherwise partial.
DiskStatus GroupStatus(const std::vector<DiskEntry>& disks, size_t first, size_t end);

struct CollectionGroup {
  const GameRecord* game = nullptr;  // none: the unknown images
  size_t first = 0;                  // its disks in the report, [first, end)
  size_t end = 0;
  DiskStatus status = DiskStatus::kMissing;  // GroupStatus
  size_t have = 0;
  size_t partial = 0;
  std::vector<size_t> shown;  // report disks, or for the unknown group images
};

// A row of the tree: a group, or item `item` of its shown rows.
constexpr size_t kGroupRow = SIZE_MAX;
struct TreeRow {
  size_t group = 0;
  size_t item = kGroupRow;
  friend bool operator==(const TreeRow&, const TreeRow&) = default;
};

// The texts of a row's columns: `name` holds DID bytes (Windows-1252),
// `image` and `codes` path texts (a reason can name a file), the others
// ASCII.
struct CollectionCells {
  std::string name;
  std::string state;
  std::string image;
  std::string accuracy;
  std::string codes;
  uint32_t colour = 0;  // of the state's mark, 0xRRGGBB
};

constexpr char kUnknownGroupName[] = "Unknown images";
constexpr char kUnknownWord[] = "unknown";
constexpr char kUnidentifiedName[] = "<unidentified>";
constexpr char kUnreadableName[] = "<unreadable>";

class CollectionTree {
 public:
  // Every row shown; `report` must outlive the tree.
  explicit CollectionTree(const CollectionReport& report);

  // Shows the disks whose standard name or best image contains the
  // filter's text (case ignored as FoldedText does) and that are in the
  // states asked for, and the unknown images whose path contains it when
  // no state is asked for. Groups with nothing shown are left out.
  void Filter(const CollectionFilter& filter);

  // The groups with something shown, games in the DID's order, then the
  // unknown images.
  const std::vector<CollectionGroup>& Groups() const { return shown_; }
  const CollectionReport& Report() const { return report_; }
  bool IsUnknownGroup(size_t group) const { return shown_[group].game == nullptr; }

  size_t ShownDisks() const { return shownDisks_; }
  size_t ShownUnknown() const { return shownUnknown_; }
  // Whether the last filter narrows (CollectionFilter::Narrows).
  bool Narrowed() const { return narrowed_; }

  CollectionCells Cells(const TreeRow& row) const;

  // The image a row's double-click opens: a disk's best image, or an
  // unknown image that could be read; none for a group or a missing disk.
  const ImageOutcome* Image(const TreeRow& row) const;

  // The standard names (DID bytes) of the disks of `rows`, each ended by
  // "\n", in the tree's order and each once: a disk row names its disk, a
  // game row its shown disks, the unknown images none.
  std::string Names(const std::vector<TreeRow>& rows) const;

 private:
  const CollectionReport& report_;
  std::vector<CollectionGroup> groups_;  // every game, then the unknown group
  std::vector<std::string> diskKeys_;    // folded name and best image per disk
  std::vector<std::string> unknownKeys_;
  std::vector<CollectionGroup> shown_;
  size_t shownDisks_ = 0;
  size_t shownUnknown_ = 0;
  bool narrowed_ = false;
};

// The status line: the report's summary, and when a filter narrows the
// tree, "; shown: N disks, M unknown images".
std::string CollectionStatus(const CollectionTree& tree);

}  // namespace moswit
