// SPDX-License-Identifier: GPL-2.0-or-later
#include "collection/collectiontree.h"

#include <algorithm>

#include "base/codepage.h"
#include "base/numbertext.h"

namespace moswit {

namespace {

char32_t FoldedLetter(char32_t letter) {
  if ((letter >= U'A' && letter <= U'Z') || (letter >= 0xC0 && letter <= 0xDE && letter != 0xD7)) {
    return letter + 0x20;
  }
  switch (letter) {
    case 0x160:  // Š
    case 0x152:  // Œ
    case 0x17D:  // Ž
      return letter + 1;
    case 0x178:  // Ÿ
      return 0xFF;
    default:
      return letter;
  }
}

bool Wanted(DiskStatus status, const CollectionFilter& filter) {
  if (!filter.onlyMissing && !filter.onlyPartial) return true;
  return (filter.onlyMissing && status == DiskStatus::kMissing) ||
         (filter.onlyPartial && status == DiskStatus::kPartial);
}

std::string Count(size_t n, const char* one, const char* many) {
  return std::to_string(n) + (n == 1 ? one : many);
}

}  // namespace

std::string FoldedText(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
      folded += byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + 0x20) : text[at];
      ++at;
      continue;
    }
    const std::optional<Utf8Letter> letter = DecodeUtf8(text, at);
    if (!letter) {
      folded += text[at++];
      continue;
    }
    AppendUtf8(FoldedLetter(letter->letter), folded);
    at += letter->length;
  }
  return folded;
}

uint32_t StatusColour(DiskStatus status) {
  switch (status) {
    case DiskStatus::kHave:
      return 0x2E9A3E;
    case DiskStatus::kPartial:
      return 0xE0A000;
    case DiskStatus::kMissing:
      break;
  }
  return 0xD03A30;
}

DiskStatus GroupStatus(const std::vector<DiskEntry>& disks, size_t first, size_t end) {
  bool allHave = true;
  bool allMissing = true;
  for (size_t i = first; i < end; ++i) {
    allHave = allHave && disks[i].status == DiskStatus::kHave;
    allMissing = allMissing && disks[i].status == DiskStatus::kMissing;
  }
  if (allHave) return DiskStatus::kHave;
  return allMissing ? DiskStatus::kMissing : DiskStatus::kPartial;
}

CollectionTree::CollectionTree(const CollectionReport& report) : report_(report) {
  const std::vector<DiskEntry>& disks = report.disks;
  diskKeys_.reserve(disks.size());
  for (size_t i = 0; i < disks.size(); ++i) {
    const DiskEntry& entry = disks[i];
    std::string key = FoldedText(Utf8FromCp1252(entry.name));
    if (entry.best != kNoImage) key += '\n' + FoldedText(report.images[entry.best].relative);
    diskKeys_.push_back(std::move(key));
    // A game's disks stand together in the report, as in the DID.
    if (groups_.empty() || groups_.back().game != entry.game) {
      CollectionGroup& group = groups_.emplace_back();
      group.game = entry.game;
      group.first = i;
    }
    CollectionGroup& group = groups_.back();
    group.end = i + 1;
    if (entry.status == DiskStatus::kHave) ++group.have;
    if (entry.status == DiskStatus::kPartial) ++group.partial;
  }
  for (CollectionGroup& group : groups_) group.status = GroupStatus(disks, group.first, group.end);
  if (!report.unknown.empty()) {
    groups_.emplace_back();  // no game: the unknown images
    unknownKeys_.reserve(report.unknown.size());
    for (size_t image : report.unknown) {
      unknownKeys_.push_back(FoldedText(report.images[image].relative));
    }
  }
  Filter({});
}

