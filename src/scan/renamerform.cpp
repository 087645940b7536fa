// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/renamerform.h"

namespace moswit {

std::string DefaultScanFolder(std::string_view home, bool driveLetters, char separator) {
  if (driveLetters) return "C:\\";
  std::string folder(home);
  if (folder.empty() || folder.back() != separator) folder += separator;
  return folder;
}

std::optional<std::string> PickedFolder(std::string_view path, char separator) {
  const size_t last = path.rfind(separator);
  if (last == std::string_view::npos) return std::nullopt;
  return std::string(path.substr(0, last + 1));
}

std::string NoDiskWarning(std::string_view path, const DatabaseInfo& database,
                          const DidSkips& skips) {
  for (const GameRecord& game : database.games) {
    if (!game.disks.Empty()) return {};
  }
  if (skips.Any()) return DidSkipWarning(path, skips);
  return std::string(path) + " holds no disk, so no image can be identified.";
}

}  // namespace moswit
