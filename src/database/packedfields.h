// SPDX-License-Identifier: GPL-2.0-or-later
// The values packed into the bits of a version's numbers, one table per
// holder: the fixes, languages, trainer counts and chipset of VersionRecord,
// and every piece of its CompatInfo. A row names the member a value sits in,
// its bit position and width, its kind, and the control that shows it in
// the Version editor (objectName, caption, label) with the group and line it
// stands on. The DID reader and writer take the CompatInfo pieces from the
// table, and the editor's load, store and boxes all go through the rows, so
// adding a box, a language or a number is adding its row.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "base/controltext.h"
#include "database/attributes.h"
#include "database/didfields.h"
#include "database/records.h"

namespace moswit {

enum class PackedKind : uint8_t {
  kThreeStates,  // two bits, a TriState; its box cycles through all three
  kTwoStates,    // the same two bits; its box only checks and unchecks, yet shows greyed
  kNumber,       // `width` bits in decimal, `base` added when shown
  kFlag,         // one bit, a box checked or not
  kChoice,       // one radio button: the member holds `base`; when no button's value
                 // matches, the member's first row is shown and stored
};

// The group of the Version editor a control stands in.
enum class PackedGroup : uint8_t {
  kTrainer,    // "Version Details": "Trainer"
  kChipset,    // "Designed for"
  kFixes,      // "Fixes"
  kLanguages,  // "Languages", three columns of three
  kCpu,        // "Compatibility" columns from here on
  kChipsetEmulation,
  kSpecialSettings,
  kFloppy,
  kKickstart,
  kGraphics,
  kSpecialMemory,
  kTestedWith,
};

// Where a control's label stands beside it.
enum class LabelAt : uint8_t { kNone, kBefore, kAfter, kAbove };

template <typename Holder>
using PackedMember = std::variant<uint8_t Holder::*, uint16_t Holder::*, uint32_t Holder::*>;

template <typename Holder>
struct PackedField {
  PackedMember<Holder> member;
  uint8_t shift;  // the position of the lowest bit
  uint8_t width;  // in bits
  PackedKind kind;
  uint32_t base;  // kNumber: added when shown; kChoice: the button's value
  ControlText control;
  ControlText label = {};
  LabelAt labelAt = LabelAt::kNone;
  PackedGroup group = PackedGroup::kTrainer;
  uint8_t line = 0;    // the controls of a group on one line stand side by side
  uint8_t pixels = 0;  // a number edit's width
};

// VersionRecord for the details, CompatInfo for the compatibility. The rows
// of a member stand together, and CompatInfo's members in the order the DID
// file writes them.
template <typename Holder>
std::span<const PackedField<Holder>> PackedTable();

// What the controls of a packed table show, by objectName: each box's state
// (a flag's or radio button's checked or unchecked) and each number's text.
struct PackedControls {
  std::map<std::string, TriState, std::less<>> boxes;
  EditTexts numbers;
  bool operator==(const PackedControls&) const = default;
};

// Each box shows the state at its position (3 shows as unchecked), each
// number its bits' value plus its base in decimal.
template <typename Holder>
PackedControls LoadPacked(std::span<const PackedField<Holder>> table, const Holder& holder);

// Composes every member the table covers anew from its controls alone: every
// box's state and every number (read from its digits, its base taken off)
// is added at its bit position, a number too large for its bits spilling
// into the bits above, and the sum is cut to the member's width. Bits no
// control covers become 0; a control missing from `shown` counts as
// unchecked or 0. Never fails.
template <typename Holder>
void StorePacked(std::span<const PackedField<Holder>> table, const PackedControls& shown,
                 Holder& holder);

// The rows of `group`, in table order.
template <typename Holder>
std::vector<const PackedField<Holder>*> PackedGroupFields(
    std::span<const PackedField<Holder>> table, PackedGroup group);

}  // namespace moswit
