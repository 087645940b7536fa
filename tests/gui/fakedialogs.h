// Answers the windows' file dialogs, keeps their messages and counts their
// beeps, in place of a person; installed for as long as it lives.
#pragma once

#include <QStringList>
#include <vector>

#include "gui/dialogseam.h"

namespace moswit::test {

class FakeDialogs : public DialogSeam {
 public:
  FakeDialogs() { InstallDialogs(this); }
  ~FakeDialogs() override { InstallDialogs(nullptr); }

  QString OpenFile(QWidget* parent, const FileDialogRequest& request) override;
  void ShowMessage(QWidget*, const QString& text) override { messages << text; }
  void Beep() override { ++beeps; }

  QStringList answers;  // taken in order; the empty text (or none left) cancels
  std::vector<FileDialogRequest> requests;
  QStringList messages;
  int beeps = 0;
};

}  // namespace moswit::test
