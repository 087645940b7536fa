// SPDX-License-Identifier: GPL-2.0-or-later
// The ADF Inspector's and the Hex Viewer's captions, sizes and hints, apart
// from their widgets.
#pragma once

#include <array>
#include <cstdint>

#include "base/controltext.h"
#include "inspector/blockmaplayout.h"

namespace moswit {

constexpr char kInspectorCaption[] = "ADF Inspector";
constexpr int kInspectorWidth = 573;
constexpr int kInspectorHeight = 461;

// The window grows by what a map of `rows` rows is higher than the
// double-density map, so a high-density disk shows whole.
constexpr int InspectorHeight(uint32_t rows) {
  return kInspectorHeight + MapHeight(rows) - kMapHeight;
}

constexpr char kPropertiesCaption[] = "Properties";
constexpr char kSectorMapCaption[] = "Sector Map";
constexpr char kFilesCaption[] = "Files (DOS) / Ranges (NDOS)";
constexpr char kDiskNameCaption[] = "Disk Name";
constexpr char kBootBlockCaption[] = "Boot Block";
constexpr char kLegendCaption[] = "Legend";
constexpr char kFileInfoCaption[] = "File (DOS) / Range (NDOS) Info:";

// The boot block flags, in the order they stand.
constexpr std::array<ControlText, 5> kFlagBoxes = {{
    {"Bootable", "Bootable"},
    {"DOS", "DOS"},
    {"FFS", "FFS"},
    {"DirC", "DirC"},
    {"Intl", "Intl"},
}};

// The labels beside the map and the value each names.
struct PositionLabel {
  const char* name;
  const char* caption;
  const char* value;
};
constexpr std::array<PositionLabel, 6> kPositionLabels = {{
    {"ST_Track", "T", "SMP_Track"},
    {"ST_Head", "H", "SMP_Head"},
    {"ST_Sect", "S", "SMP_Sect"},
    {"ST_Block", "Block#", nullptr},
    {"Label1", "H", "SMP_Block"},
    {"Label2", "D", "SMP_BlockDec"},
}};

struct ListColumn {
  const char* title;
  int width;
  bool rightAligned;
};
constexpr std::array<ListColumn, 3> kFileListColumns = {{
    {"Name", 174, false},
    {"Size", 60, true},
    {"CRC32", 68, true},
}};

constexpr char kAddHint[] = "Add selected files and/or ranges to open disk editor (not inspector!)";
constexpr char kDeleteHint[] = "Delete selected range";
constexpr char kHexViewHint[] = "Hexview file or range";

constexpr char kHexViewerCaption[] = "Hex Viewer";
// ScrollBar1's large change.
constexpr int kHexLargeChange = 16;

}  // namespace moswit
