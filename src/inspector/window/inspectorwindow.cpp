// SPDX-License-Identifier: GPL-2.0-or-later
#include "inspector/window/inspectorwindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QToolButton>
#include <algorithm>

#include "diskcontents/addtodisk.h"
#include "gui/controls.h"
#include "gui/dialogseam.h"
#include "gui/editorregistry.h"
#include "gui/icons.h"
#include "gui/recordeditor.h"
#include "gui/reportlist.h"
#include "gui/texts.h"
#include "image/blocklayout.h"
#include "image/geometry.h"
#include "inspector/blockcolours.h"
#include "inspector/blockposition.h"
#include "inspector/inspectorform.h"
#include "inspector/sectorinfo.h"
#include "inspector/window/hexviewerwindow.h"

namespace moswit {

namespace {

constexpr int kRowRole = Qt::UserRole;

constexpr int kIconButton = 22;

QToolButton* MakeIconButton(QWidget* parent, const char* name, Glyph glyph, const char* hint) {
  auto* button = Named(new QToolButton(parent), name);
  button->setIcon(GlyphIcon(glyph));
  button->setAutoRaise(true);
  button->setFixedSize(kIconButton, kIconButton);
  if (hint) button->setToolTip(Caption(hint));
  return button;
}

// The map of the image's disk, its cells as large as on a double-density map.
BlockMapPixels MapPixels(const tADF& image) {
  const uint32_t rows = MapRows(GeometryOf(image).blocks);
  return BlockMapPixels(kMapWidth, MapHeight(rows), rows);
}

}  // namespace

BlockMapView::BlockMapView(const BlockMapPixels& pixels, QWidget* parent)
    : QWidget(parent), pixels_(pixels) {
  setFixedSize(pixels.Layout().Width(), pixels.Layout().Height());
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void BlockMapView::paintEvent(QPaintEvent*) {
  const int width = pixels_.Layout().Width();
  const int height = pixels_.Layout().Height();
  QImage image(width, height, QImage::Format_RGB32);
  const std::vector<uint32_t>& source = pixels_.Pixels();
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
    for (int x = 0; x < width; ++x)
      line[x] = 0xFF000000u | source[static_cast<size_t>(y) * width + x];
  }
  QPainter(this).drawImage(0, 0, image);
}

TDI_Inspector* TDI_Inspector::Open(const InspectorRequest& request, FileError& error) {
  ImagePtr image = LoadImage(request.imagePath, &error, request.member);
  if (!image) return nullptr;
  // An archive of several images shows the member asked for (its first when
  // none is); the name says which.
  return new TDI_Inspector(LoadedImageName(request.imagePath, request.member), std::move(image));
}

TDI_Inspector::TDI_Inspector(std::string fileName, ImagePtr image)
    : QWidget(nullptr, Qt::Window),
      fileName_(std::move(fileName)),
      image_(std::move(image)),
      pixels_(MapPixels(*image_)) {
  setObjectName("TDI_Inspector");
  setWindowTitle(kInspectorCaption);
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_QuitOnClose, false);
  BuildControls();
  FormCreate();
}

TDI_Inspector::~TDI_Inspector() {
  // Viewers show this window's buffers and image: they go first.
  for (TF_HexEdit* viewer : findChildren<TF_HexEdit*>()) delete viewer;
}

