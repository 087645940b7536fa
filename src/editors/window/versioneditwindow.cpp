// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/window/versioneditwindow.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>
#include <tuple>

#include "gui/controls.h"
#include "gui/texts.h"

namespace moswit {

namespace {

// Fits a 1366 x 768 screen with the window's frame and a task bar.
constexpr int kWidth = 960;
constexpr int kHeight = 680;

// A box of the compatibility group. Most cycle through unchecked, greyed
// and checked; the others the user can only check and uncheck, though they
// still show greyed when the record holds it.
class CompatBox : public QCheckBox {
 public:
  CompatBox(const char* caption, bool threeStates, QWidget* parent)
      : QCheckBox(Caption(caption), parent), threeStates_(threeStates) {
    setTristate(threeStates);
  }

 protected:
  void nextCheckState() override {
    if (threeStates_) {
      QCheckBox::nextCheckState();
    } else {
      setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
  }

 private:
  bool threeStates_;
};

Qt::CheckState ShownState(TriState state) {
  switch (state) {
    case TriState::Checked:
      return Qt::Checked;
    case TriState::Greyed:
      return Qt::PartiallyChecked;
    case TriState::Unchecked:
      break;
  }
  return Qt::Unchecked;
}

TriState StoredState(Qt::CheckState state) {
  switch (state) {
    case Qt::Checked:
      return TriState::Checked;
    case Qt::PartiallyChecked:
      return TriState::Greyed;
    case Qt::Unchecked:
      break;
  }
  return TriState::Unchecked;
}

struct FlagBox {
  const char* name;
  const char* caption;
  bool VersionFields::*field;
};

constexpr FlagBox kFixBoxes[] = {
    {"CB_AGAFix", "AGA", &VersionFields::fixAga},
    {"CB_HDFix", "HD", &VersionFields::fixHd},
    {"CB_680x0Fix", "680x0", &VersionFields::fix680x0},
};

// Three columns of three, top to bottom.
constexpr FlagBox kLanguageBoxes[] = {
    {"CB_En", "En", &VersionFields::langEn},
    {"CB_De", "De", &VersionFields::langDe},
    {"CB_Pl", "Pl", &VersionFields::langPl},
    {"CB_Dk", "Dk", &VersionFields::langDk},
    {"CB_Se", "Se", &VersionFields::langSe},
    {"CB_No", "No", &VersionFields::langNo},
    {"CB_Nl", "Nl", &VersionFields::langNl},
    {"CB_Be", "Be", &VersionFields::langBe},
    {"CB_OtherLang", "Other", &VersionFields::langOther},
};

struct CompatBoxRow {
  const char* name;
  const char* caption;
  TriState CompatFields::*field;
  bool threeStates = true;
};

using F = CompatFields;

constexpr CompatBoxRow kCpuBoxes[] = {
    {"CB_68000", "00", &F::cpu68000}, {"CB_68010", "10", &F::cpu68010},
    {"CB_68020", "20", &F::cpu68020}, {"CB_680EC20", "EC20", &F::cpu68EC020},
    {"CB_68040", "40", &F::cpu68040}, {"CB_FPU", "FPU", &F::cpuFpu},
};
constexpr CompatBoxRow kChipsetBoxes[] = {
    {"CB_CycleExact", "cycle exact needed", &F::cycleExact, false},
    {"CB_ImmediateBlitter", "immediate blitter", &F::immediateBlitter},
    {"CB_FastCopper", "fast copper", &F::fastCopper},
};
constexpr CompatBoxRow kSpecialBoxes[] = {
    {"CB_MoreCompatible", "more compatible", &F::moreCompatible, false},
    {"CB_FastestSpeed", "fastest speed", &F::fastestSpeed},
};
constexpr CompatBoxRow kFloppyBoxes[] = {
    {"CB_FloppyTurbo", "turbo mode", &F::floppyTurbo},
    {"CB_Floppy2x", "2x", &F::floppy2x},
    {"CB_Floppy4x", "4x", &F::floppy4x},
    {"CB_Floppy8x", "8x", &F::floppy8x},
};
constexpr CompatBoxRow kKickstartBoxes[] = {
    {"CB_KS12", "1.2", &F::kick12}, {"CB_KS13", "1.3", &F::kick13}, {"CB_KS21", "2.1", &F::kick21},
    {"CB_KS30", "3.0", &F::kick30}, {"CB_KS31", "3.1", &F::kick31}, {"CB_KS35", "3.5", &F::kick35},
};
constexpr CompatBoxRow kGraphicsBoxes[] = {
    {"CB_OCS", "OCS", &F::graphicsOcs},
    {"CB_ECS", "ECS", &F::graphicsEcs},
    {"CB_AGA", "AGA", &F::graphicsAga},
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
  const auto number = [this](QWidget* parent, const char* name, std::string VersionFields::*field,
                             int width) {
    QLineEdit* edit = NumberEdit(parent, name, width);
    texts_.emplace_back(edit, field);
    return edit;
  };
  const auto flag = [this](QWidget* parent, const FlagBox& box) {
    QCheckBox* check = MakeCheckBox(parent, box.name, box.caption);
    flags_.emplace_back(check, box.field);
    return check;
  };

  // Left column: the values that override the game's, and the comment.
  QGroupBox* standard = MakeGroup(this, "VE_StandardInfo", "Standard Info");
  QGridLayout* standardGrid = TightGrid(standard);
  fieldTexts_.AddRows(standardGrid, table, EditGroup::kStandardInfo);
  year_ = NumberEdit(standard, "ED_RelYear", 44);
  month_ = NumberEdit(standard, "ED_RelMonth", 30);
  day_ = NumberEdit(standard, "ED_RelDay", 30);
  const int dateRow = standardGrid->rowCount();
  standardGrid->addWidget(MakeLabel(standard, "ST_RD", "Release Date (yyyy-mm-dd)"), dateRow, 0);
  standardGrid->addLayout(Row({year_, month_, day_}), dateRow, 1);

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
  detailRow("ST_Trainer", "Trainer",
            Row({number(details, "ED_TrainerOpts", &VersionFields::trainerOpts, 30),
                 MakeLabel(details, "ST_TrainerOpts", "Opts"),
                 number(details, "ED_TrainerKeys", &VersionFields::trainerKeys, 30),
                 MakeLabel(details, "ST_TrainerKeys", "InGame-Keys")}));
  // "Take parent info" is a raised panel with no action.
  QLabel* takeParent = MakeLabel(details, "B_TakeParent", "Take parent info");
  takeParent->setFrameStyle(QFrame::Panel | QFrame::Raised);
  takeParent->setContentsMargins(6, 1, 6, 1);
  detailRow("ST_Parent", "Parent Version #",
            Row({number(details, "ED_Parent", &VersionFields::parent, 30), takeParent}));
  ocs_ = MakeRadioButton(details, "RB_OCS", "OCS");
  ecs_ = MakeRadioButton(details, "RB_ECS", "ECS");
  aga_ = MakeRadioButton(details, "RB_AGA", "AGA");
  detailRow("ST_Chipset", "Designed for", Row({ocs_, ecs_, aga_}));
  detailRow(
      "ST_Fix", "Fixes",
      Row({flag(details, kFixBoxes[0]), flag(details, kFixBoxes[1]), flag(details, kFixBoxes[2])}));
  auto* languages = new QGridLayout;
  languages->setHorizontalSpacing(10);
  languages->setVerticalSpacing(2);
  for (int i = 0; i < 9; ++i) {
    languages->addWidget(flag(details, kLanguageBoxes[i]), i % 3, i / 3);
  }
  languages->setColumnStretch(3, 1);
  const int languageRow = detailsGrid->rowCount();
  QLabel* languageLabel = MakeLabel(details, "StaticText7", "Languages");
  detailsGrid->addWidget(languageLabel, languageRow, 0, Qt::AlignTop);
  detailsGrid->addLayout(languages, languageRow, 1);
  auto* diskOrder = MakeEdit(details, "ED_DiskOrder");
  texts_.emplace_back(diskOrder, &VersionFields::diskOrder);
  const int orderRow = detailsGrid->rowCount();
  detailsGrid->addWidget(MakeLabel(details, "ST_DiskOrder", "Disk Order"), orderRow, 0);
  detailsGrid->addWidget(diskOrder, orderRow, 1);
  detailsGrid->setRowStretch(detailsGrid->rowCount(), 1);

  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 1);
  columns->addWidget(details, 1);