void CollectionTree::Filter(const CollectionFilter& filter) {
  narrowed_ = filter.Narrows();
  const std::string text = FoldedText(filter.text);
  const auto matches = [&text](const std::string& key) {
    return text.empty() || key.find(text) != std::string::npos;
  };
  shown_.clear();
  shownDisks_ = 0;
  shownUnknown_ = 0;
  for (const CollectionGroup& group : groups_) {
    CollectionGroup kept = group;
    if (group.game != nullptr) {
      for (size_t disk = group.first; disk < group.end; ++disk) {
        if (Wanted(report_.disks[disk].status, filter) && matches(diskKeys_[disk])) {
          kept.shown.push_back(disk);
        }
      }
      shownDisks_ += kept.shown.size();
    } else if (!filter.onlyMissing && !filter.onlyPartial) {
      for (size_t i = 0; i < report_.unknown.size(); ++i) {
        if (matches(unknownKeys_[i])) kept.shown.push_back(report_.unknown[i]);
      }
      shownUnknown_ += kept.shown.size();
    }
    if (!kept.shown.empty()) shown_.push_back(std::move(kept));
  }
}

CollectionCells CollectionTree::Cells(const TreeRow& row) const {
  CollectionCells cells;
  if (row.group >= shown_.size()) return cells;
  const CollectionGroup& group = shown_[row.group];
  if (row.item == kGroupRow) {
    if (group.game == nullptr) {
      cells.name = kUnknownGroupName;
      cells.state = kUnknownWord;
      cells.colour = kUnknownColour;
      return cells;
    }
    cells.name = group.game->name.Value();
    // The word when every disk is in one state, else how many are had.
    const size_t disks = group.end - group.first;
    const bool mixed = group.status == DiskStatus::kPartial && group.partial != disks;
    cells.state = mixed ? std::to_string(group.have) + " of " + std::to_string(disks) + " have"
                        : StatusWord(group.status);
    cells.colour = StatusColour(group.status);
    return cells;
  }
  if (row.item >= group.shown.size()) return cells;
  const size_t index = group.shown[row.item];
  if (group.game == nullptr) {
    const ImageOutcome& image = report_.images[index];
    cells.name = image.unreadable.empty() ? kUnidentifiedName : kUnreadableName;
    cells.state = kUnknownWord;
    cells.colour = kUnknownColour;
    cells.image = image.relative;
    cells.codes = image.unreadable;
    return cells;
  }
  const DiskEntry& entry = report_.disks[index];
  cells.name = entry.name;
  cells.state = StatusWord(entry.status);
  cells.colour = StatusColour(entry.status);
  if (entry.best != kNoImage) {
    cells.image = report_.images[entry.best].relative;
    cells.accuracy = IntToDec(entry.accuracy);
    cells.codes = entry.codes;
  }
  return cells;
}

const ImageOutcome* CollectionTree::Image(const TreeRow& row) const {
  if (row.group >= shown_.size() || row.item >= shown_[row.group].shown.size()) return nullptr;
  const CollectionGroup& group = shown_[row.group];
  const size_t index = group.shown[row.item];
  if (group.game == nullptr) {
    const ImageOutcome& image = report_.images[index];
    return image.unreadable.empty() ? &image : nullptr;
  }
  const size_t best = report_.disks[index].best;
  return best == kNoImage ? nullptr : &report_.images[best];
}

std::string CollectionTree::Names(const std::vector<TreeRow>& rows) const {
  std::vector<size_t> disks;
  for (const TreeRow& row : rows) {
    if (row.group >= shown_.size() || shown_[row.group].game == nullptr) continue;
    const std::vector<size_t>& shown = shown_[row.group].shown;
    if (row.item == kGroupRow) {
      disks.insert(disks.end(), shown.begin(), shown.end());
    } else if (row.item < shown.size()) {
      disks.push_back(shown[row.item]);
    }
  }
  // Report order is the tree's order.
  std::sort(disks.begin(), disks.end());
  disks.erase(std::unique(disks.begin(), disks.end()), disks.end());
  std::string text;
  for (size_t disk : disks) text += report_.disks[disk].name + '\n';
  return text;
}

std::string CollectionStatus(const CollectionTree& tree) {
  std::string text = ReportSummary(tree.Report());
  if (tree.Narrowed()) {
    text += "; shown: " + Count(tree.ShownDisks(), " disk", " disks") + ", " +
            Count(tree.ShownUnknown(), " unknown image", " unknown images");
  }
  return text;
}

}  // namespace moswit
