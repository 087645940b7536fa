#include "fakedialogs.h"

namespace moswit::test {

QString FakeDialogs::OpenFile(QWidget*, const FileDialogRequest& request) {
  requests.push_back(request);
  return answers.isEmpty() ? QString() : answers.takeFirst();
}

}  // namespace moswit::test
