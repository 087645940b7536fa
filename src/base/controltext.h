// SPDX-License-Identifier: GPL-2.0-or-later
// A control as the windows and their tests know it: its objectName and the
// caption it shows. The tables of the core name their controls with it.
#pragma once

namespace moswit {

struct ControlText {
  const char* name = nullptr;  // null: no such control
  const char* caption = nullptr;
};

}  // namespace moswit
