// SPDX-License-Identifier: GPL-2.0-or-later
// The Renamer window's texts, defaults and rules, apart from its widgets.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "database/didskips.h"
#include "database/records.h"

namespace moswit {

constexpr char kRenamerCaption[] = "Renamer";
constexpr int kRenamerWidth = 553;
constexpr int kRenamerHeight = 480;

struct ResultColumn {
  const char* title;
  int width;
};
// "Acc" stays empty: the accuracy is part of the result line.
constexpr std::array<ResultColumn, 3> kResultColumns = {{
    {"ADF Name", 236},
    {"Identified as ...", 235},
    {"Acc", 46},
}};

constexpr char kResultsCaption[] = "Scan Results";
constexpr char kOptionsCaption[] = "Scan Options";
constexpr char kSourceLabel[] = "Source directory";
constexpr char kTargetLabel[] = "Target directory";
constexpr char kSelectCaption[] = "...";
constexpr char kStartCaption[] = "Start Scan";
constexpr char kStatusCaption[] = "Status";
constexpr char kSelectSourceTitle[] = "Select source directory ...";
constexpr char kSelectTargetTitle[] = "Select target directory ...";
constexpr char kNoFileSelection[] = "No file selection needed";

// The source and target folder a new window starts with: "C:\" where paths
// have drive letters, else the home folder with a separator at its end.
std::string DefaultScanFolder(std::string_view home, bool driveLetters, char separator);

// The folder of a path the folder dialog returned: everything up to and
// including its last separator; nothing when it has none.
std::optional<std::string> PickedFolder(std::string_view path, char separator);

// What the Renamer says when its DID holds no disk at all, so that no image
// can be identified: the reader's warning when it left parts of the file
// out, else that the file holds no disk. Empty when there is a disk.
std::string NoDiskWarning(std::string_view path, const DatabaseInfo& database,
                          const DidSkips& skips);

}  // namespace moswit
