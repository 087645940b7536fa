// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/recordactions.h"

namespace moswit {

namespace {

void AddDisk(std::vector<RecordRef>& records, const DiskRecord& disk) {
  records.push_back(&disk);
  for (const FileRecord& file : disk.files) records.push_back(&file);
  for (const RangeRecord& range : disk.ranges) records.push_back(&range);
}

}  // namespace

VersionRecord* NewVersion(const RecordNode* selected) {
  if (selected == nullptr || selected->kind != RecordKind::kGame) return nullptr;
  return &AppendVersion(*selected->game);
}

DiskRecord* NewDisk(const RecordNode* selected) {
  if (selected == nullptr || selected->kind != RecordKind::kGame) return nullptr;
  return &AppendDisk(*selected->game);
}

std::vector<RecordRef> RecordsBelow(const RecordNode& node) {
  std::vector<RecordRef> records;
  switch (node.kind) {
    case RecordKind::kGame:
      records.push_back(node.game);
      for (const VersionRecord& version : node.game->versions) records.push_back(&version);
      for (const DiskRecord& disk : node.game->disks) AddDisk(records, disk);
      break;
    case RecordKind::kVersion:
      records.push_back(node.version);
      break;
    case RecordKind::kDisk:
      AddDisk(records, *node.disk);
      break;
  }
  return records;
}

void DeleteNode(RecordTree& tree, const NodePosition& position, DatabaseInfo& database) {
  GameBranch& branch = tree.games[position.game];
  if (!position.child) {
    database.games.Dispose(branch.node.game);
    tree.games.erase(tree.games.begin() + static_cast<std::ptrdiff_t>(position.game));
    return;
  }
  const RecordNode& node = branch.children[*position.child];
  if (node.kind == RecordKind::kVersion) {
    node.game->versions.Dispose(node.version);
  } else {
    node.game->disks.Dispose(node.disk);
  }
  branch.children.erase(branch.children.begin() + static_cast<std::ptrdiff_t>(*position.child));
}

DatImported ImportDatInto(DatabaseInfo& database, const std::string& path) {
  DatImported imported;
  DatImport import(database);
  imported.error = import.Read(path);
  imported.counts = import.Counts();
  if (!imported.error) imported.first = import.MoveInto(database);
  return imported;
}

}  // namespace moswit
