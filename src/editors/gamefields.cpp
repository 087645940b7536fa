// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/gamefields.h"

#include "editors/commentmemo.h"

namespace moswit {

GameFields LoadGame(const GameRecord& game) {
  GameFields fields;
  fields.texts = LoadEditTexts(FieldTable<GameRecord>(), game);
  fields.comment = LoadComment(game.comment);
  return fields;
}

std::string StoreGame(const GameFields& fields, GameRecord& game) {
  ReleaseDate date;
  const auto table = FieldTable<GameRecord>();
  std::string error = ReadDateStrictly(DateTexts(table, fields.texts), date);
  if (!error.empty()) return error;
  StoreComment(fields.comment, game.comment);
  StoreEditTexts(table, fields.texts, game);
  game.releaseDate = date;
  return {};
}

}  // namespace moswit
