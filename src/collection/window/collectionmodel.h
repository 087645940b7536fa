// SPDX-License-Identifier: GPL-2.0-or-later
// The Collection window's tree as an item model over a report: games with
// their disks, then the unknown images. Rows are the core tree's
// (collection/collectiontree.h); the model only turns its texts and colours
// into what a view shows, for the rows the view asks for.
#pragma once

#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>
#include <memory>

#include "collection/collectionreport.h"
#include "collection/collectiontree.h"

namespace moswit {

class CollectionModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  explicit CollectionModel(QObject* parent = nullptr);

  // A new report, shown through the filter last set.
  void SetReport(CollectionReport report);
  void SetFilter(const CollectionFilter& filter);

  const CollectionTree& Tree() const { return *tree_; }
  // The tree row an index stands for.
  TreeRow RowOf(const QModelIndex& index) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  QString Text(const CollectionCells& cells, int column) const;

  CollectionReport report_;
  CollectionFilter filter_;
  std::unique_ptr<CollectionTree> tree_;  // over report_
  mutable QHash<uint32_t, QIcon> marks_;
};

}  // namespace moswit
