// SPDX-License-Identifier: GPL-2.0-or-later
// What the main window hands to the tool window it is about to create. Each
// is stored just before that window is made, so a window always reads the
// request that opened it.
#pragma once

#include <cstdint>
#include <string>

#include "image/adf.h"

namespace moswit {

// "ADF Inspector": the image selected in the file browser, or one another
// window opens (gui/inspectoropener.h), which may be a member of an archive.
struct InspectorRequest {
  std::string imagePath;
  uint32_t member = kFirstImageMember;
};

// "Create DID" and "Open DID".
struct DidEditorRequest {
  std::string path;
  bool createNew = false;  // true: a new, empty database to be saved under `path`
};

// "Renamer".
struct RenamerRequest {
  std::string path;
};

}  // namespace moswit
