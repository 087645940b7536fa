// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/window/versioneditwindow.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>
#include <utility>

#include "gui/controls.h"
#include "gui/texts.h"

namespace moswit {

namespace {

// Fits a 1366 x 768 screen with the window's frame and a task bar.
constexpr int kWidth = 960;
constexpr int kHeight = 680;

// A group of the compatibility under its bold caption.
struct CaptionedGroup {
  ControlText caption;
  PackedGroup group;
};

QLineEdit* NumberEdit(QWidget* parent, const char* name, int width) {
  QLineEdit* edit = MakeEdit(parent, name);
  edit->setFixedWidth(width);
  return edit;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets, bool stretch = true) {
  auto* row = new QHBoxLayout;
  row->setSpacing(3);
  for (QWidget* widget : widgets) row->addWidget(widget);
  if (stretch) row->addStretch();
  return row;
}

// Rows closer together than the style's default, so the window fits a
// small screen.
QGridLayout* TightGrid(QWidget* group) {
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(8, 4, 8, 6);
  grid->setVerticalSpacing(2);
  return grid;
}

QLabel* ColumnCaption(QWidget* parent, const char* name, const char* caption) {
  QLabel* label = MakeLabel(parent, name, caption);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

}  // namespace

TF_VersionEdit::TF_VersionEdit(VersionRecord& version, QWidget* owner)
    : RecordEditor(owner, EditorTables().versions, SlotEnd::kMarkChanged, {&version}, false),
      version_(version) {
  setObjectName("TF_VersionEdit");
  setWindowTitle("Version Editor");

  const auto table = FieldTable<VersionRecord>();
  const auto packed = PackedTable<VersionRecord>();
  const auto compatTable = PackedTable<CompatInfo>();

  // Left column: the values that override the game's, and the comment.
  QGroupBox* standard = MakeGroup(this, "VE_StandardInfo", "Standard Info");
  QGridLayout* standardGrid = TightGrid(standard);
  fieldTexts_.AddRows(standardGrid, table, EditGroup::kStandardInfo, true);
  const int dateRow = standardGrid->rowCount() - 1;

  QGroupBox* credits = MakeGroup(this, "VE_Credits", "Credits");
  QGridLayout* creditsGrid = TightGrid(credits);
  fieldTexts_.AddRows(creditsGrid, table, EditGroup::kCredits);
  // The labels of both groups take one width, so their edits line up.
  const int labelWidth =
      std::max(standardGrid->itemAtPosition(dateRow, 0)->sizeHint().width(),
               creditsGrid->itemAtPosition(creditsGrid->rowCount() - 1, 0)->sizeHint().width());
  standardGrid->setColumnMinimumWidth(0, labelWidth);
  creditsGrid->setColumnMinimumWidth(0, labelWidth);

  // An arrow at each end points up at the fields it speaks of.
  const QString arrow(QChar(0x25B2));
  auto* hint = Named(new QFrame(this), "VE_Hint1");
  hint->setFrameStyle(QFrame::Panel | QFrame::Raised);
  auto* hintText = new QLabel(Caption("All fields above override game record defaults!"), hint);
  hintText->setAlignment(Qt::AlignCenter);
  auto* hintLayout = new QHBoxLayout(hint);
  hintLayout->setContentsMargins(6, 3, 6, 3);
  hintLayout->addWidget(Named(new QLabel(arrow, hint), "L_ArrowLeft"));
  hintLayout->addWidget(hintText, 1);
  hintLayout->addWidget(Named(new QLabel(arrow, hint), "L_ArrowRight"));

  QGroupBox* commentGroup = MakeGroup(this, "VE_Comment", "Comment");
  comment_ = MakeCommentMemo(commentGroup, "M_Comment");
  auto* commentLayout = new QVBoxLayout(commentGroup);
  commentLayout->setContentsMargins(8, 4, 8, 6);
  commentLayout->addWidget(comment_);

  auto* left = new QVBoxLayout;
  left->setSpacing(4);
  left->addWidget(standard);
  left->addWidget(credits);
  left->addWidget(hint);
  left->addWidget(commentGroup, 1);

  // Right column: the version's details.
  QGroupBox* details = MakeGroup(this, "VE_Details", "Version Details");
  QGridLayout* detailsGrid = TightGrid(details);
  fieldTexts_.AddRows(detailsGrid, table, EditGroup::kDetails);
  const auto detailRow = [&](const char* label, const char* caption, QLayout* controls) {
    const int at = detailsGrid->rowCount();
    if (label != nullptr) detailsGrid->addWidget(MakeLabel(details, label, caption), at, 0);
    detailsGrid->addLayout(controls, at, 1);
  };
  auto* memoryRow = new QHBoxLayout;
  memoryRow->setSpacing(3);
  for (QLineEdit* edit : fieldTexts_.AddEdits(details, table, EditGroup::kMemory)) {
    edit->setFixedWidth(44);
    memoryRow->addWidget(edit);
  }
  memoryRow->addWidget(MakeLabel(details, "ST_KB", "KB"));
  memoryRow->addStretch();
  detailRow("ST_Mem", "Req. Mem (C/S/F)", memoryRow);
  detailRow("ST_Trainer", "Trainer", details_.AddLines(details, packed, PackedGroup::kTrainer));
  // "Take parent info" is a raised panel with no action.
  QLabel* takeParent = MakeLabel(details, "B_TakeParent", "Take parent info");
  takeParent->setFrameStyle(QFrame::Panel | QFrame::Raised);
  takeParent->setContentsMargins(6, 1, 6, 1);
  detailRow("ST_Parent", "Parent Version #",
            Row({parent_ = NumberEdit(details, "ED_Parent", 30), takeParent}));
  detailRow("ST_Chipset", "Designed for",
            details_.AddLines(details, packed, PackedGroup::kChipset));
  detailRow("ST_Fix", "Fixes", details_.AddLines(details, packed, PackedGroup::kFixes));
  // Three columns of three, top to bottom.
  QGridLayout* languages = details_.AddGrid(details, packed, PackedGroup::kLanguages, 3);
  const int languageRow = detailsGrid->rowCount();
  QLabel* languageLabel = MakeLabel(details, "StaticText7", "Languages");
  detailsGrid->addWidget(languageLabel, languageRow, 0, Qt::AlignTop);
  detailsGrid->addLayout(languages, languageRow, 1);
  fieldTexts_.AddRows(detailsGrid, table, EditGroup::kVersionDisks);
  detailsGrid->setRowStretch(detailsGrid->rowCount(), 1);

  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 1);
  columns->addWidget(details, 1);

