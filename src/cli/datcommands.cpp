// SPDX-License-Identifier: GPL-2.0-or-later
#include <cstdio>
#include <optional>
#include <string>

#include "base/pathtext.h"
#include "cli/commands.h"
#include "dat/datimport.h"
#include "database/didwriter.h"

namespace moswit::cli {

// import-dat OUT DAT...
int RunImportDat(const Args& args) {
  const std::string& out = args[0];
  if (!DidTargetUsable(out)) return 2;
  // A new database, as mkdid makes it.
  std::unique_ptr<DatabaseInfo> database = CreateDatabase(out);
  DatImport import(*database);
  bool failed = false;
  for (size_t i = 1; i < args.size(); ++i) {
    if (std::optional<FileError> error = import.Read(args[i])) {
      ReportError(FormatFileError(*error));
      failed = true;
    }
  }
  // Every DAT is read, so each one at fault is named; then nothing is written.
  if (failed) return 1;
  import.MoveInto(*database);
  if (std::optional<FileError> error = WriteDatabase(*database, PathFromText(out))) {
    ReportError(FormatFileError(*error));
    return 1;
  }
  std::fputs((DatImportSummary(import.Counts()) + "\n").c_str(), stderr);
  return 0;
}

}  // namespace moswit::cli
