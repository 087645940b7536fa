// SPDX-License-Identifier: GPL-2.0-or-later
#include <cstdio>
#include <optional>
#include <string>

#include "base/numbertext.h"
#include "base/pathtext.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "database/didwriter.h"
#include "database/standardname.h"
#include "editors/enrichfromimages.h"

namespace moswit::cli {

// enrich DID FOLDER OUT
int RunEnrich(const Args& args) {
  const std::string& folder = args[1];
  const std::string& out = args[2];
  if (!DidTargetUsable(out)) return 2;
  bool partial = false;
  const auto database = ReadOrReport(args[0], &partial);
  // OUT without what was not understood would pass for the whole database.
  if (!database || partial) return 1;
  if (!FolderReadable(folder)) return 1;

  const bool showProgress = ErrorIsTerminal();
  const EnrichProgress progress = [showProgress](size_t done, size_t total) {
    if (showProgress) std::fputs(("\r\033[K" + EnrichProgressText(done, total)).c_str(), stderr);
  };
  const ImagesFound found =
      FindWholeImages(folder, WantedWholeImages(*database), nullptr, progress);
  if (showProgress && found.listed > 0) std::fputs("\n", stderr);
  const Enrichment enrichment = EnrichDisks(*database, found.images);

  for (const ImageLeftOut& image : found.unreadable) ReportError(image.path + ": " + image.reason);
  for (const ImageLeftOut& image : enrichment.leftOut) {
    ReportError(image.path + ": " + image.reason);
  }
  if (std::optional<FileError> error = WriteDatabase(*database, PathFromText(out))) {
    ReportError(FormatFileError(*error));
    return 1;
  }
  std::string lines;
  for (const DiskEnriched& disk : enrichment.disks) {
    lines += StandardName(*disk.game, *disk.disk) + "\t" + disk.path + "\t" +
             IntToDec(static_cast<uint32_t>(disk.added)) + "\n";
  }
  WriteOut(lines);
  const bool troubles = !found.unreadable.empty() || !enrichment.leftOut.empty();
  return troubles ? 1 : 0;
}

}  // namespace moswit::cli
