// The windows reach file dialogs and the beep through this seam, so tests
// can give the answers instead of a person.
#pragma once

#include <QString>

class QWidget;

namespace moswit {

struct FileDialogRequest {
  QString title;
  QString folder;            // where the dialog starts
  QString filter;            // as QFileDialog takes it; empty for all files
  QString fileName;          // preset text of the file name field
  bool existingOnly = true;  // false: a name that does not exist yet is accepted
};

class DialogSeam {
 public:
  virtual ~DialogSeam() = default;
  // The chosen path, or the empty text when the user cancelled.
  virtual QString OpenFile(QWidget* parent, const FileDialogRequest& request) = 0;
  virtual void Beep() = 0;
};

// The seam in use: the platform's dialogs unless a test installed its own.
DialogSeam& Dialogs();
// Installs `seam` (not owned); null brings the platform's back.
void InstallDialogs(DialogSeam* seam);

}  // namespace moswit
