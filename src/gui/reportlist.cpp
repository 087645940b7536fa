// SPDX-License-Identifier: GPL-2.0-or-later
#include "gui/reportlist.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <algorithm>

#include "base/collate.h"

namespace moswit {

namespace {

constexpr int kIconSize = 12;
// The grid line below and right of each cell, outside the cell's contents.
constexpr int kGridLine = 1;

// Draws the grid lines of a report-style list beside the cells' contents,
// gives every row the list's one height and shows a cut text whole as the
// cell's tooltip.
class GridDelegate : public QStyledItemDelegate {
 public:
  explicit GridDelegate(ReportList& list) : QStyledItemDelegate(&list), list_(list) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem cell(option);
    cell.rect.adjust(0, 0, -kGridLine, -kGridLine);
    QStyledItemDelegate::paint(painter, cell, index);
    painter->save();
    painter->setPen(option.palette.color(QPalette::Midlight));
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QSize content =
        QStyledItemDelegate::sizeHint(option, index) + QSize(kGridLine, kGridLine);
    return {content.width(), std::max(content.height(), list_.RowHeight())};
  }

  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override {
    // A tooltip of the row's own (the Renamer's result lines) comes first.
    if (event->type() == QEvent::ToolTip && index.isValid() &&
        !index.data(Qt::ToolTipRole).isValid() && list_.IsCut(index)) {
      QToolTip::showText(event->globalPos(), index.data(Qt::DisplayRole).toString(), view,
                         option.rect);
      return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
  }

 private:
  const ReportList& list_;
};

}  // namespace

ReportRow::ReportRow(const QStringList& texts, std::string key)
    : QTreeWidgetItem(texts), key_(std::move(key)) {}

bool ReportRow::operator<(const QTreeWidgetItem& other) const {
  if (const auto* row = dynamic_cast<const ReportRow*>(&other)) return CollateLess(key_, row->key_);
  return QTreeWidgetItem::operator<(other);
}

ReportList::ReportList(QWidget* parent) : QTreeWidget(parent) {
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAllColumnsShowFocus(true);
  setIconSize(QSize(kIconSize, kIconSize));
  setItemDelegate(new GridDelegate(*this));
  header()->setStretchLastSection(false);
  header()->setSectionsMovable(false);
}

void ReportList::SetColumns(const QList<ReportColumn>& columns) {
  clear();
  columns_ = columns;
  setColumnCount(static_cast<int>(columns.size()));
  auto* titles = new QTreeWidgetItem;
  for (int i = 0; i < columns.size(); ++i) {
    titles->setText(i, columns[i].title);
    titles->setTextAlignment(i, columns[i].alignment | Qt::AlignVCenter);
  }
  setHeaderItem(titles);
  for (int i = 0; i < columns.size(); ++i) setColumnWidth(i, columns[i].width);
  if (stretch_ >= columns.size()) stretch_ = -1;
  Stretch();
}

void ReportList::SetStretchColumn(int column) {
  stretch_ = column;
  Stretch();
}

ReportRow* ReportList::NewRow(const QStringList& texts, std::string key, int icon) const {
  auto* row = new ReportRow(texts, std::move(key));
  for (int i = 0; i < columns_.size(); ++i) {
    if (columns_[i].alignment != Qt::AlignLeft) {
      row->setTextAlignment(i, columns_[i].alignment | Qt::AlignVCenter);
    }
  }
  if (icon >= 0 && icon < icons_.size()) row->setIcon(0, icons_[icon]);
  return row;
}

void ReportList::SetIcons(const QList<QIcon>& icons) { icons_ = icons; }

int ReportList::RowHeight() const {
  const int text = fontMetrics().height();
  const int check = style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this);
  return std::max({text + 2, iconSize().height() + 2, check}) + kGridLine;
}

bool ReportList::IsCut(const QModelIndex& index) const {
  if (!index.isValid() || index.data(Qt::DisplayRole).toString().isEmpty()) return false;
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  return itemDelegate()->sizeHint(option, index).width() > visualRect(index).width();
}

void ReportList::SortByCaption() { sortItems(0, Qt::AscendingOrder); }

void ReportList::WidenColumnsToContents() {
  for (int i = 0; i < columns_.size(); ++i) {
    const int needed = std::max(sizeHintForColumn(i), header()->sectionSizeHint(i));
    if (needed > columnWidth(i)) setColumnWidth(i, needed);
  }
  Stretch();
}

QString ReportList::SelectedRowsText() const {
  QString text;
  for (int i = 0; i < topLevelItemCount(); ++i) {
    const QTreeWidgetItem* row = topLevelItem(i);
    if (!row->isSelected()) continue;
    QStringList cells;
    for (int column = 0; column < columnCount(); ++column) cells << row->text(column);
    while (cells.size() > 1 && cells.last().isEmpty()) cells.removeLast();
    text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
  }
  return text;
}

void ReportList::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    QApplication::clipboard()->setText(SelectedRowsText());
    event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

void ReportList::resizeEvent(QResizeEvent* event) {
  QTreeWidget::resizeEvent(event);
  Stretch();
}

void ReportList::Stretch() {
  if (stretch_ < 0 || stretch_ >= columns_.size()) return;
  int others = 0;
  for (int i = 0; i < columns_.size(); ++i) {
    if (i != stretch_) others += columnWidth(i);
  }
  setColumnWidth(stretch_, std::max(columns_[stretch_].width, viewport()->width() - others));
}

}  // namespace moswit
