// SPDX-License-Identifier: GPL-2.0-or-later
#include "gui/keptinview.h"

#include <QScrollBar>
#include <QTreeView>

namespace moswit {

KeptInView::KeptInView(QTreeView* view) : QObject(view), view_(view) {
  QAbstractItemModel* model = view->model();
  connect(model, &QAbstractItemModel::rowsInserted, this, &KeptInView::Reveal);
  connect(model, &QAbstractItemModel::layoutChanged, this, &KeptInView::Reveal);
  connect(model, &QAbstractItemModel::modelReset, this, [this] { Keep({}); });
  const auto userMoved = [this] { Keep({}); };
  connect(view->verticalScrollBar(), &QAbstractSlider::actionTriggered, this, userMoved);
  connect(view, &QTreeView::expanded, this, userMoved);
  connect(view, &QTreeView::collapsed, this, userMoved);
  connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (current != entry_) Keep({});
          });
}

void KeptInView::Keep(const QModelIndex& entry) {
  entry_ = entry;
  Reveal();
}

void KeptInView::Reveal() {
  if (entry_.isValid()) view_->scrollTo(entry_);
}

}  // namespace moswit