  // Across the bottom: the emulation compatibility, one column per field.
  QGroupBox* compat =
      MakeGroup(this, "VE_Compat", "Compatibility (greyed = not tested / must not be used)");
  const auto box = [this, compat](const CompatBoxRow& row) {
    auto* check = Named(new CompatBox(row.caption, row.threeStates, compat), row.name);
    compatBoxes_.emplace_back(check, row.field);
    return check;
  };
  const auto compatNumber = [this, compat](const char* name, std::string CompatFields::*field,
                                           int width) {
    QLineEdit* edit = NumberEdit(compat, name, width);
    compatNumbers_.emplace_back(edit, field);
    return edit;
  };
  const auto column = [&](const char* label, const char* caption,
                          std::initializer_list<CompatBoxRow> rows) {
    auto* layout = new QVBoxLayout;
    layout->setSpacing(2);
    if (label != nullptr) layout->addWidget(ColumnCaption(compat, label, caption));
    for (const CompatBoxRow& row : rows) layout->addWidget(box(row));
    return layout;
  };

  QVBoxLayout* cpu =
      column("Label1", "CPU 680...",
             {kCpuBoxes[0], kCpuBoxes[1], kCpuBoxes[2], kCpuBoxes[3], kCpuBoxes[4], kCpuBoxes[5]});
  cpu->addStretch();

