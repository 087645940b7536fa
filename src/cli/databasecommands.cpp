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

// did [--lenient] IN OUT
int RunDid(const Args& args) {
  const bool lenient = args.size() == 3 && args[0] == "--lenient";
  if (args.size() == 3 && !lenient) return UsageError();
  const std::string& in = args[args.size() - 2];
  const std::string& out = args.back();
  if (out != "-" && !DidTargetUsable(out)) return 2;
  bool partial = false;
  const auto database = ReadOrReport(in, &partial);
  // A copy without what was not understood would pass for the whole file,
  // unless the user asked for what was understood.
  if (!database || (partial && !lenient)) return 1;
  if (out == "-") {
    WriteOut(FormatDatabase(*database));
    return 0;
  }
  if (const auto error = WriteDatabase(*database, PathFromText(out))) {
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
