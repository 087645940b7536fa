// SPDX-License-Identifier: GPL-2.0-or-later
// The named bits and fields of database records: file and range attributes,
// languages, fixes, chipsets and the defaults of the packed compatibility
// fields. Every module uses these names instead of bare numbers.
#pragma once

#include <cstdint>

namespace moswit {

using AttributeFlags = uint32_t;
using LanguageFlags = uint32_t;
using FixFlags = uint8_t;
// Low byte: trainer options; high byte: in-game keys.
using TrainerCounts = uint16_t;
// Any 8-bit value may be stored; only kChipsetAga is tested by the names.
using ChipsetKind = uint8_t;

// AttributeFlags of files and ranges. Bits 11-15, 23, 29 and 30 are never set.
// Primary type.
constexpr AttributeFlags kAttrBoot = 1u << 0;
constexpr AttributeFlags kAttrPreGame = 1u << 1;
constexpr AttributeFlags kAttrGame = 1u << 2;
constexpr AttributeFlags kAttrAddendum = 1u << 3;
constexpr AttributeFlags kAttrUnused = 1u << 31;
// Secondary.
constexpr AttributeFlags kAttrCode = 1u << 4;
constexpr AttributeFlags kAttrSubcode = 1u << 5;
constexpr AttributeFlags kAttrGraphics = 1u << 6;
constexpr AttributeFlags kAttrSound = 1u << 7;
constexpr AttributeFlags kAttrCustom = 1u << 8;
constexpr AttributeFlags kAttrSavegame = 1u << 9;
constexpr AttributeFlags kAttrHighscores = 1u << 10;
// Flags.
constexpr AttributeFlags kAttrExclude = 1u << 16;
constexpr AttributeFlags kAttrShared = 1u << 17;
constexpr AttributeFlags kAttrOptional = 1u << 18;
constexpr AttributeFlags kAttrWb = 1u << 19;
constexpr AttributeFlags kAttrDynamic = 1u << 20;
constexpr AttributeFlags kAttrDynSize = 1u << 21;
constexpr AttributeFlags kAttrLoad = 1u << 22;
// Descriptors.
constexpr AttributeFlags kAttrReleasetro = 1u << 24;
constexpr AttributeFlags kAttrCracktro = 1u << 25;
constexpr AttributeFlags kAttrTrainer = 1u << 26;
constexpr AttributeFlags kAttrHdInstall = 1u << 27;
constexpr AttributeFlags kAttrDocs = 1u << 28;

// LanguageFlags. Bits 8-30 are never set.
constexpr LanguageFlags kLangEn = 1u << 0;
constexpr LanguageFlags kLangDe = 1u << 1;
constexpr LanguageFlags kLangPl = 1u << 2;
constexpr LanguageFlags kLangDk = 1u << 3;
constexpr LanguageFlags kLangSe = 1u << 4;
constexpr LanguageFlags kLangNo = 1u << 5;
constexpr LanguageFlags kLangNl = 1u << 6;
constexpr LanguageFlags kLangBe = 1u << 7;  // "Be" in the editor, "Fr" in names
constexpr LanguageFlags kLangOther = 1u << 31;
constexpr LanguageFlags kDefaultLanguages = kLangEn;

// FixFlags.
constexpr FixFlags kFixAga = 1u << 0;
constexpr FixFlags kFixHd = 1u << 1;
constexpr FixFlags kFix680x0 = 1u << 2;

// ChipsetKind.
constexpr ChipsetKind kChipsetOcs = 0;
constexpr ChipsetKind kChipsetEcs = 1;
constexpr ChipsetKind kChipsetAga = 2;

// A three-state check box packed into two bits; 3 never occurs and shows as
// Unchecked.
enum class TriState : uint8_t { Unchecked = 0, Checked = 1, Greyed = 2 };

constexpr TriState GetTriState(uint32_t field, unsigned shift) {
  uint32_t bits = (field >> shift) & 3u;
  return bits == 3u ? TriState::Unchecked : static_cast<TriState>(bits);
}

// The values a new version's CompatInfo starts with; the bits of each are
// named in the packed table (packedfields.h).
namespace compat {

// New-version defaults.
constexpr uint16_t kDefaultCpu = 0x0AAA;            // all greyed
constexpr uint8_t kDefaultChipsetEmulation = 0x28;  // cycle exact unchecked
constexpr uint16_t kDefaultFloppy = 0x10AA;         // speeds greyed, 1 drive
constexpr uint8_t kDefaultGraphicsChipset = 0x2A;   // all greyed
constexpr uint8_t kDefaultSpecialMemory = 0;
constexpr uint16_t kDefaultSpecialChipKb = 512;
constexpr uint16_t kDefaultSpecialSlowKb = 512;
constexpr uint16_t kDefaultSpecialFastKb = 0;
constexpr uint16_t kDefaultKickstart = 0x0AAA;        // all greyed
constexpr uint16_t kDefaultSpecialSettings = 0x5008;  // fastest greyed, value 5
constexpr uint32_t kDefaultWinFellow = 0x150B0F02;    // greyed, 2001.11.15
constexpr uint32_t kDefaultWinUae = 0x11608002;       // greyed, 0.8.22 r1

}  // namespace compat

}  // namespace moswit
