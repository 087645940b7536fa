// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/window/databaseeditwindowtree.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>
#include <functional>

#include "editors/recordactions.h"
#include "gui/dialogseam.h"
#include "gui/texts.h"

namespace moswit {

namespace {

constexpr int kIconSize = 12;

QIcon DrawIcon(const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap(kIconSize, kIconSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  draw(painter);
  painter.end();
  return QIcon(pixmap);
}

int Clamped(size_t n) { return static_cast<int>(n); }

}  // namespace

std::array<QIcon, 3> RecordIcons() {
  // A game: a boxed cartridge in blue with a light label.
  QIcon game = DrawIcon([](QPainter& p) {
    p.setPen(QColor(0x20, 0x30, 0x70));
    p.setBrush(QColor(0x40, 0x60, 0xC0));
    p.drawRect(1, 0, 9, 11);
    p.fillRect(3, 2, 6, 4, QColor(0xF0, 0xE0, 0x90));
  });
  // A version: a green tag with its hole.
  QIcon version = DrawIcon([](QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x20, 0x60, 0x20));
    p.setBrush(QColor(0x50, 0xB0, 0x50));
    const QPointF tag[] = {{0.5, 6}, {4.5, 1.5}, {11, 1.5}, {11, 10.5}, {4.5, 10.5}};
    p.drawPolygon(tag, 5);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(4.5, 6), 1.3, 1.3);
  });
  // A disk: a dark floppy with its shutter and label.
  QIcon disk = DrawIcon([](QPainter& p) {
    p.setPen(QColor(0x10, 0x10, 0x10));
    p.setBrush(QColor(0x40, 0x40, 0x48));
    p.drawRect(0, 0, 11, 11);
    p.fillRect(3, 1, 5, 4, QColor(0xC0, 0xC0, 0xC8));
    p.fillRect(2, 7, 8, 4, QColor(0xF4, 0xF4, 0xF4));
  });
  return {game, version, disk};
}

RecordTreeModel::RecordTreeModel(QObject* parent)
    : QAbstractItemModel(parent), icons_(RecordIcons()) {}

void RecordTreeModel::Fill(DatabaseInfo& database) {
  beginResetModel();
  tree_ = FillRecordTree(database);
  const size_t games = tree_.games.size();
  gameTexts_.assign(games, {});
  childTexts_.assign(games, {});
  ids_.resize(games);
  rowOf_.resize(games);
  for (size_t g = 0; g < games; ++g) {
    const GameBranch& branch = tree_.games[g];
    gameTexts_[g] = DidText(branch.node.text);
    childTexts_[g].reserve(branch.children.size());
    for (const RecordNode& child : branch.children) childTexts_[g].push_back(DidText(child.text));
    ids_[g] = g;
    rowOf_[g] = g;
  }
  endResetModel();
}

void RecordTreeModel::Clear() {
  beginResetModel();
  tree_ = {};
  gameTexts_.clear();
  childTexts_.clear();
  ids_.clear();
  rowOf_.clear();
  endResetModel();
}

void RecordTreeModel::Delete(const NodePosition& position, DatabaseInfo& database) {
  const auto game = static_cast<std::ptrdiff_t>(position.game);
  if (position.child) {
    const auto child = static_cast<std::ptrdiff_t>(*position.child);
    beginRemoveRows(IndexOf({position.game, std::nullopt}), Clamped(*position.child),
                    Clamped(*position.child));
    DeleteNode(tree_, position, database);
    childTexts_[position.game].erase(childTexts_[position.game].begin() + child);
    endRemoveRows();
    return;
  }
  beginRemoveRows({}, Clamped(position.game), Clamped(position.game));
  DeleteNode(tree_, position, database);
  gameTexts_.erase(gameTexts_.begin() + game);
  childTexts_.erase(childTexts_.begin() + game);
  rowOf_[ids_[position.game]] = kGone;
  ids_.erase(ids_.begin() + game);
  for (size_t row = position.game; row < ids_.size(); ++row) rowOf_[ids_[row]] = row;
  endRemoveRows();
}

QModelIndex RecordTreeModel::IndexOf(const NodePosition& position) const {
  if (position.game >= tree_.games.size()) return {};
  if (!position.child) return createIndex(Clamped(position.game), 0, quintptr{0});
  if (*position.child >= tree_.games[position.game].children.size()) return {};
  return createIndex(Clamped(*position.child), 0, quintptr{ids_[position.game] + 1});
}

std::optional<NodePosition> RecordTreeModel::PositionOf(const QModelIndex& index) const {
  if (!index.isValid() || index.model() != this) return std::nullopt;
  if (index.internalId() == 0) return NodePosition{static_cast<size_t>(index.row()), std::nullopt};
  const size_t game = GameRow(index);
  if (game == kGone) return std::nullopt;
  return NodePosition{game, static_cast<size_t>(index.row())};
}

size_t RecordTreeModel::GameRow(const QModelIndex& child) const {
  const size_t id = child.internalId() - 1;
  return id < rowOf_.size() ? rowOf_[id] : kGone;
}

QModelIndex RecordTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || column != 0) return {};
  if (!parent.isValid()) {
    return static_cast<size_t>(row) < tree_.games.size() ? createIndex(row, 0, quintptr{0})
                                                         : QModelIndex();
  }
  if (parent.internalId() != 0) return {};
  return IndexOf({static_cast<size_t>(parent.row()), static_cast<size_t>(row)});
}

QModelIndex RecordTreeModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || child.internalId() == 0) return {};
  const size_t game = GameRow(child);
  return game == kGone ? QModelIndex() : createIndex(Clamped(game), 0, quintptr{0});
}

int RecordTreeModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return Clamped(tree_.games.size());
  if (parent.internalId() != 0 || parent.column() != 0) return 0;
  const auto game = static_cast<size_t>(parent.row());
  return game < tree_.games.size() ? Clamped(tree_.games[game].children.size()) : 0;
}

int RecordTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant RecordTreeModel::data(const QModelIndex& index, int role) const {
  const std::optional<NodePosition> position = PositionOf(index);
  if (!position) return {};
  switch (role) {
    case Qt::DisplayRole:
      return position->child ? childTexts_[position->game][*position->child]
                             : gameTexts_[position->game];
    case Qt::DecorationRole:
      return icons_[static_cast<size_t>(NodeAt(tree_, *position).kind)];
    default:
      return {};
  }
}

Qt::ItemFlags RecordTreeModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.internalId() != 0) flags |= Qt::ItemNeverHasChildren;
  return flags;
}

RecordTreeView::RecordTreeView(QWidget* parent) : QTreeView(parent) {
  setHeaderHidden(true);
  setUniformRowHeights(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setAllColumnsShowFocus(true);
  setIconSize(QSize(kIconSize, kIconSize));
  setExpandsOnDoubleClick(true);
  // Long names scroll sideways instead of being cut; the width is measured
  // on the first rows only, so a large tree costs no more.
  header()->setStretchLastSection(false);
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

void RecordTreeView::resizeEvent(QResizeEvent* event) {
  // The row is at least as wide as the view, so a selection spans it.
  header()->setMinimumSectionSize(viewport()->width());
  QTreeView::resizeEvent(event);
}

void RecordTreeView::keyPressEvent(QKeyEvent* event) {
  if (!event->text().isEmpty()) Dialogs().Beep();
  QTreeView::keyPressEvent(event);
}

}  // namespace moswit
