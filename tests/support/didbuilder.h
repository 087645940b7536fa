// SPDX-License-Identifier: GPL-2.0-or-later
// Builds database trees for tests: by hand, record by record, or at random
// with every field filled from values a DID file can hold.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "database/records.h"

namespace moswit::test {

class DidBuilder {
 public:
  DidBuilder();

  // A game with the given texts and nothing else.
  GameRecord& Game(std::string_view name, std::string_view publisher = {}, ReleaseDate date = {});
  // A version as the reader creates it (zero-filled, languages English)
  // whose disk order lists `disks`.
  VersionRecord& Version(GameRecord& game, std::initializer_list<uint8_t> disks);
  DiskRecord& Disk(GameRecord& game, std::string_view volumeName);
  // A disk as a DAT lists a dump: named `name`, known only by one range over
  // the whole image with its CRC-32 (attributes 0).
  DiskRecord& WholeImageDisk(GameRecord& game, std::string_view name,
                             std::span<const uint8_t> image);

  DatabaseInfo& Database() { return *database_; }
  std::unique_ptr<DatabaseInfo> Take() { return std::move(database_); }

 private:
  std::unique_ptr<DatabaseInfo> database_;
};

struct RandomShape {
  unsigned maxGames = 6;
  unsigned maxVersions = 4;
  unsigned maxDisks = 5;
  unsigned maxFiles = 6;
  unsigned maxRanges = 3;
};

// A database with every field random, within what a DID file holds: dates
// the writer can spell (a game or version year of 0 loses month and day),
// disk orders without gaps, parentVersion 0.
std::unique_ptr<DatabaseInfo> RandomDatabase(uint32_t seed, const RandomShape& shape = {});

// The version's disks in order, one per DiskOrder entry before the first 0;
// an entry past the end of the game's disk list gives null, so a disk's
// index in the result is its number within the version minus one.
std::vector<DiskRecord*> FindVersionDisks(const GameRecord& game, const VersionRecord& version);

// "\n" becomes "\r\n", so expected DID texts can be written plainly.
std::string Crlf(std::string_view text);

}  // namespace moswit::test
