#include "gui/dialogseam.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace moswit {

namespace {

class PlatformDialogs : public DialogSeam {
 public:
  QString OpenFile(QWidget* parent, const FileDialogRequest& request) override {
    FileDialog dialog(parent, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
  }

  void ShowMessage(QWidget* parent, const QString& text) override {
    QMessageBox::warning(parent, QApplication::applicationDisplayName(), text);
  }

  void Beep() override { QApplication::beep(); }
};

DialogSeam* installed = nullptr;

}  // namespace

DialogSeam& Dialogs() {
  static PlatformDialogs platform;
  return installed ? *installed : platform;
}

void InstallDialogs(DialogSeam* seam) { installed = seam; }

FileDialog::FileDialog(QWidget* parent, const FileDialogRequest& request)
    : QFileDialog(parent, request.title, request.folder, request.filter),
      existingOnly_(request.existingOnly),
      complete_(request.complete) {
  setAcceptMode(QFileDialog::AcceptOpen);
  // Existence is checked in accept(), where the completed name counts too.
  setFileMode(existingOnly_ && !complete_ ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // Qt's own dialog keeps the preset file name and calls accept(); a
  // platform dialog may do neither.
  setOption(QFileDialog::DontUseNativeDialog, true);
  if (!request.fileName.isEmpty()) selectFile(request.fileName);
}

void FileDialog::accept() {
  const QStringList files = selectedFiles();
  if (existingOnly_ && complete_ && !files.isEmpty()) {
    const QFileInfo typed(files.constFirst());
    // A folder is entered, as the dialog always does.
    if (!typed.isDir() && !typed.exists() && !QFileInfo::exists(complete_(typed.filePath()))) {
      QMessageBox::warning(this, windowTitle(),
                           tr("%1\nFile not found.\nPlease verify the correct file name was given.")
                               .arg(typed.fileName()));
      return;
    }
  }
  QFileDialog::accept();
}

}  // namespace moswit
