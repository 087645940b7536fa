// SPDX-License-Identifier: GPL-2.0-or-later
// What the DID Editor's record buttons and its record tree's menu do to the
// database and its tree: NV and ND under the selected game, Del, and
// Import DAT. NG is AppendGame.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/fileerror.h"
#include "dat/datimport.h"
#include "database/recordref.h"
#include "database/records.h"
#include "editors/recordtree.h"

namespace moswit {

// A new version (NV) or disk (ND) with the editor's defaults at the end of
// the selected game's list; null, and nothing done, when `selected` is not a
// game node. The tree shows the record after its next fill.
VersionRecord* NewVersion(const RecordNode* selected);
DiskRecord* NewDisk(const RecordNode* selected);

// Every record a delete of the node disposes: its own, and for a game its
// versions and disks, for a game or disk the files and ranges below. The
// window closes the editors of these records before it deletes.
std::vector<RecordRef> RecordsBelow(const RecordNode& node);

// Del: unlinks the node's record from its list and disposes it with
// everything it owns, then removes the node (with its children) from the
// tree. The other nodes keep their texts, "V#" and "D#" numbers included,
// and the counts stay until the next fill; no disk order is rewritten.
void DeleteNode(RecordTree& tree, const NodePosition& position, DatabaseInfo& database);

// The record tree's menu: Import DAT... asks for a DAT (or a ZIP holding
// one) and appends its games.
constexpr char kImportDatCaption[] = "Import DAT...";
constexpr char kImportDatTitle[] = "Import DAT";
constexpr char kDatFilter[] = "DAT files (*.dat *.xml *.zip);;All files (*)";

struct DatImported {
  std::optional<FileError> error;  // the DAT could not be read, or is none
  DatImportCounts counts;
  GameRecord* first = nullptr;  // the first game appended
};

// Appends the games of the DAT at `path` (a path text) to the database, as
// import-dat makes them; a disk the database has already is not made
// again. Nothing is appended when the file is not a DAT.
DatImported ImportDatInto(DatabaseInfo& database, const std::string& path);

}  // namespace moswit
