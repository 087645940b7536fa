// SPDX-License-Identifier: GPL-2.0-or-later
#include "compare/window/comparedialog.h"

#include <QEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "compare/compareform.h"
#include "compare/comparetables.h"
#include "gui/controls.h"
#include "gui/icons.h"
#include "gui/reportlist.h"
#include "gui/texts.h"
#include "inspector/window/inspectorwindow.h"

namespace moswit {

namespace {

constexpr int kImageRole = Qt::UserRole;

ReportList* MakeTable(QGroupBox* group, const char* name) {
  auto* list = Named(new ReportList(group), name);
  list->SetIcons({GlyphIcon(Glyph::kGood, 12), GlyphIcon(Glyph::kFailed, 12)});
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(list);
  return list;
}

}  // namespace

TF_Compare::TF_Compare(const std::vector<TDI_Inspector*>& inspectors, QWidget* owner)
    : QWidget(owner, Qt::Window) {
  setObjectName("TF_Compare");
  setWindowTitle(kCompareCaption);
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_QuitOnClose, false);
  // The columns' widths are fixed: eight hex digits must fit in them.
  setFont(CompactFont(font()));

  QGroupBox* imagesGroup = MakeGroup(this, "GB_ADF", kImagesCaption);
  imageList_ = MakeTable(imagesGroup, "AI_List");
  imageList_->SetColumns({{Caption(kImageColumn), kImageColumnWidth}});
  QPushButton* compare = MakeButton(this, "B_Compare", kCompareButton);
  QGroupBox* filesGroup = MakeGroup(this, "GB_FileStats", kFileStatsCaption);
  files_ = MakeTable(filesGroup, "FS_List");
  QGroupBox* rangesGroup = MakeGroup(this, "GB_RangeStats", kRangeStatsCaption);
  ranges_ = MakeTable(rangesGroup, "RS_List");
  // AI_List's column follows FS_List's width, and its own: the lists get
  // their new sizes one after the other.
  files_->installEventFilter(this);
  imageList_->installEventFilter(this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(imagesGroup, 2);
  layout->addWidget(compare);
  layout->addWidget(filesGroup, 3);
  layout->addWidget(rangesGroup, 3);
  resize(kCompareWidth, kCompareHeight);

  connect(compare, &QPushButton::clicked, this, &TF_Compare::B_CompareClick);
  FormCreate(inspectors);
}

void TF_Compare::FormCreate(const std::vector<TDI_Inspector*>& inspectors) {
  images_.clear();
  imageList_->clear();
  // The tables' fixed columns until the first comparison.
  const CompareTables empty = BuildCompareTables({});
  Fill(files_, empty.files);
  Fill(ranges_, empty.ranges);
  for (TDI_Inspector* inspector : inspectors) {
    if (images_.size() == kMaxComparedImages + 1) break;  // numbers 00 to FF
    const auto number = static_cast<uint8_t>(images_.size());
    images_.emplace_back(inspector);
    ReportRow* row =
        imageList_->NewRow({FileNameText(ImageListCaption(number, inspector->FileName()))}, {});
    row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
    row->setCheckState(0, Qt::Checked);
    row->setData(0, kImageRole, static_cast<int>(number));
    imageList_->addTopLevelItem(row);
  }
}

void TF_Compare::B_CompareClick() {
  std::vector<CompareImage> compared;
  for (int i = 0; i < imageList_->topLevelItemCount();) {
    QTreeWidgetItem* row = imageList_->topLevelItem(i);
    const int number = row->data(0, kImageRole).toInt();
    const TDI_Inspector* inspector = images_[static_cast<size_t>(number)];
    if (!inspector) {
      // Its Inspector closed: the image is gone from the dialog too.
      delete row;
      continue;
    }
    if (row->checkState(0) == Qt::Checked && compared.size() < kMaxComparedImages) {
      compared.push_back(
          {static_cast<uint8_t>(number), inspector->Image().Data, inspector->Files()});
    }
    ++i;
  }
  const CompareTables tables = BuildCompareTables(compared);
  Fill(files_, tables.files);
  Fill(ranges_, tables.ranges);
}

void TF_Compare::Fill(ReportList* list, const CompareTable& table) {
  // Filled while hidden, shown once complete.
  list->setVisible(false);
  QList<ReportColumn> columns;
  for (const TableColumn& column : table.columns) {
    columns.append({DidText(column.title), column.width,
                    column.alignment == ColumnAlignment::kRight ? Qt::AlignRight : Qt::AlignLeft});
  }
  list->SetColumns(columns);
  QList<QTreeWidgetItem*> rows;
  rows.reserve(static_cast<qsizetype>(table.rows.size()));
  for (const TableRow& row : table.rows) {
    QStringList texts{DidText(row.caption)};
    for (const std::string& text : row.subItems) texts << DidText(text);
    rows.append(list->NewRow(texts, row.caption, row.equal ? 0 : 1));
  }
  list->addTopLevelItems(rows);
  list->setVisible(true);
  list->WidenColumnsToContents();
}

void TF_Compare::FS_ListResize() {
  imageList_->setColumnWidth(0, imageList_->width() - kImageColumnMargin);
}

bool TF_Compare::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == files_ || watched == imageList_) && event->type() == QEvent::Resize) {
    FS_ListResize();
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace moswit
