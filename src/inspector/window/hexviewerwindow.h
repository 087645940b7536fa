// SPDX-License-Identifier: GPL-2.0-or-later
// The Hex Viewer: the bytes of one file or range, 16 rows of 16 at a time,
// as offsets, hexadecimal pairs and characters. It never changes the data:
// typing overwrites only the shown text, until the next redraw.
#pragma once

#include <QWidget>
#include <cstdint>

#include "inspector/hexcaret.h"
#include "inspector/hexrows.h"

class QLabel;
class QPlainTextEdit;
class QScrollBar;

namespace moswit {

class TF_HexEdit : public QWidget {
  Q_OBJECT

 public:
  // Shows `length` bytes at `bytes`, which stay valid while the viewer is
  // open (the Inspector's buffer or its image).
  TF_HexEdit(const uint8_t* bytes, uint32_t length, QWidget* owner);

  void SetStatus(const QString& text);
  void UpdateRich();
  void ScrollBar1Change();

 signals:
  // The viewer closed; its buffer may go.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RichEdit1SelectionChange();
  void RichEdit1KeyPress(char typed);
  void ShowHexRows();
  void PlaceCaret(HexCaret caret);
  HexCaret Caret() const;

  HexRows rows_;
  HexPage page_;
  HexCaret previous_;
  bool moving_ = false;  // the viewer moves the caret itself

  QPlainTextEdit* offsets_ = nullptr;
  QPlainTextEdit* hex_ = nullptr;
  QPlainTextEdit* characters_ = nullptr;
  QScrollBar* scroll_ = nullptr;
  QLabel* status_ = nullptr;
};

}  // namespace moswit
