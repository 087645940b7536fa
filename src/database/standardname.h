// SPDX-License-Identifier: GPL-2.0-or-later
// The names the database gives its disks and versions: title, version,
// date, publisher and the tags of languages, releases, cracks, trainers,
// fixes and modifications, e.g.
//   Example Game (1991-03)(Example Soft)(En-De)[cr Example Group][1|2]
#pragma once

#include <string>

#include "database/records.h"

namespace moswit {

// The standard name of disk `disk` of game `game` (a member of its disks).
// A disk no version lists is named by its volume name alone.
std::string StandardName(const GameRecord& game, const DiskRecord& disk);

// The tags of one version: languages, copy protection, cracker, trainer,
// fixes, modification.
std::string VersionTagString(const GameRecord& game, const VersionRecord& version);

}  // namespace moswit
