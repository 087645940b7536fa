// Moswit: the main window and its event loop.
#include <QApplication>

#include "app/mainwindow.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  moswit::SetUpApplication(application);
  moswit::TForm1 mainWindow;
  mainWindow.show();
  // Tool windows are children of the main window: when it closes the loop
  // ends, and their destruction stops and joins any running scan.
  return application.exec();
}
