// SPDX-License-Identifier: GPL-2.0-or-later
// The DID Editor's tree view and the model under it. The model holds the
// core's RecordTree (every text built once per fill) and shows it as two
// levels: games, and under each game its versions and disks. A full
// collection has some 100,000 nodes, which a model fills at once where one
// item per node would not.
#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <QTreeView>
#include <array>
#include <optional>
#include <vector>

#include "database/records.h"
#include "editors/recordtree.h"

class QKeyEvent;
class QResizeEvent;

namespace moswit {

class RecordTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  explicit RecordTreeModel(QObject* parent = nullptr);

  // Builds the tree of `database` anew (texts, order, counts).
  void Fill(DatabaseInfo& database);
  // No nodes; used before the database goes.
  void Clear();
  // Del: disposes the node's record with everything below it and removes
  // the node with its children; the other nodes keep their texts.
  void Delete(const NodePosition& position, DatabaseInfo& database);

  const RecordTree& Tree() const { return tree_; }
  QModelIndex IndexOf(const NodePosition& position) const;
  std::optional<NodePosition> PositionOf(const QModelIndex& index) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  // Each game row has an id that stays with it while rows above it are
  // deleted; a child index carries its game's id + 1, a game index 0.
  static constexpr size_t kGone = static_cast<size_t>(-1);
  size_t GameRow(const QModelIndex& child) const;

  RecordTree tree_;
  std::vector<QString> gameTexts_;
  std::vector<std::vector<QString>> childTexts_;
  std::vector<size_t> ids_;     // per game row
  std::vector<size_t> rowOf_;   // per id; kGone once deleted
  std::array<QIcon, 3> icons_;  // by RecordKind
};

// TV_Records: read-only, whole-row selection, 12×12 icons; a character
// key beeps and is then handled as usual.
class RecordTreeView : public QTreeView {
  Q_OBJECT

 public:
  explicit RecordTreeView(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
};

// ImageList1: the game, version and disk icons, drawn here.
std::array<QIcon, 3> RecordIcons();

}  // namespace moswit
