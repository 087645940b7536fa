#include "app/dialogseam.h"

#include <QApplication>
#include <QFileDialog>

namespace moswit {

namespace {

class PlatformDialogs : public DialogSeam {
 public:
  QString OpenFile(QWidget* parent, const FileDialogRequest& request) override {
    QFileDialog dialog(parent, request.title, request.folder, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.existingOnly ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // Qt's own dialog keeps the preset file name, which the platform's may drop.
    dialog.setOption(QFileDialog::DontUseNativeDialog, !request.fileName.isEmpty());
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
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

}  // namespace moswit
