// SPDX-License-Identifier: GPL-2.0-or-later
// The windows reach file dialogs, message boxes and the beep through this
// seam, so tests can give the answers instead of a person.
#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace moswit {

struct FileDialogRequest {
  QString title;
  QString folder;            // where the dialog starts
  QString filter;            // as QFileDialog takes it; empty for all files
  QString fileName;          // preset text of the file name field
  bool existingOnly = true;  // false: a name that does not exist yet is accepted
  // The name is one to write: choosing an existing file asks first whether
  // to replace it (the toolkit's own question).
  bool confirmOverwrite = false;
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
  // A message that warns of nothing, e.g. the summary of work done.
  virtual void ShowInformation(QWidget* parent, const QString& text) { ShowMessage(parent, text); }
  // A question answered with one of `choices`, one button each; returns the
  // index of the chosen one. The last choice keeps everything as it is: it
  // is the default button, and Escape or the close button give it too.
  virtual int Ask(QWidget* parent, const QString& text, const QStringList& choices) = 0;
  virtual void Beep() = 0;
};

// The seam in use: the platform's dialogs unless a test installed its own.
DialogSeam& Dialogs();
// Installs `seam` (not owned); null brings the platform's back.
void InstallDialogs(DialogSeam* seam);

// DialogSeam::Ask with a question built in the core: `text` in the file
// name encoding (it names files), the choices plain ASCII.
int Ask(QWidget* parent, const std::string& text, const std::vector<std::string>& choices);

// The file dialog the platform seam shows, exposed so its acceptance of
// typed names can be tried without a person.
class FileDialog : public QFileDialog {
  Q_OBJECT

 public:
  FileDialog(QWidget* parent, const FileDialogRequest& request);

  void accept() override;

 private:
  bool existingOnly_;
  bool confirmOverwrite_;
  std::function<QString(const QString&)> complete_;
};

}  // namespace moswit
