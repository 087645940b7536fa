// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's texts and rules, apart from its widgets.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "base/controltext.h"

namespace moswit {

constexpr char kApplicationTitle[] = "[Moswit v1.00]";
constexpr char kMainCaption[] = "Moswit v0.80 beta";
constexpr int kMainWidth = 363;
constexpr int kMainHeight = 234;

constexpr char kFileBrowserGroupName[] = "GB_FileBrowser";
constexpr char kFileBrowserCaption[] = "ADF File Browser (first select, then inspect)";
constexpr char kFileBrowserName[] = "STV_FileBrowser";

// The tool buttons, top to bottom; "About" sits at the bottom edge.
constexpr std::array<ControlText, 6> kMainButtons = {{
    {"B_SDBCreate", "Create DID"},
    {"B_SDBEdit", "Open DID"},
    {"B_Inspector", "ADF Inspector"},
    {"B_Compare", "Compare"},
    {"B_SDBRename", "Renamer"},
    {"B_About", "About"},
}};

constexpr char kCreateDidTitle[] = "Create a DID file";
constexpr char kOpenDidTitle[] = "Open a DID file";
constexpr char kDidFilter[] = "Disk Image Database (*.did)|*.did";

// Whether the file browser shows an entry: folders always, except the
// floppy drives A: and B: where paths have drive letters; other entries
// only when they end in an image ending (".adf", ".adz", ".adf.gz", ".zip")
// in any case, as the Renamer lists them.
bool ShowInBrowser(std::string_view fullPath, bool isFolder, bool driveLetters);

// The chosen DID path with ".did" appended unless it ends in ".did" in any
// case already.
std::string WithDidExtension(std::string path);

// What tells two paths of one DID file apart from others: the absolute
// path with links and "." and ".." resolved as far as it exists.
std::string DidFileKey(std::string_view path);

// Whether the two paths name one DID file: one file of the system (device
// and inode, or volume and file index, so hard links count), or the same
// DidFileKey where nothing exists yet.
bool SameDidFile(std::string_view a, std::string_view b);

// A "text|pattern|text|pattern" filter as the file dialog takes it:
// "text (pattern);;text (pattern)"; a text that already names its pattern
// in parentheses is taken as it is.
std::string ToolkitFilter(std::string_view filter);

// Where the DID dialogs start: the system drive where there are drive
// letters, else the user's home folder.
std::string InitialDialogFolder(std::string_view home, bool driveLetters);

}  // namespace moswit
