// SPDX-License-Identifier: GPL-2.0-or-later
// Reading a name back into the game and version fields that give it as
// their standard name: the inverse of StandardName for a game with one
// version, so a DID built from image files names each disk by its file name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "database/records.h"

namespace moswit {

// The fields read from one name; texts are empty where absent.
struct NameReading {
  // Game fields.
  std::string gameName;
  ReleaseDate releaseDate;
  std::string publisher;
  // Version fields.
  ChipsetKind chipset = kChipsetOcs;
  LanguageFlags languages = kDefaultLanguages;
  std::string protection;
  std::string releasedBy;
  std::string crackedBy;
  TrainerCounts trainer = 0;
  std::string trainedBy;
  FixFlags fixes = 0;
  std::string fixedBy;
  std::string modification;
  // The disk's number within its version and the number of disks (1 to 255).
  unsigned diskNumber = 1;
  unsigned diskCount = 1;
  // The name without its disk number: the names of one set's disks share it.
  std::string setName;
  // The name (disk number aside) has the form the builder writes; otherwise
  // the game is named by setName and the version has no tags.
  bool standardForm = false;
  // The disk number came from a "(Disk k of N)" group.
  bool diskOfGroup = false;
};

// Reads `name`. A trailing "[k|N]" (or "[k_N]") or "[kk-N]", or else a
// "(Disk k of N)" group anywhere, gives the disk number. Every name the builder writes for
// a game with one version is read so that building it again gives `name`.
NameReading ReadStandardName(std::string_view name);

// A name whose disk number says its set has more than 255 disks ("[001-300]",
// "(Disk 1 of 300)"), more than a version can list: ReadStandardName reads
// it as one disk's name. The set's name (without the number) and its count;
// nothing for any other name.
struct LargeSet {
  std::string setName;
  unsigned count = 0;
};
std::optional<LargeSet> SetTooLarge(std::string_view name);

// Sets the game's name, date and publisher and the version's chipset and
// tag fields from the reading; the version gets no version name and no date
// of its own. Other fields are left as they are.
void ApplyNameReading(const NameReading& reading, GameRecord& game, VersionRecord& version);

}  // namespace moswit
