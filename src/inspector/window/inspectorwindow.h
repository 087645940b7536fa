// SPDX-License-Identifier: GPL-2.0-or-later
// The ADF Inspector: one image as a map of its blocks (1760, or 3520 for a
// high-density disk) coloured by kind, its boot block properties, the sector info of the block
// clicked last, and the list of its files and user-defined ranges, from which hex viewers open.
#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "base/fileerror.h"
#include "diskcontents/diskproperties.h"
#include "diskcontents/filelistrows.h"
#include "diskcontents/rangeentry.h"
#include "gui/requests.h"
#include "image/adf.h"
#include "image/filesystem.h"
#include "inspector/blockmap.h"
#include "inspector/blockmappixels.h"
#include "inspector/rangedefinition.h"
#include "inspector/viewerslots.h"

class QCheckBox;
class QCloseEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QToolButton;

namespace moswit {

struct DiskRecord;
class RecordEditor;
class ReportList;
class TF_HexEdit;

// The map: the pixel buffer painted by the core, shown as it is.
class BlockMapView : public QWidget {
  Q_OBJECT

 public:
  BlockMapView(const BlockMapPixels& pixels, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const BlockMapPixels& pixels_;
};

class TDI_Inspector : public QWidget {
  Q_OBJECT

 public:
  // Loads the request's image and opens an Inspector on it; nothing, and
  // the path with the loader's reason in `error`, when it cannot be loaded.
  static TDI_Inspector* Open(const InspectorRequest& request, FileError& error);
  ~TDI_Inspector() override;

  const tADF& Image() const { return *image_; }
  const FileList& Files() const { return files_; }
  const std::string& FileName() const { return fileName_; }
  const BlockMap& Map() const { return map_; }
  const BlockMapPixels& Pixels() const { return pixels_; }
  const ViewerSlots& Viewers() const { return viewers_; }

  // The map's handlers, in map pixels; bound to Img and ImgField.
  void ImgMouseMove(int x, int y);
  void ImgMouseDown();
  void SI_DefineClick();
  void FR_DeleteClick();
  void FR_HexEdClick();
  void FR_AddDatClick();
  // Appends the selected rows to the Disk editor's disk (files with their
  // preset attributes, ranges as game data), then the editor lists them.
  void PopupClick(RecordEditor& editor, DiskRecord& disk);
  void FormCloseQuery(bool& canClose);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TDI_Inspector(std::string fileName, ImagePtr image);
  void BuildControls();
  void FormCreate();
  void DrawStats();
  void Redraw();
  void FillList();
  void FR_FileListSelectItem(const FileListRow* row);
  void FormActivate();
  const FileListRow* RowOf(int index) const;
  const FileListRow* SelectedRow() const;

  std::string fileName_;
  ImagePtr image_;
  DiskProperties properties_;
  BlockMap map_{};
  BlockMapPixels pixels_;
  FileList files_;
  RangeList ranges_;
  RangeDefinition definition_;
  ViewerSlots viewers_;
  std::vector<FileListRow> rows_;
  int mouseX_ = 0;
  int mouseY_ = 0;
  bool closing_ = false;

  QLineEdit* name_ = nullptr;
  std::array<QCheckBox*, 5> flags_{};
  BlockMapView* img_ = nullptr;
  QLabel* imgField_ = nullptr;
  std::array<QLabel*, 5> positions_{};
  QLabel* sectorHeader_ = nullptr;
  QToolButton* define_ = nullptr;
  QPlainTextEdit* sectorMemo_ = nullptr;
  ReportList* list_ = nullptr;
  QMenu* addMenu_ = nullptr;
  QLabel* status_ = nullptr;
};

}  // namespace moswit
