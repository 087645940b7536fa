// SPDX-License-Identifier: GPL-2.0-or-later
// A DAT's disk images as disks of a DID. Every ROM whose name ends in
// ".adf" (any case) becomes a disk named by the rest of its name, with one
// whole-image range of the ROM's size and CRC-32. Its game has no version,
// so the disk's standard name is that name exactly: what Moswit reports,
// organizes and writes back carries the names other collection tools know.
//
// The disks of one title (the game's name up to its first " (" or " [")
// form one game, so the DID Editor's tree reads like a catalogue. The game
// takes its release date and publisher from the parenthesised parts after
// the title, "(1990-03)(Publisher)", as far as all its disks agree on them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/fileerror.h"
#include "dat/datreader.h"
#include "database/records.h"

namespace moswit {

struct DatImportCounts {
  size_t games = 0;
  size_t disks = 0;
  size_t notAdf = 0;  // ROMs of other files: manuals, texts
  // ADF ROMs without a name, a CRC (not dumped) or a size of more than
  // one track: a smaller one is no disk (dat/wholeimage.h).
  size_t unusable = 0;
  size_t repeated = 0;  // ADF ROMs whose name, size and CRC a disk has already
  // Disks whose name is not the ROM's letter for letter: a letter
  // Windows-1252 lacks, a '"' (now '\''), or more than 255 letters.
  size_t namesChanged = 0;

  size_t Skipped() const { return notAdf + unusable + repeated; }
};

// "2 games, 5 disks; 3 ROMs skipped (2 not ADF, 0 without CRC or size,
// 1 repeated); 1 names changed".
std::string DatImportSummary(const DatImportCounts& counts);

// What a game's name tells: its title, and the date and publisher when one
// of the first two parenthesised parts after the title is a date (1990,
// 1990-03, 1990-03-05; "x" for an unknown digit) and a part follows it
// that is not "-". An unknown year leaves the whole date unknown.
struct DatTitle {
  std::string title;
  ReleaseDate date;
  std::string publisher;
};
DatTitle ReadDatTitle(std::string_view name);

// One import: the games made from the DATs read so far, held apart until
// they are moved into a database. After a failed Read the import as a
// whole is to be dropped (part of that DAT may be in it).
class DatImport {
 public:
  // A disk `database` holds already (same name, size and CRC) is not made
  // again: importing one DAT twice adds nothing.
  explicit DatImport(const DatabaseInfo& database);

  std::optional<FileError> Read(const std::string& path);
  void Add(const DatRom& rom);

  // Appends the games made to `database`, in the order their titles first
  // came; returns the first of them (null when none). The import is then
  // empty, its counts stay.
  GameRecord* MoveInto(DatabaseInfo& database);

  const DatImportCounts& Counts() const { return counts_; }

 private:
  struct Title {
    size_t game = 0;        // index into games_
    std::string publisher;  // as the first disk gave it
    bool sameDate = true;
    bool samePublisher = true;
  };
  // Looked up by a view into a ROM's name, without a copy.
  struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };
  GameRecord& GameOf(std::string_view name);
  // Whether a disk of that name has that whole image already.
  bool Known(const RecordText& name, uint32_t lastByte, uint32_t crc) const;
  void Know(const DiskRecord& disk, const RangeRecord& whole);

  DatabaseInfo games_;
  std::unordered_map<std::string, Title, TextHash, std::equal_to<>> titles_;
  std::pair<const std::string, Title>* last_ = nullptr;  // the title of the last disk
  // Every disk by the CRC and last byte of its whole image, in open
  // addressing (a slot without a disk is free), as a DAT has tens of
  // thousands. A disk keeps its address when its game moves.
  struct KnownDisk {
    uint64_t key = 0;
    const DiskRecord* disk = nullptr;
  };
  void Insert(const KnownDisk& known);
  std::vector<KnownDisk> known_;
  size_t knownCount_ = 0;
  DatImportCounts counts_;
};

}  // namespace moswit
