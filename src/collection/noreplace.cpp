// SPDX-License-Identifier: GPL-2.0-or-later
#include "collection/noreplace.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "base/pathtext.h"
#include "base/platformfile.h"

#if defined(__linux__)
#include <fcntl.h>
#include <stdio.h>
#endif

namespace moswit {

// An exclusive create claims the name, then the rename replaces only that
// claim.
PlaceOutcome ClaimThenRename(const std::string& temporary, const std::string& destination,
                             std::error_code& error) {
  error.clear();
  std::FILE* claim = CreateNewFile(PathFromText(destination));
  if (claim == nullptr) {
    if (errno == EEXIST) return PlaceOutcome::kExists;
    error = std::error_code(errno, std::generic_category());
    return PlaceOutcome::kFailed;
  }
  std::fclose(claim);
  std::filesystem::rename(PathFromText(temporary), PathFromText(destination), error);
  if (!error) return PlaceOutcome::kPlaced;
  std::error_code ignored;
  std::filesystem::remove(PathFromText(destination), ignored);
  return PlaceOutcome::kFailed;
}

PlaceOutcome RenameNoReplace(const std::string& temporary, const std::string& destination,
                             std::error_code& error) {
  error.clear();
#if defined(__linux__) && defined(RENAME_NOREPLACE)
  if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) ==
      0) {
    return PlaceOutcome::kPlaced;
  }
  if (errno == EEXIST) return PlaceOutcome::kExists;
  // Other errors than "not supported here" are the rename's own.
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
    error = std::error_code(errno, std::generic_category());
    return PlaceOutcome::kFailed;
  }
#endif
  return ClaimThenRename(temporary, destination, error);
}

}  // namespace moswit
