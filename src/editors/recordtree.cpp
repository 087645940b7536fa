// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/recordtree.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "base/numbertext.h"
#include "database/standardname.h"

namespace moswit {

namespace {

void AppendComment(std::string& text, const RecordText& comment, char open, char close) {
  if (!comment.Present()) return;
  text.push_back(' ');
  text.push_back(open);
  text.append(comment.Value());
  text.push_back(close);
}

std::string Numbered(std::string_view head, uint32_t number) {
  std::string text(head);
  text += IntToDec(number);
  text += ": ";
  return text;
}

// strcmp over these keys orders as strcoll over the texts; transforming each
// text once keeps the sort of a large collection fast.
std::string CollationKey(const std::string& text) {
  size_t length = std::strxfrm(nullptr, text.c_str(), 0);
  std::string key(length, '\0');
  std::strxfrm(key.data(), text.c_str(), length + 1);
  return key;
}

void SortGames(std::vector<GameBranch>& games) {
  std::vector<std::string> keys;
  keys.reserve(games.size());
  for (const GameBranch& branch : games) keys.push_back(CollationKey(branch.node.text));
  std::vector<size_t> order(games.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    int byKey = keys[a].compare(keys[b]);
    if (byKey != 0) return byKey < 0;
    return games[a].node.text < games[b].node.text;
  });
  std::vector<GameBranch> sorted;
  sorted.reserve(games.size());
  for (size_t index : order) sorted.push_back(std::move(games[index]));
  games = std::move(sorted);
}

}  // namespace

RecordRef RecordNode::Record() const {
  switch (kind) {
    case RecordKind::kGame:
      return game;
    case RecordKind::kVersion:
      return version;
    case RecordKind::kDisk:
      return disk;
  }
  return nullptr;
}

std::string GameNodeText(const GameRecord& game) {
  std::string text(game.name.Value());
  text += " (";
  text.append(game.publisher.Value());
  text += " / ";
  text += IntToDec(game.releaseDate.year);
  text.push_back(')');
  AppendComment(text, game.comment, '[', ']');
  return text;
}

std::string VersionNodeText(const GameRecord& game, const VersionRecord& version, uint32_t number) {
  std::string text = Numbered("V#", number) + VersionTagString(game, version);
  AppendComment(text, version.comment, '(', ')');
  return text;
}

std::string DiskNodeText(const GameRecord& game, const DiskRecord& disk, uint32_t number) {
  std::string text = Numbered("D#", number) + StandardName(game, disk);
  AppendComment(text, disk.comment, '(', ')');
  return text;
}

std::string StatsText(const TreeCounts& counts) {
  uint32_t kb = (counts.games * 156u + counts.versions * 528u + counts.disks * 544u) / 1024u;
  return IntToDec(counts.games) + " games, " + IntToDec(counts.versions) + " versions, " +
         IntToDec(counts.disks) + " disks, ~" + IntToDec(kb) + "kb mem used";
}

RecordTree FillRecordTree(DatabaseInfo& database) {
  RecordTree tree;
  tree.games.reserve(database.games.Size());
  for (GameRecord& game : database.games) {
    GameBranch branch;
    branch.node = {RecordKind::kGame, GameNodeText(game), &game, nullptr, nullptr};
    branch.children.reserve(game.versions.Size() + game.disks.Size());
    uint32_t number = 0;
    for (VersionRecord& version : game.versions) {
      branch.children.push_back({RecordKind::kVersion, VersionNodeText(game, version, ++number),
                                 &game, &version, nullptr});
    }
    number = 0;
    for (DiskRecord& disk : game.disks) {
      branch.children.push_back(
          {RecordKind::kDisk, DiskNodeText(game, disk, ++number), &game, nullptr, &disk});
    }
    tree.counts.games += 1;
    tree.counts.versions += static_cast<uint32_t>(game.versions.Size());
    tree.counts.disks += static_cast<uint32_t>(game.disks.Size());
    tree.games.push_back(std::move(branch));
  }
  SortGames(tree.games);
  tree.stats = StatsText(tree.counts);
  return tree;
}

const RecordNode& NodeAt(const RecordTree& tree, const NodePosition& position) {
  const GameBranch& branch = tree.games[position.game];
  return position.child ? branch.children[*position.child] : branch.node;
}

std::optional<NodePosition> FindRecord(const RecordTree& tree, RecordRef record) {
  if (record.Empty()) return std::nullopt;
  for (size_t g = 0; g < tree.games.size(); ++g) {
    const GameBranch& branch = tree.games[g];
    if (branch.node.Record() == record) return NodePosition{g, std::nullopt};
    for (size_t c = 0; c < branch.children.size(); ++c) {
      if (branch.children[c].Record() == record) return NodePosition{g, c};
    }
  }
  return std::nullopt;
}

}  // namespace moswit