  // Across the bottom: the emulation compatibility, one column per field.
  QGroupBox* compat =
      MakeGroup(this, "VE_Compat", "Compatibility (greyed = not tested / must not be used)");
  // A column of groups, each under its bold caption.
  const auto column = [&](std::initializer_list<CaptionedGroup> groups) {
    auto* layout = new QVBoxLayout;
    layout->setSpacing(2);
    bool first = true;
    for (const CaptionedGroup& captioned : groups) {
      if (!first) layout->addSpacing(6);
      first = false;
      layout->addWidget(ColumnCaption(compat, captioned.caption.name, captioned.caption.caption));
      layout->addLayout(compat_.AddLines(compat, compatTable, captioned.group));
    }
    layout->addStretch();
    return layout;
  };
  using enum PackedGroup;
  QVBoxLayout* cpu = column({{{"Label1", "CPU 680..."}, kCpu}});
  QVBoxLayout* chipset = column({{{"Label2", "Chipset emulation"}, kChipsetEmulation},
                                 {{"Label3", "Special settings"}, kSpecialSettings}});
  QVBoxLayout* floppy = column({{{"Label4", "Floppy emulation"}, kFloppy}});
  QVBoxLayout* kickstart = column({{{"Label5", "Kickstart version"}, kKickstart}});
  QVBoxLayout* graphics = column({{{"Label6", "Graphics chipset"}, kGraphics},
                                  {{"Label8", "Special memory settings"}, kSpecialMemory}});
  QVBoxLayout* tested = column({{{"Label9", "Tested with"}, kTestedWith}});

  auto* compatLayout = new QHBoxLayout(compat);
  compatLayout->setContentsMargins(8, 4, 8, 6);
  compatLayout->setSpacing(14);
  for (QLayout* part : std::initializer_list<QLayout*>{cpu, chipset, floppy, kickstart, graphics}) {
    compatLayout->addLayout(part);
  }
  compatLayout->addLayout(tested);
  compatLayout->addStretch();

  // The panel scrolls in a window smaller than itself; the buttons stay
  // below it, always in reach.
  auto* panel = new QWidget;
  auto* panelLayout = new QVBoxLayout(panel);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  panelLayout->setSpacing(4);
  panelLayout->addLayout(columns, 1);
  panelLayout->addWidget(compat);
  auto* scroll = Named(new QScrollArea(this), "VE_Panel");
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setWidget(panel);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(6);
  layout->addWidget(scroll, 1);
  layout->addLayout(MakeButtonRow());
  resize(kWidth, kHeight);

  LoadControls();
}

void TF_VersionEdit::LoadControls() {
  const VersionFields fields = LoadVersion(version_);
  fieldTexts_.Show(fields.texts);
  parent_->setText(DidText(fields.parent));
  comment_->setPlainText(DidText(fields.comment));
  details_.Show(fields.details);
  compat_.Show(fields.compat);
}

VersionFields TF_VersionEdit::Fields() const {
  VersionFields fields;
  fields.texts = fieldTexts_.Texts();
  fields.parent = DidBytes(parent_->text());
  fields.comment = DidBytes(MemoText(*comment_));
  fields.details = details_.Shown();
  fields.compat = compat_.Shown();
  return fields;
}

std::string TF_VersionEdit::StoreControls() {
  StoreVersion(Fields(), version_);
  return {};
}

}  // namespace moswit
