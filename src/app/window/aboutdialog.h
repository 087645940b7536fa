// SPDX-License-Identifier: GPL-2.0-or-later
// The About box: a small tool window with the program's text, centred.
// Closing it only hides it; its owner frees it.
#pragma once

#include <QWidget>

class QTextEdit;

namespace moswit {

class TForm2 : public QWidget {
  Q_OBJECT

 public:
  explicit TForm2(QWidget* owner = nullptr);
};

}  // namespace moswit
