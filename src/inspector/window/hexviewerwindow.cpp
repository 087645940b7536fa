// SPDX-License-Identifier: GPL-2.0-or-later
#include "inspector/window/hexviewerwindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>

#include "gui/controls.h"
#include "gui/texts.h"
#include "inspector/inspectorform.h"

namespace moswit {

namespace {

// The pane shows its 16 rows whole and nothing else.
QPlainTextEdit* MakePane(QWidget* parent, const char* name, int characters) {
  auto* pane = Named(new QPlainTextEdit(parent), name);
  pane->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  pane->setReadOnly(true);
  pane->setLineWrapMode(QPlainTextEdit::NoWrap);
  pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  pane->setUndoRedoEnabled(false);
  const QFontMetrics metrics(pane->font());
  const int frame = 2 * (pane->frameWidth() + static_cast<int>(pane->document()->documentMargin()));
  pane->setFixedSize(metrics.horizontalAdvance(QString(characters + 1, QLatin1Char('0'))) + frame,
                     metrics.lineSpacing() * static_cast<int>(kHexRowCount) + frame + 2);
  return pane;
}

template <typename Rows>
QString Lines(const Rows& rows, bool trailingBreak) {
  QString text;
  for (const std::string& row : rows) {
    if (!text.isEmpty()) text += QLatin1Char('\n');
    text += DidText(row);
  }
  if (trailingBreak) text += QLatin1Char('\n');
  return text;
}

}  // namespace

TF_HexEdit::TF_HexEdit(const uint8_t* bytes, uint32_t length, QWidget* owner)
    : QWidget(owner, Qt::Window), rows_(bytes, length) {
  setObjectName("TF_HexEdit");
  setWindowTitle(kHexViewerCaption);
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_QuitOnClose, false);

  offsets_ = MakePane(this, "Memo1", 8);
  hex_ = MakePane(this, "RichEdit1", static_cast<int>(kHexRowLength));
  characters_ = MakePane(this, "Memo2", static_cast<int>(kBytesPerHexRow));
  // The caret moves by keyboard and mouse in the hex pane, where typing
  // overwrites the shown digits.
  hex_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  hex_->setCursorWidth(2);
  scroll_ = Named(new QScrollBar(Qt::Vertical, this), "ScrollBar1");
  scroll_->setRange(0, static_cast<int>(rows_.ScrollMaximum()));
  scroll_->setPageStep(kHexLargeChange);
  scroll_->setSingleStep(1);
  scroll_->setFixedHeight(hex_->height());
  status_ = MakeLabel(this, "Panel1", "");
  status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

  auto* panes = new QHBoxLayout;
  panes->setSpacing(2);
  panes->addWidget(offsets_);
  panes->addWidget(hex_);
  panes->addWidget(characters_);
  panes->addWidget(scroll_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(panes);
  layout->addWidget(status_);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  for (QPlainTextEdit* pane : {offsets_, hex_, characters_}) {
    pane->installEventFilter(this);
    pane->viewport()->installEventFilter(this);
    // The panes never scroll themselves (paging, the caret, a drag below
    // the last row), or their rows would part; only ScrollBar1 moves them.
    for (QScrollBar* bar : {pane->verticalScrollBar(), pane->horizontalScrollBar()}) {
      connect(bar, &QScrollBar::valueChanged, bar, [bar](int value) {
        if (value != 0) bar->setValue(0);
      });
    }
  }
  connect(scroll_, &QScrollBar::valueChanged, this, &TF_HexEdit::ScrollBar1Change);
  connect(hex_, &QPlainTextEdit::cursorPositionChanged, this,
          &TF_HexEdit::RichEdit1SelectionChange);

  UpdateRich();
  PlaceCaret({});
  previous_ = {};
}

void TF_HexEdit::SetStatus(const QString& text) { status_->setText(text); }

void TF_HexEdit::UpdateRich() {
  page_ = rows_.Page(static_cast<uint32_t>(scroll_->value()));
  const bool wasMoving = std::exchange(moving_, true);
  offsets_->setPlainText(Lines(page_.offsets, false));
  characters_->setPlainText(Lines(page_.characters, false));
  ShowHexRows();
  offsets_->moveCursor(QTextCursor::Start);
  moving_ = wasMoving;
}

void TF_HexEdit::ShowHexRows() {
  const bool wasMoving = std::exchange(moving_, true);
  // A break after the last row gives the caret a place below it, from
  // which the navigation takes it back to the top.
  hex_->setPlainText(Lines(page_.hex, true));
  moving_ = wasMoving;
}

void TF_HexEdit::ScrollBar1Change() {
  UpdateRich();
  PlaceCaret({});
  previous_ = {};
}

HexCaret TF_HexEdit::Caret() const {
  return PositionToCaret(static_cast<unsigned>(hex_->textCursor().position()));
}

void TF_HexEdit::PlaceCaret(HexCaret caret) {
  const bool wasMoving = std::exchange(moving_, true);
  QTextCursor cursor = hex_->textCursor();
  cursor.setPosition(static_cast<int>(CaretToPosition(caret)));
  hex_->setTextCursor(cursor);
  moving_ = wasMoving;
}

void TF_HexEdit::RichEdit1SelectionChange() {
  if (moving_) return;
  const CaretMove move = NavigateCaret(previous_, Caret());
  if (move.redraw) UpdateRich();
  PlaceCaret(move.caret);
  previous_ = move.caret;
}

void TF_HexEdit::RichEdit1KeyPress(char typed) {
  const CaretMove move = OverType(page_.hex, Caret(), typed);
  if (move.redraw) {
    UpdateRich();
  } else {
    ShowHexRows();
  }
  PlaceCaret(move.caret);
  previous_ = move.caret;
}

bool TF_HexEdit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) {
    // The panes do not scroll themselves: the scroll bar moves them all.
    QCoreApplication::sendEvent(scroll_, event);
    return true;
  }
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_PageDown || key->key() == Qt::Key_PageUp) {
    // Paging moves through the data, 16 rows at a time.
    scroll_->triggerAction(key->key() == Qt::Key_PageDown ? QAbstractSlider::SliderPageStepAdd
                                                          : QAbstractSlider::SliderPageStepSub);
    return true;
  }
  const QString text = key->text();
  if (watched == hex_ && text.size() == 1 && IsOverTypeCharacter(text.at(0).unicode()) &&
      !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    RichEdit1KeyPress(static_cast<char>(text.at(0).unicode()));
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TF_HexEdit::closeEvent(QCloseEvent* event) {
  event->accept();
  emit Closed();
}

}  // namespace moswit
