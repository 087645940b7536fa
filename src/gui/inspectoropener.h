// SPDX-License-Identifier: GPL-2.0-or-later
// How a tool window opens an image in the ADF Inspector: through the main
// window, which keeps the table of open Inspectors (Compare reads it). The
// main window installs its opener when it is made; a window never reaches
// the main window itself.
#pragma once

#include <functional>

#include "gui/requests.h"

namespace moswit {

using InspectorOpener = std::function<void(const InspectorRequest&)>;

// Installs `opener` for `owner`, replacing any other.
void InstallInspectorOpener(const void* owner, InspectorOpener opener);
// Removes the opener `owner` installed; another owner's stays.
void RemoveInspectorOpener(const void* owner);

// Hands the request to the installed opener; false when there is none.
bool OpenImageInInspector(const InspectorRequest& request);

}  // namespace moswit
