// SPDX-License-Identifier: GPL-2.0-or-later
#include "collection/window/collectionmodel.h"

#include <QFont>
#include <limits>

#include "collection/collectionform.h"
#include "gui/icons.h"
#include "gui/texts.h"

namespace moswit {

namespace {

// A disk's or image's index holds its group as internal id; a group's has
// the top bit set. Its other bits scatter the index's hash (row * 16 +
// column + id), which Qt's hash tables use as it is: groups of one id would
// crowd a sixteenth of the buckets, and opening every game of a large DID
// would take seconds.
constexpr quintptr kGroupBit = quintptr(1) << (sizeof(quintptr) * 8 - 1);
constexpr quintptr kScatter = static_cast<quintptr>(0x9E3779B97F4A7C15ull);

quintptr GroupId(int row) { return kGroupBit | ((static_cast<quintptr>(row) * kScatter) >> 1); }
bool IsGroup(const QModelIndex& index) { return (index.internalId() & kGroupBit) != 0; }

int Clamped(size_t n) {
  return static_cast<int>(
      std::min<size_t>(n, static_cast<size_t>(std::numeric_limits<int>::max())));
}

}  // namespace

CollectionModel::CollectionModel(QObject* parent)
    : QAbstractItemModel(parent), tree_(std::make_unique<CollectionTree>(report_)) {}

void CollectionModel::SetReport(CollectionReport report) {
  beginResetModel();
  tree_.reset();
  report_ = std::move(report);
  tree_ = std::make_unique<CollectionTree>(report_);
  tree_->Filter(filter_);
  endResetModel();
}

void CollectionModel::SetFilter(const CollectionFilter& filter) {
  beginResetModel();
  filter_ = filter;
  tree_->Filter(filter_);
  endResetModel();
}

TreeRow CollectionModel::RowOf(const QModelIndex& index) const {
  if (!index.isValid()) return {};
  if (IsGroup(index)) return {static_cast<size_t>(index.row()), kGroupRow};
  return {static_cast<size_t>(index.internalId()), static_cast<size_t>(index.row())};
}

QModelIndex CollectionModel::index(int row, int column, const QModelIndex& parent) const {
  if (!hasIndex(row, column, parent)) return {};
  if (!parent.isValid()) return createIndex(row, column, GroupId(row));
  return createIndex(row, column, static_cast<quintptr>(parent.row()));
}

QModelIndex CollectionModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || IsGroup(child)) return {};
  const int group = static_cast<int>(child.internalId());
  return createIndex(group, 0, GroupId(group));
}

int CollectionModel::rowCount(const QModelIndex& parent) const {
  const std::vector<CollectionGroup>& groups = tree_->Groups();
  if (!parent.isValid()) return Clamped(groups.size());
  if (parent.column() != 0 || !IsGroup(parent)) return 0;
  return Clamped(groups[static_cast<size_t>(parent.row())].shown.size());
}

int CollectionModel::columnCount(const QModelIndex&) const {
  return static_cast<int>(kCollectionColumns.size());
}

Qt::ItemFlags CollectionModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return {};
  // A view that opens every game need not look into the disks.
  const Qt::ItemFlags leaf = IsGroup(index) ? Qt::NoItemFlags : Qt::ItemNeverHasChildren;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | leaf;
}

QString CollectionModel::Text(const CollectionCells& cells, int column) const {
  switch (column) {
    case 0:
      return DidText(cells.name);
    case kStateColumn:
      return QString::fromLatin1(cells.state);
    case 2:
      return FileNameText(cells.image);
    case kAccuracyColumn:
      return QString::fromLatin1(cells.accuracy);
    default:
      return FileNameText(cells.codes);
  }
}

QVariant CollectionModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const TreeRow row = RowOf(index);
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return Text(tree_->Cells(row), index.column());
    case Qt::DecorationRole: {
      if (index.column() != kStateColumn) return {};
      const uint32_t colour = tree_->Cells(row).colour;
      auto mark = marks_.find(colour);
      if (mark == marks_.end()) mark = marks_.insert(colour, MarkIcon(colour));
      return *mark;
    }
    case Qt::TextAlignmentRole:
      if (index.column() == kAccuracyColumn) return int(Qt::AlignRight | Qt::AlignVCenter);
      return {};
    case Qt::FontRole:
      if (row.item != kGroupRow) return {};
      {
        QFont font;
        font.setBold(true);
        return font;
      }
    default:
      return {};
  }
}

QVariant CollectionModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 ||
      section >= static_cast<int>(kCollectionColumns.size())) {
    return {};
  }
  if (role == Qt::DisplayRole) return Caption(kCollectionColumns[section].title);
  if (role == Qt::TextAlignmentRole && section == kAccuracyColumn) {
    return int(Qt::AlignRight | Qt::AlignVCenter);
  }
  return {};
}

}  // namespace moswit
