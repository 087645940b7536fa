// SPDX-License-Identifier: GPL-2.0-or-later
// Moswit: the main window and its event loop.
#include <QApplication>

#include "app/window/mainwindow.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  return moswit::RunMoswit(application);
}
