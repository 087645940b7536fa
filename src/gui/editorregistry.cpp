#include "gui/editorregistry.h"

namespace moswit {

EditorRegistry& EditorTables() {
  static EditorRegistry tables;
  return tables;
}

}  // namespace moswit
