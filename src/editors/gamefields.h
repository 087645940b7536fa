// SPDX-License-Identifier: GPL-2.0-or-later
// What the Game editor's controls hold, and how they move to and from a
// GameRecord.
#pragma once

#include <string>

#include "database/didfields.h"
#include "database/records.h"
#include "editors/datefields.h"

namespace moswit {

struct GameFields {
  // The edits of the game's field table: ED_Name, ED_Publisher, the release
  // date's ED_RelYear, ED_RelMonth and ED_RelDay, the credits.
  EditTexts texts;
  std::string comment;  // M_Comment, its lines separated by line breaks
  bool operator==(const GameFields&) const = default;
};

// Absent texts give empty fields; the comment is the memo's only line.
GameFields LoadGame(const GameRecord& game);

// Stores every field, or none: the date is read strictly first, and when a
// part is not a whole number the result is its message and the game is left
// as it was. Empty on success. Empty texts make their fields absent, longer
// ones are cut to 255 bytes, and the memo's lines are joined into one.
std::string StoreGame(const GameFields& fields, GameRecord& game);

}  // namespace moswit
