// SPDX-License-Identifier: GPL-2.0-or-later
// Answers the windows' file dialogs and questions, keeps their messages and
// counts their beeps, in place of a person; installed for as long as it
// lives.
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
  int Ask(QWidget*, const QString& text, const QStringList& choices) override;
  void Beep() override { ++beeps; }

  QStringList answers;  // taken in order; the empty text (or none left) cancels
  std::vector<FileDialogRequest> requests;
  QStringList messages;
  // The questions' answers, as indexes of their choices, taken in order;
  // with none left a question gets its last choice, which keeps everything.
  QList<int> choices;
  QStringList questions;
  int beeps = 0;
};

}  // namespace moswit::test