void TDI_Inspector::BuildControls() {
  // A high-density map is higher: everything under it moves down, and the
  // file list takes the height it adds on the right.
  const int mapHeight = pixels_.Layout().Height();
  const int height = InspectorHeight(pixels_.Layout().Rows());
  const int extra = height - kInspectorHeight;
  setFixedSize(kInspectorWidth, height);
  // A compact font, so the fixed layout holds its texts whole.
  setFont(CompactFont(font()));
  // Left: the map with its position texts, legend and sector info; right:
  // the properties above the file and range list.
  constexpr int kLeft = kMapWidth + 16;
  constexpr int kRightX = 4 + kLeft + 4;
  constexpr int kRight = kInspectorWidth - kRightX - 4;
  const int bottom = height - 21 - 2;

  QGroupBox* properties = MakeGroup(this, "DI_Properties", kPropertiesCaption);
  properties->setGeometry(kRightX, 2, kRight, 92);
  MakeLabel(properties, "ST_Name", kDiskNameCaption)->setGeometry(8, 22, 64, 20);
  name_ = MakeEdit(properties, "ED_Name");
  name_->setGeometry(76, 20, kRight - 84, 22);
  MakeLabel(properties, "ST_Boot", kBootBlockCaption)->setGeometry(8, 46, 64, 20);
  MakeEdit(properties, "ED_Boot")->setGeometry(76, 44, kRight - 84, 22);
  for (size_t i = 0; i < kFlagBoxes.size(); ++i) {
    flags_[i] = MakeCheckBox(properties, kFlagBoxes[i].name, kFlagBoxes[i].caption);
    const int left = i == 0 ? 8 : 84 + static_cast<int>(i - 1) * 60;
    flags_[i]->setGeometry(left, 68, i == 0 ? 74 : 58, 20);
    // The properties are shown, not edited: any change is put back.
    connect(flags_[i], &QCheckBox::clicked, this, &TDI_Inspector::DrawStats);
  }
  connect(name_, &QLineEdit::textEdited, this, &TDI_Inspector::DrawStats);

  QGroupBox* sectorMap = MakeGroup(this, "SectorMap", kSectorMapCaption);
  sectorMap->setGeometry(4, 2, kLeft, bottom);
  img_ = Named(new BlockMapView(pixels_, sectorMap), "Img");
  img_->move(8, 20);
  imgField_ = MakeLabel(sectorMap, "ImgField", "");
  imgField_->setGeometry(img_->geometry());
  imgField_->setAttribute(Qt::WA_TranslucentBackground);
  for (QWidget* map : {static_cast<QWidget*>(img_), static_cast<QWidget*>(imgField_)}) {
    map->setMouseTracking(true);
    map->installEventFilter(this);
  }
  // Two rows under the map: track, head, sector; then the block number.
  int x = 8;
  int y = 20 + mapHeight + 4;
  size_t value = 0;
  for (const PositionLabel& label : kPositionLabels) {
    if (!label.value) {  // "Block#" starts the second row
      x = 8;
      y += 18;
      MakeLabel(sectorMap, label.name, label.caption)->setGeometry(x, y, 42, 16);
      x += 44;
      continue;
    }
    MakeLabel(sectorMap, label.name, label.caption)->setGeometry(x, y, 12, 16);
    positions_[value] = MakeLabel(sectorMap, label.value, "");
    positions_[value]->setGeometry(x + 13, y, 38, 16);
    x += 56;
    ++value;
  }
  y += 20;
  MakeLabel(sectorMap, "Label3", kLegendCaption)->setGeometry(8, y, 44, 16);
  for (size_t i = 0; i < kLegend.size(); ++i) {
    auto* swatch = MakeLabel(sectorMap, kLegend[i].control.data(), "");
    swatch->setGeometry(54 + static_cast<int>(i) * 13, y + 5, 6, 6);
    swatch->setAutoFillBackground(true);
    QPalette colours = swatch->palette();
    colours.setColor(QPalette::Window, QColor::fromRgb(kLegend[i].colour));
    swatch->setPalette(colours);
    swatch->setToolTip(DidText(kLegend[i].hint));
  }
  y += 24;
  sectorHeader_ = MakeLabel(sectorMap, "SI_Header", "");
  sectorHeader_->setGeometry(8, y + 2, 160, 18);
  define_ = MakeIconButton(sectorMap, "SI_Define", Glyph::kRangeStart, kRangeDefineHint);
  define_->move(kLeft - 8 - kIconButton, y);
  connect(define_, &QToolButton::clicked, this, &TDI_Inspector::SI_DefineClick);
  y += kIconButton + 2;
  sectorMemo_ = Named(new QPlainTextEdit(sectorMap), "SI_Memo");
  sectorMemo_->setGeometry(8, y, kLeft - 16, bottom - y - 8);
  sectorMemo_->setReadOnly(true);
  sectorMemo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Small enough that a checksum line shows whole.
  sectorMemo_->setFont(CompactFont(QFontDatabase::systemFont(QFontDatabase::FixedFont), 7));
  sectorMemo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  QGroupBox* filesGroup = MakeGroup(this, "DI_Files", kFilesCaption);
  filesGroup->setGeometry(kRightX, 96, kRight, bottom - 94);
  list_ = Named(new ReportList(filesGroup), "FR_FileList");
  list_->setGeometry(8, 20, kRight - 16, 216 + extra);
  QList<ReportColumn> columns;
  for (const ListColumn& column : kFileListColumns) {
    columns.append({Caption(column.title), column.width,
                    column.rightAligned ? Qt::AlignRight : Qt::AlignLeft});
  }
  list_->SetColumns(columns);
  list_->SetIcons({GlyphIcon(Glyph::kGood, 12), GlyphIcon(Glyph::kFailed, 12)});
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected, const QItemSelection& deselected) {
            // Each row whose selection changed, the newly selected last.
            for (const QItemSelection* change : {&deselected, &selected}) {
              for (const QModelIndex& index : change->indexes()) {
                if (index.column() == 0) FR_FileListSelectItem(RowOf(index.data(kRowRole).toInt()));
              }
            }
          });
  QToolButton* add = MakeIconButton(filesGroup, "FR_AddDat", Glyph::kAdd, kAddHint);
  add->move(8, 240 + extra);
  QToolButton* remove = MakeIconButton(filesGroup, "FR_Delete", Glyph::kDelete, kDeleteHint);
  remove->move(8 + kIconButton + 4, 240 + extra);
  QToolButton* hex = MakeIconButton(filesGroup, "FR_HexEd", Glyph::kHexView, kHexViewHint);
  hex->move(8 + 2 * (kIconButton + 4), 240 + extra);
  connect(add, &QToolButton::clicked, this, &TDI_Inspector::FR_AddDatClick);
  connect(remove, &QToolButton::clicked, this, &TDI_Inspector::FR_DeleteClick);
  connect(hex, &QToolButton::clicked, this, &TDI_Inspector::FR_HexEdClick);
  addMenu_ = Named(new QMenu(this), "PU_AddDat");
  MakeLabel(filesGroup, "FR_Header", kFileInfoCaption)
      ->setGeometry(8, 266 + extra, kRight - 16, 16);
  auto* memo = Named(new QPlainTextEdit(filesGroup), "FR_Memo");
  memo->setGeometry(8, 284 + extra, kRight - 16, bottom - 94 - 284 - extra - 8);
  memo->setReadOnly(true);

  status_ = MakeLabel(this, "Panel1", "");
  status_->setGeometry(0, height - 21, kInspectorWidth, 21);
  status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

