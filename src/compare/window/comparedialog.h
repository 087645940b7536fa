// SPDX-License-Identifier: GPL-2.0-or-later
// The ADF Compare dialog: the images of the Inspectors open when it was
// made, side by side, file by file and area by area.
#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

class QPushButton;

namespace moswit {

class ReportList;
class TDI_Inspector;
struct CompareTable;

class TF_Compare : public QWidget {
  Q_OBJECT

 public:
  // `inspectors` in the order of the inspector table; they become images
  // 00, 01, ... and every one is ticked.
  TF_Compare(const std::vector<TDI_Inspector*>& inspectors, QWidget* owner);

  void B_CompareClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate(const std::vector<TDI_Inspector*>& inspectors);
  void Fill(ReportList* list, const CompareTable& table);
  void FS_ListResize();

  // The image numbered i is the Inspector at i; a closed one is null.
  std::vector<QPointer<TDI_Inspector>> images_;
  ReportList* imageList_ = nullptr;
  ReportList* files_ = nullptr;
  ReportList* ranges_ = nullptr;
};

}  // namespace moswit
