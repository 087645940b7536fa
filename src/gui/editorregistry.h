// SPDX-License-Identifier: GPL-2.0-or-later
// The program's editor registry: the OpenEditors tables of the record
// editor windows. The main window clears it when it is created, record
// editors take and mark their slots, the DID Editor frees them and the
// Inspector finds the open Disk editors there.
#pragma once

#include "diskcontents/openeditors.h"

namespace moswit {

class RecordEditor;

using EditorRegistry = OpenEditors<RecordEditor>;
using RecordEditorTable = EditorTable<RecordEditor>;

EditorRegistry& EditorTables();

}  // namespace moswit
