// SPDX-License-Identifier: GPL-2.0-or-later
// Putting a finished file in place without ever replacing one: the only
// code of the collection that calls the platform directly.
#pragma once

#include <string>
#include <system_error>

namespace moswit {

enum class PlaceOutcome { kPlaced, kExists, kFailed };

// Renames `temporary` to `destination` (both in one folder) unless
// something is at `destination`, also when it appears meanwhile. On Linux
// one renameat2 with RENAME_NOREPLACE does it; where that is not supported
// (other systems, file systems without it) the name is first claimed by
// creating it exclusively, then the temporary file is moved onto the claim.
// kExists leaves `temporary` where it is; kFailed sets `error`.
PlaceOutcome RenameNoReplace(const std::string& temporary, const std::string& destination,
                             std::error_code& error);

// The way used where the system has no such rename: claim, then move onto
// the claim. Exposed so tests run it where the rename is supported.
PlaceOutcome ClaimThenRename(const std::string& temporary, const std::string& destination,
                             std::error_code& error);

}  // namespace moswit
