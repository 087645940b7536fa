// Answers the windows' file dialogs and counts their beeps, in place of a
// person; installed for as long as it lives.
#pragma once

#include <QStringList>
#include <vector>

#include "app/dialogseam.h"

namespace moswit::test {

class FakeDialogs : public DialogSeam {
 public:
  FakeDialogs() { InstallDialogs(this); }
  ~FakeDialogs() override { InstallDialogs(nullptr); }

  QString OpenFile(QWidget* parent, const FileDialogRequest& request) override;
  void Beep() override { ++beeps; }

  QStringList answers;  // taken in order; the empty text (or none left) cancels
  std::vector<FileDialogRequest> requests;
  int beeps = 0;
};

}  // namespace moswit::test
