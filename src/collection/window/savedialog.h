// SPDX-License-Identifier: GPL-2.0-or-later
// The file dialog of the collection's "Save ..." items (the report, the
// missing as a DAT), shared by the Renamer and the Collection window.
#pragma once

#include <string>

#include "collection/collectionform.h"

class QWidget;

namespace moswit {

// Asks where to save, starting in `folder` (a path text) with the dialog's
// suggested name; choosing an existing file asks first whether to replace
// it. The chosen path text, or the empty text when the user cancelled.
std::string AskSavePath(QWidget* parent, const SaveDialogText& dialog, const std::string& folder);

}  // namespace moswit
