// Renders each window of Moswit to a PNG: the main window on the sample
// folder, the About box, and a Renamer after a finished scan of the sample
// images. Usage: moswit-screenshots OUTDIR SAMPLEDIR (run on any Qt
// platform; scripts/screenshots.sh uses the offscreen one).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <cstdio>

#include "app/aboutdialog.h"
#include "app/mainwindow.h"
#include "scan/renamerwindow.h"

namespace {

void Settle(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool Save(QWidget& window, const QDir& folder, const char* name) {
  const QString path = folder.filePath(name);
  if (!window.grab().save(path)) {
    std::fprintf(stderr, "moswit-screenshots: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 3) {
    std::fputs("usage: moswit-screenshots OUTDIR SAMPLEDIR\n", stderr);
    return 2;
  }
  moswit::SetUpApplication(application);
  const QDir out(QString::fromLocal8Bit(argv[1]));
  const QDir samples(QDir(QString::fromLocal8Bit(argv[2])).absolutePath());
  if (!QDir().mkpath(out.path())) return 1;

  moswit::TForm1 main;
  main.show();
  // The file system model fills its folders in the background.
  for (int pass = 0; pass < 4; ++pass) {
    main.ShowInFileBrowser(samples.filePath("renamer/Demo Racer.adf"));
    Settle(300);
  }
  bool ok = Save(main, out, "mainwindow.png");

  auto* about = new moswit::TForm2(&main);
  about->show();
  Settle(100);
  ok = Save(*about, out, "about.png") && ok;

  auto* renamer = new moswit::TF_Scan({samples.filePath("sample.did").toStdString()}, &main);
  renamer->findChild<QLineEdit*>("ED_Source")->setText(samples.filePath("renamer") + "/");
  renamer->show();
  bool ended = false;
  QObject::connect(renamer, &moswit::TF_Scan::ScanEnded, [&ended] { ended = true; });
  renamer->findChild<QPushButton*>("B_Start")->click();
  QElapsedTimer clock;
  clock.start();
  while (!ended && clock.elapsed() < 30'000) QApplication::processEvents(QEventLoop::AllEvents, 50);
  renamer->findChild<QWidget*>("LV_Results")->setFocus();
  Settle(100);
  ok = ended && Save(*renamer, out, "renamer.png") && ok;
  return ok ? 0 : 1;
}
