// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/gamefields.h"

#include "editors/commentmemo.h"

namespace moswit {

GameFields LoadGame(const GameRecord& game) {
  GameFields fields;
  fields.texts = LoadEditTexts(FieldTable<GameRecord>(), game);
  fields.releaseDate = LoadDateFields(game.releaseDate);
  fields.comment = LoadComment(game.comment);
  return fields;
}

std::string StoreGame(const GameFields& fields, GameRecord& game) {
  ReleaseDate date;
  std::string error = ReadDateStrictly(fields.releaseDate, date);
  if (!error.empty()) return error;
  StoreComment(fields.comment, game.comment);
  StoreEditTexts(FieldTable<GameRecord>(), fields.texts, game);
  game.releaseDate = date;
  return {};
}

}  // namespace moswit