  QVBoxLayout* chipset =
      column("Label2", "Chipset emulation", {kChipsetBoxes[0], kChipsetBoxes[1], kChipsetBoxes[2]});
  chipset->addSpacing(6);
  chipset->addWidget(ColumnCaption(compat, "Label3", "Special settings"));
  chipset->addWidget(box(kSpecialBoxes[0]));
  chipset->addWidget(box(kSpecialBoxes[1]));
  chipset->addLayout(Row({box({"CB_SpeedAdjust", "needs speed adj.", &F::speedAdjust, false}),
                          compatNumber("ED_SpeedAdjust", &F::speedAdjustValue, 26)}));
  chipset->addStretch();

  QVBoxLayout* floppy =
      column("Label4", "Floppy emulation",
             {kFloppyBoxes[0], kFloppyBoxes[1], kFloppyBoxes[2], kFloppyBoxes[3]});
  floppy->addLayout(
      Row({compatNumber("ED_FDDNum", &F::driveCount, 26), MakeLabel(compat, "Label7", "FDD"),
           box({"CB_FDDNum", "needed", &F::drivesNeeded, false})}));
  floppy->addStretch();

  QVBoxLayout* kickstart = column("Label5", "Kickstart version",
                                  {kKickstartBoxes[0], kKickstartBoxes[1], kKickstartBoxes[2],
                                   kKickstartBoxes[3], kKickstartBoxes[4], kKickstartBoxes[5]});
  kickstart->addStretch();

