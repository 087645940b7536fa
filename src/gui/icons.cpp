// SPDX-License-Identifier: GPL-2.0-or-later
#include "gui/icons.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace moswit {

QIcon GlyphIcon(Glyph glyph, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal s = size;
  const qreal w = s / 6 < 1.5 ? 1.5 : s / 6;
  const auto pen = [&](QColor colour) {
    painter.setPen(QPen(colour, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  };
  switch (glyph) {
    case Glyph::kGood:
      pen(QColor(0x20, 0x90, 0x20));
      painter.drawPolyline(
          QPolygonF{{s * 0.15, s * 0.55}, {s * 0.4, s * 0.8}, {s * 0.85, s * 0.2}});
      break;
    case Glyph::kFailed:
      pen(QColor(0xD0, 0x20, 0x20));
      painter.drawLine(QPointF(s * 0.2, s * 0.2), QPointF(s * 0.8, s * 0.8));
      painter.drawLine(QPointF(s * 0.8, s * 0.2), QPointF(s * 0.2, s * 0.8));
      break;
    case Glyph::kAdd:
      pen(QColor(0x20, 0x70, 0x20));
      painter.drawLine(QPointF(s * 0.5, s * 0.15), QPointF(s * 0.5, s * 0.85));
      painter.drawLine(QPointF(s * 0.15, s * 0.5), QPointF(s * 0.85, s * 0.5));
      break;
    case Glyph::kDelete:
      pen(QColor(0xB0, 0x20, 0x20));
      painter.drawLine(QPointF(s * 0.15, s * 0.5), QPointF(s * 0.85, s * 0.5));
      break;
    case Glyph::kHexView: {
      QFont font = painter.font();
      font.setPixelSize(size * 3 / 4);
      font.setBold(true);
      painter.setFont(font);
      painter.setPen(QColor(0x20, 0x40, 0x90));
      painter.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, QStringLiteral("0x"));
      break;
    }
    case Glyph::kRangeStart:
    case Glyph::kRangeEnd: {
      pen(glyph == Glyph::kRangeStart ? QColor(0x20, 0x40, 0x90) : QColor(0xD0, 0x60, 0x00));
      const bool open = glyph == Glyph::kRangeStart;
      const qreal x = open ? s * 0.3 : s * 0.7;
      const qreal tip = open ? s * 0.55 : s * 0.45;
      painter.drawPolyline(
          QPolygonF{{tip, s * 0.15}, {x, s * 0.15}, {x, s * 0.85}, {tip, s * 0.85}});
      painter.drawLine(QPointF(s * 0.5 - (open ? 0 : s * 0.2), s * 0.5),
                       QPointF(s * 0.7 + (open ? s * 0.15 : -s * 0.2), s * 0.5));
      break;
    }
  }
  return QIcon(pixmap);
}

QIcon MarkIcon(uint32_t colour, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor fill(QRgb(colour & 0xFFFFFF));
  painter.setPen(QPen(fill.darker(140), 1));
  painter.setBrush(fill);
  const qreal inset = size / 5.0;
  painter.drawEllipse(QRectF(inset, inset, size - 2 * inset, size - 2 * inset));
  return QIcon(pixmap);
}

}  // namespace moswit