void TDI_Inspector::FormCreate() {
  status_->setText(FileNameText(fileName_));
  properties_ = ReadDiskProperties(*image_);
  ClassifyAll(*image_, map_);
  files_ = ListFiles(*image_, properties_.IsFfs);
  sectorHeader_->setText(DidText(SectorInfoHeader(0)));
  FillList();
  DrawStats();
  pixels_.Paint(map_);
}

void TDI_Inspector::DrawStats() {
  const QString name = DidText(properties_.DiskName);
  if (name_->text() != name) name_->setText(name);
  const bool values[] = {properties_.IsBootable, properties_.IsDos, properties_.IsFfs,
                         properties_.IsDirCache, properties_.IsIntl};
  for (size_t i = 0; i < flags_.size(); ++i) flags_[i]->setChecked(values[i]);
}

void TDI_Inspector::Redraw() {
  pixels_.DrawGrid(map_);
  img_->update();
}

bool TDI_Inspector::eventFilter(QObject* watched, QEvent* event) {
  if (watched == img_ || watched == imgField_) {
    if (event->type() == QEvent::MouseMove) {
      const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
      ImgMouseMove(at.x(), at.y());
      return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
      ImgMouseDown();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TDI_Inspector::ImgMouseMove(int x, int y) {
  mouseX_ = x;
  mouseY_ = y;
  const BlockPosition position =
      PositionOf(pixels_.Layout().BlockAt(x, y), GeometryOf(*image_).sectorsPerTrack);
  const std::string* texts[] = {&position.track, &position.head, &position.sector,
                                &position.blockHex, &position.blockDec};
  for (size_t i = 0; i < positions_.size(); ++i) positions_[i]->setText(DidText(*texts[i]));
}

void TDI_Inspector::ImgMouseDown() {
  const uint32_t block = pixels_.Layout().BlockAt(mouseX_, mouseY_);
  MoveCursor(map_, block);
  Redraw();
  sectorHeader_->setText(DidText(SectorInfoHeader(block)));
  QString lines;
  for (const std::string& line : SectorInfoLines(*image_, block)) {
    if (!lines.isEmpty()) lines += QLatin1Char('\n');
    lines += DidText(line);
  }
  sectorMemo_->setPlainText(lines);
}

void TDI_Inspector::SI_DefineClick() {
  std::optional<RangeEntry> range = definition_.Click(*image_, CursorBlock(map_));
  define_->setIcon(GlyphIcon(definition_.AwaitingEnd() ? Glyph::kRangeEnd : Glyph::kRangeStart));
  if (!range) return;
  ranges_.Append(std::move(*range));
  FillList();
}

void TDI_Inspector::FillList() {
  rows_ = MakeFileListRows(files_, ranges_);
  const QSignalBlocker quiet(list_->selectionModel());
  list_->setVisible(false);
  list_->clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(rows_.size()));
  for (size_t i = 0; i < rows_.size(); ++i) {
    const FileListRow& row = rows_[i];
    ReportRow* item =
        list_->NewRow({DidText(row.name), DidText(row.size), DidText(row.crc)}, row.name, row.icon);
    item->setData(0, kRowRole, static_cast<int>(i));
    items.append(item);
  }
  list_->addTopLevelItems(items);
  list_->setVisible(true);
}

const FileListRow* TDI_Inspector::RowOf(int index) const {
  return index >= 0 && static_cast<size_t>(index) < rows_.size()
             ? &rows_[static_cast<size_t>(index)]
             : nullptr;
}

const FileListRow* TDI_Inspector::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty()) return nullptr;
  return RowOf(selected.constFirst()->data(0, kRowRole).toInt());
}

