// SPDX-License-Identifier: GPL-2.0-or-later
#include "gui/controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>

#include "gui/texts.h"

namespace moswit {

namespace {

class CommentMemo : public QPlainTextEdit {
 public:
  explicit CommentMemo(QWidget* parent) : QPlainTextEdit(parent) { setTabChangesFocus(true); }

 protected:
  void insertFromMimeData(const QMimeData* source) override {
    QString text = source->text();
    for (QChar& c : text) {
      const bool control = c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0);
      if (control && c != u'\n' && c != u'\r') c = u' ';
    }
    insertPlainText(text);
  }
};

}  // namespace

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = Named(new QPushButton(Caption(caption), parent), name);
  // Enter and Return press a focused button, as Space does; Qt does this
  // by itself only inside dialogs, and no window here is one.
  button->setAutoDefault(true);
  return button;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption) {
  return Named(new QLabel(Caption(caption), parent), name);
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text) {
  return Named(new QLineEdit(text, parent), name);
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const char* caption) {
  return Named(new QGroupBox(Caption(caption), parent), name);
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const char* caption) {
  return Named(new QCheckBox(Caption(caption), parent), name);
}

QRadioButton* MakeRadioButton(QWidget* parent, const char* name, const char* caption) {
  return Named(new QRadioButton(Caption(caption), parent), name);
}

QFont CompactFont(QFont font, qreal points) {
  if (font.pointSizeF() <= 0 || font.pointSizeF() > points) font.setPointSizeF(points);
  return font;
}

QPlainTextEdit* MakeCommentMemo(QWidget* parent, const char* name) {
  return Named(new CommentMemo(parent), name);
}

QString MemoText(const QPlainTextEdit& memo) {
  QString text = memo.document()->toRawText();
  for (QChar& c : text) {
    if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) c = u'\n';
  }
  return text;
}

}  // namespace moswit