  QVBoxLayout* graphics = column("Label6", "Graphics chipset",
                                 {kGraphicsBoxes[0], kGraphicsBoxes[1], kGraphicsBoxes[2]});
  graphics->addSpacing(6);
  graphics->addWidget(ColumnCaption(compat, "Label8", "Special memory settings"));
  graphics->addWidget(box({"CB_SpecialMem", "needed (in KB)", &F::specialMemory, false}));
  auto* memory = new QGridLayout;
  memory->setHorizontalSpacing(3);
  memory->setVerticalSpacing(0);
  const std::tuple<const char*, const char*, const char*, std::string CompatFields::*> sizes[] = {
      {"StaticText1", "Chip", "ED_SpecialChip", &F::specialChip},
      {"StaticText2", "Slow", "ED_SpecialSlow", &F::specialSlow},
      {"StaticText3", "Fast", "ED_SpecialFast", &F::specialFast}};
  int at = 0;
  for (const auto& [label, caption, name, field] : sizes) {
    memory->addWidget(MakeLabel(compat, label, caption), 0, at);
    memory->addWidget(compatNumber(name, field, 40), 1, at);
    ++at;
  }
  memory->setColumnStretch(at, 1);
  graphics->addLayout(memory);
  graphics->addStretch();

  auto* tested = new QVBoxLayout;
  tested->setSpacing(2);
  tested->addWidget(ColumnCaption(compat, "Label9", "Tested with"));
  tested->addLayout(
      Row({box({"CB_WinUAE", "WinUAE", &F::winUae}),
           compatNumber("ED_WinUAEv1", &F::winUaeMajor, 22), MakeLabel(compat, "StaticText4", "."),
           compatNumber("ED_WinUAEv2", &F::winUaeMinor, 26), MakeLabel(compat, "StaticText5", "."),
           compatNumber("ED_WinUAEv3", &F::winUaeThird, 26), MakeLabel(compat, "StaticText6", "r"),
           compatNumber("ED_WinUAEv4", &F::winUaeRevision, 22)}));
  tested->addLayout(Row({box({"CB_WinFellow", "WFellow", &F::winFellow}),
                         compatNumber("ED_WinFellowv1", &F::winFellowYear, 38),
                         compatNumber("ED_WinFellowv2", &F::winFellowSecond, 26),
                         compatNumber("ED_WinFellowv3", &F::winFellowThird, 26)}));
  tested->addStretch();

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
  for (const auto& [edit, field] : texts_) edit->setText(DidText(fields.*field));
  year_->setText(DidText(fields.releaseDate.year));
  month_->setText(DidText(fields.releaseDate.month));
  day_->setText(DidText(fields.releaseDate.day));
  comment_->setPlainText(DidText(fields.comment));
  aga_->setChecked(fields.chipset == kChipsetAga);
  ecs_->setChecked(fields.chipset == kChipsetEcs);
  ocs_->setChecked(fields.chipset != kChipsetAga && fields.chipset != kChipsetEcs);
  for (const auto& [check, field] : flags_) check->setChecked(fields.*field);
  for (const auto& [check, field] : compatBoxes_) {
    check->setCheckState(ShownState(fields.compat.*field));
  }
  for (const auto& [edit, field] : compatNumbers_) edit->setText(DidText(fields.compat.*field));
}

VersionFields TF_VersionEdit::Fields() const {
  VersionFields fields;
  fields.texts = fieldTexts_.Texts();
  for (const auto& [edit, field] : texts_) fields.*field = DidBytes(edit->text());
  fields.releaseDate = {DidBytes(year_->text()), DidBytes(month_->text()), DidBytes(day_->text())};
  fields.comment = DidBytes(MemoText(*comment_));
  fields.chipset = aga_->isChecked() ? kChipsetAga : ecs_->isChecked() ? kChipsetEcs : kChipsetOcs;
  for (const auto& [check, field] : flags_) fields.*field = check->isChecked();
  for (const auto& [check, field] : compatBoxes_) {
    fields.compat.*field = StoredState(check->checkState());
  }
  for (const auto& [edit, field] : compatNumbers_) fields.compat.*field = DidBytes(edit->text());
  return fields;
}

std::string TF_VersionEdit::StoreControls() {
  StoreVersion(Fields(), version_);
  return {};
}

}  // namespace moswit
