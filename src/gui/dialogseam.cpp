// SPDX-License-Identifier: GPL-2.0-or-later
#include "gui/dialogseam.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "gui/texts.h"

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

  void ShowInformation(QWidget* parent, const QString& text) override {
    QMessageBox::information(parent, QApplication::applicationDisplayName(), text);
  }

  int Ask(QWidget* parent, const QString& text, const QStringList& choices) override {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), text,
                    QMessageBox::NoButton, parent);
    QList<QAbstractButton*> buttons;
    for (qsizetype i = 0; i < choices.size(); ++i) {
      const bool last = i + 1 == choices.size();
      QPushButton* button = box.addButton(
          choices[i], last ? QMessageBox::RejectRole
                           : (i == 0 ? QMessageBox::AcceptRole : QMessageBox::DestructiveRole));
      if (last) {
        box.setDefaultButton(button);
        box.setEscapeButton(button);
      }
      buttons.append(button);
    }
    box.exec();
    const qsizetype chosen = buttons.indexOf(box.clickedButton());
    return static_cast<int>(chosen < 0 ? choices.size() - 1 : chosen);
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

int Ask(QWidget* parent, const std::string& text, const std::vector<std::string>& choices) {
  QStringList captions;
  for (const std::string& choice : choices) captions << QString::fromLatin1(choice);
  return Dialogs().Ask(parent, FileNameText(text), captions);
}

FileDialog::FileDialog(QWidget* parent, const FileDialogRequest& request)
    : QFileDialog(parent, request.title, request.folder, request.filter),
      existingOnly_(request.existingOnly),
      confirmOverwrite_(request.confirmOverwrite),
      complete_(request.complete) {
  // The question about an existing file is asked in accept(), about the
  // completed name.
  setAcceptMode(confirmOverwrite_ ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  setOption(QFileDialog::DontConfirmOverwrite, true);
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
  if (confirmOverwrite_ && !files.isEmpty() && !QFileInfo(files.constFirst()).isDir()) {
    const QFileInfo chosen(complete_ ? complete_(files.constFirst()) : files.constFirst());
    if (chosen.exists() &&
        QMessageBox::warning(this, windowTitle(),
                             QFileDialog::tr("%1 already exists.\nDo you want to replace it?")
                                 .arg(chosen.fileName()),
                             QMessageBox::Yes | QMessageBox::No,
                             QMessageBox::No) != QMessageBox::Yes) {
      return;
    }
  }
  QFileDialog::accept();
}

}  // namespace moswit
