// The windows reach file dialogs, message boxes and the beep through this
// seam, so tests can give the answers instead of a person.
#pragma once

#include <QFileDialog>
#include <QString>
#include <functional>

class QWidget;

namespace moswit {

struct FileDialogRequest {
  QString title;
  QString folder;            // where the dialog starts
  QString filter;            // as QFileDialog takes it; empty for all files
  QString fileName;          // preset text of the file name field
  bool existingOnly = true;  // false: a name that does not exist yet is accepted
  // What the caller makes of a chosen name (e.g. ".did" appended). With
  // `existingOnly`, a typed name is also accepted when this completion of it
  // names an existing file.
  std::function<QString(const QString&)> complete;
};

class DialogSeam {
 public:
  virtual ~DialogSeam() = default;
  // The chosen path, or the empty text when the user cancelled.
  virtual QString OpenFile(QWidget* parent, const FileDialogRequest& request) = 0;
  // A message the user confirms, titled with the application's title.
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
  virtual void Beep() = 0;
};

// The seam in use: the platform's dialogs unless a test installed its own.
DialogSeam& Dialogs();
// Installs `seam` (not owned); null brings the platform's back.
void InstallDialogs(DialogSeam* seam);

// The file dialog the platform seam shows, exposed so its acceptance of
// typed names can be tried without a person.
class FileDialog : public QFileDialog {
  Q_OBJECT

 public:
  FileDialog(QWidget* parent, const FileDialogRequest& request);

  void accept() override;

 private:
  bool existingOnly_;
  std::function<QString(const QString&)> complete_;
};

}  // namespace moswit
