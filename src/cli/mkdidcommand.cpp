// SPDX-License-Identifier: GPL-2.0-or-later
#include <optional>
#include <string>

#include "base/codepage.h"
#include "base/pathtext.h"
#include "cli/commands.h"
#include "database/didwriter.h"
#include "database/standardname.h"
#include "editors/didfromimages.h"

namespace moswit::cli {

int RunMkdid(const Args& args) {
  const std::string& out = args[0];
  if (!DidTargetUsable(out)) return 2;
  const Args arguments(args.begin() + 1, args.end());
  const DidFromImages built = BuildDidFromImages(ImagesOfArguments(arguments), out);

  for (const ImageLeftOut& image : built.leftOut) ReportError(image.path + ": " + image.reason);
  for (const LargeSet& set : built.tooLarge) {
    ReportError(Utf8FromCp1252(set.setName) + ": a set of " + std::to_string(set.count) +
                " disks; a DID lists at most 255 disks of a set, so each of its images is a "
                "game of its own");
  }
  for (const DiskMissing& disk : built.missing) {
    ReportError(Utf8FromCp1252(disk.setName) + ": disk " + std::to_string(disk.number) + " of " +
                std::to_string(disk.count) + " is missing");
  }
  if (built.lettersReplaced > 0) ReportError(LettersReplacedWarning(built.lettersReplaced));
  if (std::optional<FileError> error = WriteDatabase(*built.database, PathFromText(out))) {
    ReportError(FormatFileError(*error));
    return 1;
  }

  std::string lines;
  for (const ImageWritten& image : built.written) {
    lines += image.path + "\t" + Utf8FromCp1252(StandardName(*image.game, *image.disk)) + "\n";
  }
  WriteOut(lines);
  return built.leftOut.empty() ? 0 : 1;
}

}  // namespace moswit::cli
