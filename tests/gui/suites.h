// The QtTest classes of this executable, made by name in main.cpp.
#pragma once

#include <QObject>
#include <memory>

namespace moswit::test {

std::unique_ptr<QObject> MakeMainWindowTest();
std::unique_ptr<QObject> MakeAboutBoxTest();
std::unique_ptr<QObject> MakeRenamerTest();

}  // namespace moswit::test
