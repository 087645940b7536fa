// SPDX-License-Identifier: GPL-2.0-or-later
#include "collection/window/savedialog.h"

#include "gui/dialogseam.h"
#include "gui/texts.h"

namespace moswit {

std::string AskSavePath(QWidget* parent, const SaveDialogText& dialog, const std::string& folder) {
  FileDialogRequest request;
  request.title = Caption(dialog.title);
  request.folder = FileNameText(folder);
  request.filter = Caption(dialog.filter);
  request.fileName = Caption(dialog.fileName);
  request.existingOnly = false;
  request.confirmOverwrite = true;
  const QString chosen = Dialogs().OpenFile(parent, request);
  return chosen.isEmpty() ? std::string() : FileNameBytes(chosen);
}

}  // namespace moswit
