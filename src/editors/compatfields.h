// SPDX-License-Identifier: GPL-2.0-or-later
// The compatibility group of the Version editor: one three-state box per
// TriState of CompatInfo and one edit per number, and the composition of
// the packed fields from them.
//
// Each field is composed anew from its controls: every box's state and
// every number (read from its digits) is added at its bit position, a
// number too large for its bits spilling into the bits above, and the sum is
// cut to the field's width. Bits no control covers become 0.
#pragma once

#include <string>

#include "database/attributes.h"
#include "database/records.h"

namespace moswit {

struct CompatFields {
  // "CPU 680..." -> cpu
  TriState cpu68000{};    // CB_68000
  TriState cpu68010{};    // CB_68010
  TriState cpu68020{};    // CB_68020
  TriState cpu68EC020{};  // CB_680EC20
  TriState cpu68040{};    // CB_68040
  TriState cpuFpu{};      // CB_FPU
  // "Chipset emulation" -> chipsetEmulation
  TriState cycleExact{};        // CB_CycleExact
  TriState immediateBlitter{};  // CB_ImmediateBlitter
  TriState fastCopper{};        // CB_FastCopper
  // "Special settings" -> specialSettings
  TriState moreCompatible{};     // CB_MoreCompatible
  TriState fastestSpeed{};       // CB_FastestSpeed
  TriState speedAdjust{};        // CB_SpeedAdjust
  std::string speedAdjustValue;  // ED_SpeedAdjust, bits 12-15
  // "Floppy emulation" and "FDD" -> floppy
  TriState floppy2x{};      // CB_Floppy2x
  TriState floppy4x{};      // CB_Floppy4x
  TriState floppy8x{};      // CB_Floppy8x
  TriState floppyTurbo{};   // CB_FloppyTurbo
  TriState drivesNeeded{};  // CB_FDDNum
  std::string driveCount;   // ED_FDDNum, bits 12-15
  // "Kickstart version" -> kickstart
  TriState kick12{};  // CB_KS12
  TriState kick13{};  // CB_KS13
  TriState kick21{};  // CB_KS21
  TriState kick30{};  // CB_KS30
  TriState kick31{};  // CB_KS31
  TriState kick35{};  // CB_KS35
  // "Graphics chipset" -> graphicsChipset
  TriState graphicsOcs{};  // CB_OCS
  TriState graphicsEcs{};  // CB_ECS
  TriState graphicsAga{};  // CB_AGA
  // "Special memory settings" -> specialMemory and the three sizes in KB
  TriState specialMemory{};  // CB_SpecialMem
  std::string specialChip;   // ED_SpecialChip
  std::string specialSlow;   // ED_SpecialSlow
  std::string specialFast;   // ED_SpecialFast
  // "Tested with" -> winUae: major.minor.third r revision
  TriState winUae{};           // CB_WinUAE
  std::string winUaeMajor;     // ED_WinUAEv1, bits 8-11
  std::string winUaeMinor;     // ED_WinUAEv2, bits 12-19
  std::string winUaeThird;     // ED_WinUAEv3, bits 20-27
  std::string winUaeRevision;  // ED_WinUAEv4, bits 28-31
  // "Tested with" -> winFellow: year.second.third
  TriState winFellow{};         // CB_WinFellow
  std::string winFellowYear;    // ED_WinFellowv1, bits 24-31 hold the year minus 1980
  std::string winFellowSecond;  // ED_WinFellowv2, bits 16-23
  std::string winFellowThird;   // ED_WinFellowv3, bits 8-15
  bool operator==(const CompatFields&) const = default;
};

// Each box shows the state at its position (3 shows as unchecked), each
// edit its bits' value in decimal (the WinFellow year with 1980 added).
CompatFields LoadCompat(const CompatInfo& compat);

// Never fails: numbers are read from their digits.
CompatInfo ComposeCompat(const CompatFields& fields);

}  // namespace moswit
