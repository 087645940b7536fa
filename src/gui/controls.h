// SPDX-License-Identifier: GPL-2.0-or-later
// Controls made with their name (objectName) and caption set, so every
// window names its controls the same way and tests find them by name.
#pragma once

#include <QFont>
#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace moswit {

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// Enter, Return and Space press the button while it has the focus.
QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption);
QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption);
QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text = {});
QGroupBox* MakeGroup(QWidget* parent, const char* name, const char* caption);
QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const char* caption);
QRadioButton* MakeRadioButton(QWidget* parent, const char* name, const char* caption);

// A memo for a comment, which the database holds as one line: Tab moves
// the focus on, and pasted or dropped text keeps its line breaks (the
// store joins the lines) while its other control characters, a TAB among
// them, become blanks.
QPlainTextEdit* MakeCommentMemo(QWidget* parent, const char* name);

// A memo's text as typed, its lines ended by "\n". (Qt's plain text would
// also turn no-break spaces into blanks.)
QString MemoText(const QPlainTextEdit& memo);

// `font` at no more than `points`: windows whose layout and column widths
// are fixed in pixels use it so their texts show whole.
QFont CompactFont(QFont font, qreal points = 8);

}  // namespace moswit
