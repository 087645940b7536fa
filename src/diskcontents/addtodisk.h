// SPDX-License-Identifier: GPL-2.0-or-later
// Handing files and ranges from the Inspector to an open Disk editor: the
// menu caption of each editor, the attributes a file is preset with, and
// the records appended to the editor's disk.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "database/attributes.h"
#include "database/records.h"
#include "diskcontents/filelistrows.h"

namespace moswit {

// The menu item of a Disk editor: the game's name + " / Disk #" + the
// disk's one-based position in the game's disk list + ": " + its comment
// (absent texts empty).
std::string DiskEditorCaption(const GameRecord& game, const DiskRecord& disk);

// The attributes a file from the Inspector starts with, by the first
// pattern its path matches: the startup-sequence boots, commands, libraries
// and devices are shared system files, everything else belongs to the game.
AttributeFlags PresetAttributes(std::string_view path);

// Ranges are game data.
constexpr AttributeFlags kRangeAttributes = kAttrGame;

// Appends one record per row, in the given order, at the end of the disk's
// files or ranges; a failed file keeps its BlockStatus as its CRC-32.
// Nothing checks for duplicates.
void AddRowsToDisk(std::span<const FileListRow* const> rows, DiskRecord& disk);

}  // namespace moswit
