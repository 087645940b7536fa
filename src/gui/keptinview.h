// SPDX-License-Identifier: GPL-2.0-or-later
// Keeps one entry of a tree view in sight while its model fills in: rows
// that load in the background above the entry (a file system model lists
// folders on a thread) would push it out of view. The entry is scrolled to
// again after every change, until the user scrolls, expands, collapses or
// moves the current entry.
#pragma once

#include <QObject>
#include <QPersistentModelIndex>

class QTreeView;

namespace moswit {

class KeptInView : public QObject {
 public:
  // Watches `view` with the model and selection it has now; becomes the
  // view's child, so it goes before the view's models do.
  explicit KeptInView(QTreeView* view);

  // Scrolls to `entry` now and after each change to come; an invalid
  // index stops.
  void Keep(const QModelIndex& entry);

 private:
  void Reveal();

  QTreeView* view_;
  QPersistentModelIndex entry_;
};

}  // namespace moswit
