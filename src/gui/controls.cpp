#include "gui/controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>

#include "gui/texts.h"

namespace moswit {

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption) {
  return Named(new QPushButton(Caption(caption), parent), name);
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

QString MemoText(const QPlainTextEdit& memo) {
  QString text = memo.document()->toRawText();
  for (QChar& c : text) {
    if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) c = u'\n';
  }
  return text;
}

}  // namespace moswit
