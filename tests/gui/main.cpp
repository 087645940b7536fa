// Runs the GUI test classes: all of them, or the one named by the first
// argument (further arguments go to QtTest, e.g. a test function's name).
#include <QApplication>
#include <QtTest>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "suites.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const std::map<std::string, std::function<std::unique_ptr<QObject>()>> suites = {
      {"MainWindow", moswit::test::MakeMainWindowTest},
      {"AboutBox", moswit::test::MakeAboutBoxTest},
      {"Renamer", moswit::test::MakeRenamerTest},
  };
  std::vector<char*> rest = {argv[0]};
  std::string only;
  if (argc > 1 && suites.count(argv[1])) {
    only = argv[1];
    rest.insert(rest.end(), argv + 2, argv + argc);
  } else {
    rest.insert(rest.end(), argv + 1, argv + argc);
  }
  int failed = 0;
  for (const auto& [name, make] : suites) {
    if (!only.empty() && name != only) continue;
    const auto suite = make();
    failed += QTest::qExec(suite.get(), static_cast<int>(rest.size()), rest.data());
  }
  return failed == 0 ? 0 : 1;
}
