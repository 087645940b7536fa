// SPDX-License-Identifier: GPL-2.0-or-later
#include "gui/editorregistry.h"

namespace moswit {

EditorRegistry& EditorTables() {
  static EditorRegistry tables;
  return tables;
}

}  // namespace moswit
