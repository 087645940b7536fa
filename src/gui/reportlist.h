// SPDX-License-Identifier: GPL-2.0-or-later
// The report-style list every window uses: columns with their widths and
// alignment, grid lines, whole-row and multiple selection, small row icons,
// sorting by caption in the locale's order, cut texts shown whole as
// tooltips, and Ctrl+C copying the selected rows as TAB-separated lines.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTreeWidget>
#include <string>

class QKeyEvent;
class QResizeEvent;

namespace moswit {

struct ReportColumn {
  QString title;
  int width = 0;
  Qt::Alignment alignment = Qt::AlignLeft;
};

// A row; `key` holds the caption's bytes, which sorting compares.
class ReportRow : public QTreeWidgetItem {
 public:
  ReportRow(const QStringList& texts, std::string key);
  const std::string& Key() const { return key_; }
  bool operator<(const QTreeWidgetItem& other) const override;

 private:
  std::string key_;
};

class ReportList : public QTreeWidget {
  Q_OBJECT

 public:
  explicit ReportList(QWidget* parent = nullptr);

  // Replaces every column (and so every row).
  void SetColumns(const QList<ReportColumn>& columns);
  const QList<ReportColumn>& Columns() const { return columns_; }
  // The column that takes the width the list has beyond the columns' own
  // widths; -1 for none.
  void SetStretchColumn(int column);

  // A new row with the columns' alignment and, when `icon` is not negative,
  // that image of SetIcons; not yet in the list.
  ReportRow* NewRow(const QStringList& texts, std::string key, int icon = -1) const;
  void SetIcons(const QList<QIcon>& icons);

  // Ascending by key with the locale's collation.
  void SortByCaption();

  // Columns too narrow for the texts they show grow to fit them; the
  // columns' own widths stay as the least.
  void WidenColumnsToContents();

  // The height of every row: text, icon or check box, whichever is
  // tallest, with a pixel of air above and below and the grid line under
  // it, so the line never covers a descender or an underscore.
  int RowHeight() const;
  // Whether the cell is too narrow for its text, which its tooltip then
  // shows whole.
  bool IsCut(const QModelIndex& index) const;

  // The selected rows from top to bottom, one line each, their columns
  // separated by TAB; empty columns at a row's end are left out.
  QString SelectedRowsText() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Stretch();

  QList<ReportColumn> columns_;
  QList<QIcon> icons_;
  int stretch_ = -1;
};

}  // namespace moswit
