// SPDX-License-Identifier: GPL-2.0-or-later
#include <string>

#include "base/codepage.h"
#include "base/numbertext.h"
#include "base/pathtext.h"
#include "cli/commands.h"
#include "database/didreader.h"
#include "database/didwriter.h"
#include "database/standardname.h"

namespace moswit::cli {

int RunDid(const Args& args) {
  bool partial = false;
  const auto database = ReadOrReport(args[0], &partial);
  // A copy without what was not understood would pass for the whole file.
  if (!database || partial) return 1;
  if (args[1] == "-") {
    WriteOut(FormatDatabase(*database));
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (const auto error = WriteDatabase(*database, PathFromText(args[1]))) {
    ReportError(FormatFileError(*error));
    return 1;
  }
  return 0;
}

int RunNames(const Args& args) {
  bool partial = false;
  const auto database = ReadOrReport(args[0], &partial);
  if (!database) return 1;
  std::string out;
  uint32_t gameNumber = 0;
  for (const GameRecord& game : database->games) {
    std::string gameText = IntToDec(++gameNumber);
    uint32_t versionNumber = 0;
    for (const VersionRecord& version : game.versions) {
      out += "V\t" + gameText + "\t" + IntToDec(++versionNumber) + "\t" +
             Utf8FromCp1252(VersionTagString(game, version)) + "\n";
    }
    uint32_t diskNumber = 0;
    for (const DiskRecord& disk : game.disks) {
      out += "D\t" + gameText + "\t" + IntToDec(++diskNumber) + "\t" +
             Utf8FromCp1252(StandardName(game, disk)) + "\n";
    }
  }
  WriteOut(out);
  return 0;
}

}  // namespace moswit::cli
