// SPDX-License-Identifier: GPL-2.0-or-later
#include "fakedialogs.h"

namespace moswit::test {

QString FakeDialogs::OpenFile(QWidget*, const FileDialogRequest& request) {
  requests.push_back(request);
  return answers.isEmpty() ? QString() : answers.takeFirst();
}

int FakeDialogs::Ask(QWidget*, const QString& text, const QStringList& offered) {
  questions << text;
  return choices.isEmpty() ? static_cast<int>(offered.size()) - 1 : choices.takeFirst();
}

}  // namespace moswit::test
