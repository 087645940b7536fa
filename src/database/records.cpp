// SPDX-License-Identifier: GPL-2.0-or-later
#include "database/records.h"

#include <string>

#include "base/codepage.h"
#include "database/didfields.h"

namespace moswit {

CompatInfo DefaultCompatInfo() {
  CompatInfo compat;
  compat.cpu = compat::kDefaultCpu;
  compat.chipsetEmulation = compat::kDefaultChipsetEmulation;
  compat.floppy = compat::kDefaultFloppy;
  compat.graphicsChipset = compat::kDefaultGraphicsChipset;
  compat.specialMemory = compat::kDefaultSpecialMemory;
  compat.specialChipKb = compat::kDefaultSpecialChipKb;
  compat.specialSlowKb = compat::kDefaultSpecialSlowKb;
  compat.specialFastKb = compat::kDefaultSpecialFastKb;
  compat.kickstart = compat::kDefaultKickstart;
  compat.specialSettings = compat::kDefaultSpecialSettings;
  compat.winFellow = compat::kDefaultWinFellow;
  compat.winUae = compat::kDefaultWinUae;
  return compat;
}

std::unique_ptr<DatabaseInfo> CreateDatabase(std::string_view didPath) {
  auto database = std::make_unique<DatabaseInfo>();
  std::string name = "New Database [";
  name.append(Cp1252FromUtf8(didPath).text);
  name.push_back(']');
  database->name = name;
  database->creator = "New Creator";
  return database;
}

GameRecord& AppendGame(DatabaseInfo& database) {
  GameRecord& game = database.games.Append();
  game.name = "[New Game]";
  game.publisher = "Publisher";
  return game;
}

VersionRecord& AppendVersion(GameRecord& game) {
  VersionRecord& version = game.versions.Append();
  version.versionName = "[New Version]";
  version.memChip = 1024;
  SetDefaults(FieldTable<VersionRecord>(), version);
  version.compat = DefaultCompatInfo();
  return version;
}

DiskRecord& AppendDisk(GameRecord& game) {
  DiskRecord& disk = game.disks.Append();
  disk.name = "[New Disk]";
  return disk;
}

FileRecord& AppendFile(DiskRecord& disk) { return disk.files.Append(); }

RangeRecord& AppendRange(DiskRecord& disk) { return disk.ranges.Append(); }

size_t DiskCount(const DiskOrder& order) {
  size_t count = 0;
  while (count < order.size() && order[count] != 0) ++count;
  return count;
}

}  // namespace moswit
