// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/window/aboutdialog.h"

#include <QFontMetrics>
#include <QFrame>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "app/aboutbox.h"

namespace moswit {

TForm2::TForm2(QWidget* owner) : QWidget(owner, Qt::Tool) {
  setObjectName("TForm2");
  setWindowTitle(kAboutCaption);
  setAttribute(Qt::WA_QuitOnClose, false);

  auto* panel = new QFrame(this);
  panel->setObjectName("Panel1");
  panel->setFrameShape(QFrame::StyledPanel);
  auto* memo = new QTextEdit(panel);
  memo->setObjectName("Memo1");
  memo->setReadOnly(true);
  memo->setFrameShape(QFrame::NoFrame);
  // The lines are long for the box: the font shrinks until the widest fits,
  // so every line shows whole, as it is written.
  const int room =
      kAboutClientWidth - 4 - 2 * static_cast<int>(memo->document()->documentMargin()) - 8;
  QFont font = memo->font();
  for (qreal size = font.pointSizeF(); size > 5.0; size -= 0.25) {
    font.setPointSizeF(size);
    const QFontMetrics metrics(font);
    int widest = 0;
    for (std::string_view line : AboutLines()) {
      widest = std::max(widest, metrics.horizontalAdvance(QString::fromLatin1(
                                    line.data(), static_cast<qsizetype>(line.size()))));
    }
    if (widest <= room) break;
  }
  memo->setFont(font);
  memo->setLineWrapMode(QTextEdit::NoWrap);
  // The text box takes the window's colour.
  QPalette colours = memo->palette();
  colours.setColor(QPalette::Base, colours.color(QPalette::Window));
  memo->setPalette(colours);
  memo->setPlainText(QString::fromLatin1(AboutText()));
  QTextCursor all(memo->document());
  all.select(QTextCursor::Document);
  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  all.mergeBlockFormat(centred);

  auto* inner = new QVBoxLayout(panel);
  inner->setContentsMargins(2, 2, 2, 2);
  inner->addWidget(memo);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(panel);
  resize(kAboutClientWidth, kAboutClientHeight);
}

}  // namespace moswit
