#include "editors/gamefields.h"

#include "editors/commentmemo.h"

namespace moswit {

GameFields LoadGame(const GameRecord& game) {
  GameFields fields;
  fields.name = LoadText(game.name);
  fields.publisher = LoadText(game.publisher);
  fields.releaseDate = LoadDateFields(game.releaseDate);
  fields.developer = LoadText(game.developer);
  fields.code = LoadText(game.code);
  fields.graphics = LoadText(game.graphics);
  fields.soundFx = LoadText(game.soundFx);
  fields.music = LoadText(game.music);
  fields.design = LoadText(game.design);
  fields.comment = LoadComment(game.comment);
  return fields;
}

std::string StoreGame(const GameFields& fields, GameRecord& game) {
  ReleaseDate date;
  std::string error = ReadDateStrictly(fields.releaseDate, date);
  if (!error.empty()) return error;
  StoreComment(fields.comment, game.comment);
  StoreText(game.publisher, fields.publisher);
  StoreText(game.name, fields.name);
  StoreText(game.developer, fields.developer);
  StoreText(game.code, fields.code);
  StoreText(game.graphics, fields.graphics);
  StoreText(game.soundFx, fields.soundFx);
  StoreText(game.music, fields.music);
  StoreText(game.design, fields.design);
  game.releaseDate = date;
  return {};
}

}  // namespace moswit