void TDI_Inspector::FR_FileListSelectItem(const FileListRow* row) {
  if (closing_ || !row || !row->file) return;
  MarkFileSelection(*image_, *row->file, properties_.IsFfs, map_);
  Redraw();
}

void TDI_Inspector::FR_DeleteClick() {
  if (closing_) return;
  const FileListRow* row = SelectedRow();
  if (!row || !row->range) return;
  ranges_.Remove(row->range);
  FillList();
}

void TDI_Inspector::FR_HexEdClick() {
  if (closing_) return;
  const FileListRow* row = SelectedRow();
  if (!row) return;
  const std::optional<HexViewerSource> source =
      OpenHexViewer(viewers_, *image_, properties_.IsFfs, *row);
  if (!source) {
    // Every viewer slot is taken.
    Dialogs().Beep();
    return;
  }
  auto* viewer = new TF_HexEdit(source->data, source->length, this);
  viewer->SetStatus(FileNameText(source->status));
  const size_t slot = source->slot;
  connect(viewer, &TF_HexEdit::Closed, this, [this, slot] { viewers_.Close(slot); });
  viewer->show();
}

void TDI_Inspector::FR_AddDatClick() {
  // The open Disk editors, in table order; choosing one hands it the
  // selected rows. An empty menu is never popped: on some platforms its
  // window could not be shown again, yet would still take clicks.
  addMenu_->hide();
  addMenu_->clear();
  for (const HandOverTarget<RecordEditor>& target : HandOverTargets(EditorTables())) {
    // "&" would mark a shortcut in a menu item.
    QString caption = DidText(target.caption);
    caption.replace(QLatin1Char('&'), QLatin1String("&&"));
    const QPointer<RecordEditor> editor(target.editor);
    DiskRecord* disk = target.disk;
    connect(addMenu_->addAction(caption), &QAction::triggered, this, [this, editor, disk] {
      // A Disk editor that closed meanwhile no longer answers for its disk.
      if (editor) PopupClick(*editor, *disk);
    });
  }
  if (addMenu_->isEmpty()) {
    Dialogs().Beep();
    return;
  }
  auto* add = findChild<QToolButton*>("FR_AddDat");
  addMenu_->popup(add->mapToGlobal(QPoint(0, add->height())));
}

void TDI_Inspector::PopupClick(RecordEditor& editor, DiskRecord& disk) {
  // The selected rows in the list's order, top to bottom.
  std::vector<const FileListRow*> rows;
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = list_->topLevelItem(i);
    if (item->isSelected()) rows.push_back(RowOf(item->data(0, kRowRole).toInt()));
  }
  AddRowsToDisk(rows, disk);
  editor.FillList();
}

void TDI_Inspector::FormActivate() { viewers_.ReleaseClosed(); }

void TDI_Inspector::FormCloseQuery(bool& canClose) {
  canClose = !viewers_.AnyOpen();
  if (canClose) closing_ = true;
}

void TDI_Inspector::closeEvent(QCloseEvent* event) {
  bool canClose = true;
  FormCloseQuery(canClose);
  // Refused while a hex viewer is open; the beep says so.
  if (!canClose) Dialogs().Beep();
  event->setAccepted(canClose);
}

bool TDI_Inspector::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return QWidget::event(event);
}

}  // namespace moswit
