// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/compatfields.h"

#include <initializer_list>

#include "base/numbertext.h"

namespace moswit {

namespace {

using namespace compat;

// One control's contribution: its value at the position of its lowest bit.
struct Part {
  uint32_t value;
  unsigned shift;
};

Part Box(TriState state, unsigned shift) { return {static_cast<uint32_t>(state), shift}; }
Part Number(const std::string& text, unsigned shift) { return {DecToInt(text), shift}; }

// The sum in 32-bit arithmetic; the callers cut it to their field's width,
// which keeps the bits a large number spills into.
uint32_t Compose(std::initializer_list<Part> parts) {
  uint32_t sum = 0;
  for (const Part& part : parts) sum += part.value << part.shift;
  return sum;
}

std::string Bits(uint32_t field, unsigned shift, uint32_t mask) {
  return IntToDec((field >> shift) & mask);
}

}  // namespace

CompatFields LoadCompat(const CompatInfo& compat) {
  CompatFields f;
  f.cpu68000 = GetTriState(compat.cpu, kCpu68000);
  f.cpu68010 = GetTriState(compat.cpu, kCpu68010);
  f.cpu68020 = GetTriState(compat.cpu, kCpu68020);
  f.cpu68EC020 = GetTriState(compat.cpu, kCpu68EC020);
  f.cpu68040 = GetTriState(compat.cpu, kCpu68040);
  f.cpuFpu = GetTriState(compat.cpu, kCpuFpu);

  f.cycleExact = GetTriState(compat.chipsetEmulation, kCycleExact);
  f.immediateBlitter = GetTriState(compat.chipsetEmulation, kImmediateBlitter);
  f.fastCopper = GetTriState(compat.chipsetEmulation, kFastCopper);

  f.moreCompatible = GetTriState(compat.specialSettings, kMoreCompatible);
  f.fastestSpeed = GetTriState(compat.specialSettings, kFastestSpeed);
  f.speedAdjust = GetTriState(compat.specialSettings, kNeedsSpeedAdjust);
  f.speedAdjustValue = Bits(compat.specialSettings, kSpeedAdjustValue, 0xF);

  f.floppy2x = GetTriState(compat.floppy, kFloppy2x);
  f.floppy4x = GetTriState(compat.floppy, kFloppy4x);
  f.floppy8x = GetTriState(compat.floppy, kFloppy8x);
  f.floppyTurbo = GetTriState(compat.floppy, kFloppyTurbo);
  f.drivesNeeded = GetTriState(compat.floppy, kFloppyDrivesNeeded);
  f.driveCount = Bits(compat.floppy, kFloppyDriveCount, 0xF);

  f.kick12 = GetTriState(compat.kickstart, kKick12);
  f.kick13 = GetTriState(compat.kickstart, kKick13);
  f.kick21 = GetTriState(compat.kickstart, kKick21);
  f.kick30 = GetTriState(compat.kickstart, kKick30);
  f.kick31 = GetTriState(compat.kickstart, kKick31);
  f.kick35 = GetTriState(compat.kickstart, kKick35);

  f.graphicsOcs = GetTriState(compat.graphicsChipset, kGraphicsOcs);
  f.graphicsEcs = GetTriState(compat.graphicsChipset, kGraphicsEcs);
  f.graphicsAga = GetTriState(compat.graphicsChipset, kGraphicsAga);

  f.specialMemory = GetTriState(compat.specialMemory, kSpecialMemoryNeeded);
  f.specialChip = IntToDec(compat.specialChipKb);
  f.specialSlow = IntToDec(compat.specialSlowKb);
  f.specialFast = IntToDec(compat.specialFastKb);

  f.winUae = GetTriState(compat.winUae, kWinUaeTested);
  f.winUaeMajor = Bits(compat.winUae, kWinUaeMajor, 0xF);
  f.winUaeMinor = Bits(compat.winUae, kWinUaeMinor, 0xFF);
  f.winUaeThird = Bits(compat.winUae, kWinUaeThird, 0xFF);
  f.winUaeRevision = Bits(compat.winUae, kWinUaeRevision, 0xF);

  f.winFellow = GetTriState(compat.winFellow, kWinFellowTested);
  f.winFellowYear = IntToDec(((compat.winFellow >> kWinFellowFirst) & 0xFF) + kWinFellowYearBase);
  f.winFellowSecond = Bits(compat.winFellow, kWinFellowSecond, 0xFF);
  f.winFellowThird = Bits(compat.winFellow, kWinFellowThird, 0xFF);
  return f;
}

CompatInfo ComposeCompat(const CompatFields& f) {
  CompatInfo compat;
  compat.cpu = static_cast<uint16_t>(Compose(
      {Box(f.cpu68000, kCpu68000), Box(f.cpu68010, kCpu68010), Box(f.cpu68020, kCpu68020),
       Box(f.cpu68EC020, kCpu68EC020), Box(f.cpu68040, kCpu68040), Box(f.cpuFpu, kCpuFpu)}));
  compat.chipsetEmulation = static_cast<uint8_t>(
      Compose({Box(f.cycleExact, kCycleExact), Box(f.immediateBlitter, kImmediateBlitter),
               Box(f.fastCopper, kFastCopper)}));
  compat.floppy = static_cast<uint16_t>(
      Compose({Box(f.floppy2x, kFloppy2x), Box(f.floppy4x, kFloppy4x), Box(f.floppy8x, kFloppy8x),
               Box(f.floppyTurbo, kFloppyTurbo), Box(f.drivesNeeded, kFloppyDrivesNeeded),
               Number(f.driveCount, kFloppyDriveCount)}));
  compat.graphicsChipset = static_cast<uint8_t>(
      Compose({Box(f.graphicsOcs, kGraphicsOcs), Box(f.graphicsEcs, kGraphicsEcs),
               Box(f.graphicsAga, kGraphicsAga)}));
  compat.specialMemory =
      static_cast<uint8_t>(Compose({Box(f.specialMemory, kSpecialMemoryNeeded)}));
  compat.specialChipKb = static_cast<uint16_t>(DecToInt(f.specialChip));
  compat.specialSlowKb = static_cast<uint16_t>(DecToInt(f.specialSlow));
  compat.specialFastKb = static_cast<uint16_t>(DecToInt(f.specialFast));
  compat.kickstart = static_cast<uint16_t>(
      Compose({Box(f.kick12, kKick12), Box(f.kick13, kKick13), Box(f.kick21, kKick21),
               Box(f.kick30, kKick30), Box(f.kick31, kKick31), Box(f.kick35, kKick35)}));
  compat.specialSettings = static_cast<uint16_t>(Compose(
      {Box(f.moreCompatible, kMoreCompatible), Box(f.fastestSpeed, kFastestSpeed),
       Box(f.speedAdjust, kNeedsSpeedAdjust), Number(f.speedAdjustValue, kSpeedAdjustValue)}));
  compat.winUae = Compose({Box(f.winUae, kWinUaeTested), Number(f.winUaeMajor, kWinUaeMajor),
                           Number(f.winUaeMinor, kWinUaeMinor), Number(f.winUaeThird, kWinUaeThird),
                           Number(f.winUaeRevision, kWinUaeRevision)});
  // A year before 1980 wraps: 1979 keeps 255 in the top byte.
  compat.winFellow = Compose({Box(f.winFellow, kWinFellowTested),
                              Number(f.winFellowThird, kWinFellowThird),
                              Number(f.winFellowSecond, kWinFellowSecond),
                              {DecToInt(f.winFellowYear) - kWinFellowYearBase, kWinFellowFirst}});
  return compat;
}

}  // namespace moswit
