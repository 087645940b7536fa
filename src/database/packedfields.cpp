// SPDX-License-Identifier: GPL-2.0-or-later
#include "database/packedfields.h"

#include <bit>
#include <type_traits>

#include "base/numbertext.h"

namespace moswit {

namespace {

using enum PackedKind;
using enum PackedGroup;
using enum LabelAt;

constexpr uint8_t Bit(uint32_t flag) { return static_cast<uint8_t>(std::countr_zero(flag)); }

using V = VersionRecord;

// Member, shift, width, kind, base, control, label, label at, group, line, pixels.
// clang-format off
constexpr PackedField<VersionRecord> kVersionPacked[] = {
    {&V::trainer,   0,                 8, kNumber, 0,            {"ED_TrainerOpts"},         {"ST_TrainerOpts", "Opts"},        kAfter, kTrainer, 0, 30},
    {&V::trainer,   8,                 8, kNumber, 0,            {"ED_TrainerKeys"},         {"ST_TrainerKeys", "InGame-Keys"}, kAfter, kTrainer, 0, 30},
    {&V::chipset,   0,                 8, kChoice, kChipsetOcs,  {"RB_OCS", "OCS"},          {}, kNone, kChipset,   0},
    {&V::chipset,   0,                 8, kChoice, kChipsetEcs,  {"RB_ECS", "ECS"},          {}, kNone, kChipset,   0},
    {&V::chipset,   0,                 8, kChoice, kChipsetAga,  {"RB_AGA", "AGA"},          {}, kNone, kChipset,   0},
    {&V::fixes,     Bit(kFixAga),      1, kFlag,   0,            {"CB_AGAFix", "AGA"},       {}, kNone, kFixes,     0},
    {&V::fixes,     Bit(kFixHd),       1, kFlag,   0,            {"CB_HDFix", "HD"},         {}, kNone, kFixes,     0},
    {&V::fixes,     Bit(kFix680x0),    1, kFlag,   0,            {"CB_680x0Fix", "680x0"},   {}, kNone, kFixes,     0},
    {&V::languages, Bit(kLangEn),      1, kFlag,   0,            {"CB_En", "En"},            {}, kNone, kLanguages, 0},
    {&V::languages, Bit(kLangDe),      1, kFlag,   0,            {"CB_De", "De"},            {}, kNone, kLanguages, 0},
    {&V::languages, Bit(kLangPl),      1, kFlag,   0,            {"CB_Pl", "Pl"},            {}, kNone, kLanguages, 0},
    {&V::languages, Bit(kLangDk),      1, kFlag,   0,            {"CB_Dk", "Dk"},            {}, kNone, kLanguages, 0},
    {&V::languages, Bit(kLangSe),      1, kFlag,   0,            {"CB_Se", "Se"},            {}, kNone, kLanguages, 0},
    {&V::languages, Bit(kLangNo),      1, kFlag,   0,            {"CB_No", "No"},            {}, kNone, kLanguages, 0},
    {&V::languages, Bit(kLangNl),      1, kFlag,   0,            {"CB_Nl", "Nl"},            {}, kNone, kLanguages, 0},
    {&V::languages, Bit(kLangBe),      1, kFlag,   0,            {"CB_Be", "Be"},            {}, kNone, kLanguages, 0},
    {&V::languages, Bit(kLangOther),   1, kFlag,   0,            {"CB_OtherLang", "Other"},  {}, kNone, kLanguages, 0},
};
// clang-format on

using C = CompatInfo;

// In the DID file's order of the members. Within a member, the order the
// controls stand in.
// clang-format off
constexpr PackedField<CompatInfo> kCompatPacked[] = {
    {&C::cpu,              0,  2, kThreeStates, 0,    {"CB_68000", "00"},                   {}, kNone, kCpu, 0},
    {&C::cpu,              2,  2, kThreeStates, 0,    {"CB_68010", "10"},                   {}, kNone, kCpu, 1},
    {&C::cpu,              4,  2, kThreeStates, 0,    {"CB_68020", "20"},                   {}, kNone, kCpu, 2},
    {&C::cpu,              6,  2, kThreeStates, 0,    {"CB_680EC20", "EC20"},               {}, kNone, kCpu, 3},
    {&C::cpu,              8,  2, kThreeStates, 0,    {"CB_68040", "40"},                   {}, kNone, kCpu, 4},
    {&C::cpu,              10, 2, kThreeStates, 0,    {"CB_FPU", "FPU"},                    {}, kNone, kCpu, 5},
    {&C::chipsetEmulation, 0,  2, kTwoStates,   0,    {"CB_CycleExact", "cycle exact needed"}, {}, kNone, kChipsetEmulation, 0},
    {&C::chipsetEmulation, 2,  2, kThreeStates, 0,    {"CB_ImmediateBlitter", "immediate blitter"}, {}, kNone, kChipsetEmulation, 1},
    {&C::chipsetEmulation, 4,  2, kThreeStates, 0,    {"CB_FastCopper", "fast copper"},     {}, kNone, kChipsetEmulation, 2},
    {&C::floppy,           6,  2, kThreeStates, 0,    {"CB_FloppyTurbo", "turbo mode"},     {}, kNone, kFloppy, 0},
    {&C::floppy,           0,  2, kThreeStates, 0,    {"CB_Floppy2x", "2x"},                {}, kNone, kFloppy, 1},
    {&C::floppy,           2,  2, kThreeStates, 0,    {"CB_Floppy4x", "4x"},                {}, kNone, kFloppy, 2},
    {&C::floppy,           4,  2, kThreeStates, 0,    {"CB_Floppy8x", "8x"},                {}, kNone, kFloppy, 3},
    {&C::floppy,           12, 4, kNumber,      0,    {"ED_FDDNum"},                        {}, kNone, kFloppy, 4, 26},
    {&C::floppy,           8,  2, kTwoStates,   0,    {"CB_FDDNum", "needed"},              {"Label7", "FDD"}, kBefore, kFloppy, 4},
    {&C::graphicsChipset,  0,  2, kThreeStates, 0,    {"CB_OCS", "OCS"},                    {}, kNone, kGraphics, 0},
    {&C::graphicsChipset,  2,  2, kThreeStates, 0,    {"CB_ECS", "ECS"},                    {}, kNone, kGraphics, 1},
    {&C::graphicsChipset,  4,  2, kThreeStates, 0,    {"CB_AGA", "AGA"},                    {}, kNone, kGraphics, 2},
    {&C::specialMemory,    0,  2, kTwoStates,   0,    {"CB_SpecialMem", "needed (in KB)"},  {}, kNone, kSpecialMemory, 0},
    {&C::specialChipKb,    0,  16, kNumber,     0,    {"ED_SpecialChip"},                   {"StaticText1", "Chip"}, kAbove, kSpecialMemory, 1, 40},
    {&C::specialSlowKb,    0,  16, kNumber,     0,    {"ED_SpecialSlow"},                   {"StaticText2", "Slow"}, kAbove, kSpecialMemory, 1, 40},
    {&C::specialFastKb,    0,  16, kNumber,     0,    {"ED_SpecialFast"},                   {"StaticText3", "Fast"}, kAbove, kSpecialMemory, 1, 40},
    {&C::kickstart,        0,  2, kThreeStates, 0,    {"CB_KS12", "1.2"},                   {}, kNone, kKickstart, 0},
    {&C::kickstart,        2,  2, kThreeStates, 0,    {"CB_KS13", "1.3"},                   {}, kNone, kKickstart, 1},
    {&C::kickstart,        4,  2, kThreeStates, 0,    {"CB_KS21", "2.1"},                   {}, kNone, kKickstart, 2},
    {&C::kickstart,        6,  2, kThreeStates, 0,    {"CB_KS30", "3.0"},                   {}, kNone, kKickstart, 3},
    {&C::kickstart,        8,  2, kThreeStates, 0,    {"CB_KS31", "3.1"},                   {}, kNone, kKickstart, 4},
    {&C::kickstart,        10, 2, kThreeStates, 0,    {"CB_KS35", "3.5"},                   {}, kNone, kKickstart, 5},
    {&C::specialSettings,  0,  2, kTwoStates,   0,    {"CB_MoreCompatible", "more compatible"}, {}, kNone, kSpecialSettings, 0},
    {&C::specialSettings,  2,  2, kThreeStates, 0,    {"CB_FastestSpeed", "fastest speed"}, {}, kNone, kSpecialSettings, 1},
    {&C::specialSettings,  4,  2, kTwoStates,   0,    {"CB_SpeedAdjust", "needs speed adj."}, {}, kNone, kSpecialSettings, 2},
    {&C::specialSettings,  12, 4, kNumber,      0,    {"ED_SpeedAdjust"},                   {}, kNone, kSpecialSettings, 2, 26},
    {&C::winUae,           0,  2, kThreeStates, 0,    {"CB_WinUAE", "WinUAE"},              {}, kNone, kTestedWith, 0},
    {&C::winUae,           8,  4, kNumber,      0,    {"ED_WinUAEv1"},                      {}, kNone, kTestedWith, 0, 22},
    {&C::winUae,           12, 8, kNumber,      0,    {"ED_WinUAEv2"},                      {"StaticText4", "."}, kBefore, kTestedWith, 0, 26},
    {&C::winUae,           20, 8, kNumber,      0,    {"ED_WinUAEv3"},                      {"StaticText5", "."}, kBefore, kTestedWith, 0, 26},
    {&C::winUae,           28, 4, kNumber,      0,    {"ED_WinUAEv4"},                      {"StaticText6", "r"}, kBefore, kTestedWith, 0, 22},
    {&C::winFellow,        0,  2, kThreeStates, 0,    {"CB_WinFellow", "WFellow"},          {}, kNone, kTestedWith, 1},
    // The year is held as the year minus 1980; one before wraps to 255.
    {&C::winFellow,        24, 8, kNumber,      1980, {"ED_WinFellowv1"},                   {}, kNone, kTestedWith, 1, 38},
    {&C::winFellow,        16, 8, kNumber,      0,    {"ED_WinFellowv2"},                   {}, kNone, kTestedWith, 1, 26},
    {&C::winFellow,        8,  8, kNumber,      0,    {"ED_WinFellowv3"},                   {}, kNone, kTestedWith, 1, 26},
};
// clang-format on

template <typename Holder>
uint32_t MemberValue(const PackedMember<Holder>& member, const Holder& holder) {
  return std::visit([&](auto m) { return static_cast<uint32_t>(holder.*m); }, member);
}

// The value a member's radio buttons show: its own when a button holds it,
// else the first button's.
template <typename Holder>
uint32_t ChosenValue(std::span<const PackedField<Holder>> table, const PackedMember<Holder>& member,
                     uint32_t value) {
  const PackedField<Holder>* first = nullptr;
  for (const PackedField<Holder>& field : table) {
    if (field.kind != kChoice || field.member != member) continue;
    if (field.base == value) return value;
    if (first == nullptr) first = &field;
  }
  return first->base;
}

uint32_t Mask(unsigned width) { return width >= 32 ? ~0u : (1u << width) - 1u; }

}  // namespace

template <>
std::span<const PackedField<VersionRecord>> PackedTable<VersionRecord>() {
  return kVersionPacked;
}
template <>
std::span<const PackedField<CompatInfo>> PackedTable<CompatInfo>() {
  return kCompatPacked;
}

template <typename Holder>
PackedControls LoadPacked(std::span<const PackedField<Holder>> table, const Holder& holder) {
  PackedControls shown;
  for (const PackedField<Holder>& field : table) {
    const uint32_t value = MemberValue(field.member, holder);
    const uint32_t bits = (value >> field.shift) & Mask(field.width);
    switch (field.kind) {
      case kThreeStates:
      case kTwoStates:
        shown.boxes[field.control.name] = GetTriState(value, field.shift);
        break;
      case kFlag:
        shown.boxes[field.control.name] = bits != 0 ? TriState::Checked : TriState::Unchecked;
        break;
      case kNumber:
        shown.numbers[field.control.name] = IntToDec(bits + field.base);
        break;
      case kChoice:
        shown.boxes[field.control.name] = field.base == ChosenValue(table, field.member, value)
                                              ? TriState::Checked
                                              : TriState::Unchecked;
        break;
    }
  }
  return shown;
}

template <typename Holder>
void StorePacked(std::span<const PackedField<Holder>> table, const PackedControls& shown,
                 Holder& holder) {
  const auto box = [&](const PackedField<Holder>& field) {
    const auto state = shown.boxes.find(field.control.name);
    return state == shown.boxes.end() ? TriState::Unchecked : state->second;
  };
  for (size_t first = 0; first < table.size();) {
    size_t end = first;
    while (end < table.size() && table[end].member == table[first].member) ++end;
    uint32_t sum = 0;
    bool chosen = false;
    for (size_t i = first; i < end; ++i) {
      const PackedField<Holder>& field = table[i];
      uint32_t value = 0;
      switch (field.kind) {
        case kThreeStates:
        case kTwoStates:
          value = static_cast<uint32_t>(box(field));
          break;
        case kFlag:
          value = box(field) == TriState::Checked ? 1u : 0u;
          break;
        case kNumber: {
          const auto text = shown.numbers.find(field.control.name);
          value = (text == shown.numbers.end() ? 0u : DecToInt(text->second)) - field.base;
          break;
        }
        case kChoice:
          if (!chosen && box(field) == TriState::Checked) {
            sum = field.base;
            chosen = true;
          } else if (i == first) {
            sum = field.base;
          }
          continue;
      }
      sum += value << field.shift;
    }
    std::visit(
        [&](auto member) {
          using T = std::remove_reference_t<decltype(holder.*member)>;
          holder.*member = static_cast<T>(sum);
        },
        table[first].member);
    first = end;
  }
}

template <typename Holder>
std::vector<const PackedField<Holder>*> PackedGroupFields(
    std::span<const PackedField<Holder>> table, PackedGroup group) {
  std::vector<const PackedField<Holder>*> fields;
  for (const PackedField<Holder>& field : table) {
    if (field.group == group) fields.push_back(&field);
  }
  return fields;
}

#define MOSWIT_PACKED_HOLDER(Holder)                                                               \
  template PackedControls LoadPacked(std::span<const PackedField<Holder>>, const Holder&);         \
  template void StorePacked(std::span<const PackedField<Holder>>, const PackedControls&, Holder&); \
  template std::vector<const PackedField<Holder>*> PackedGroupFields(                              \
      std::span<const PackedField<Holder>>, PackedGroup);
MOSWIT_PACKED_HOLDER(VersionRecord)
MOSWIT_PACKED_HOLDER(CompatInfo)
#undef MOSWIT_PACKED_HOLDER

}  // namespace moswit
