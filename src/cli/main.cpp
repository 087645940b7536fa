// SPDX-License-Identifier: GPL-2.0-or-later
#include <algorithm>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/console.h"
#include "compare/compareimage.h"

namespace {

using moswit::cli::Command;

// Every command of the tool; `--help` lists them in this order.
constexpr Command kCommands[] = {
    {"list", "IMAGE", "one line per file: path, size, CRC-32, status, header block",
     moswit::cli::RunList, 1},
    {"blocks", "IMAGE", "the classification of every block position (1760, HD 3520)",
     moswit::cli::RunBlocks, 1},
    {"info", "IMAGE", "volume name, size, block count and boot block flags", moswit::cli::RunInfo,
     1},
    {"did", "[--lenient] IN OUT",
     "read the DID file IN and write it to OUT ('-': standard output); --lenient: also when "
     "part of IN was not understood",
     moswit::cli::RunDid, 2, 3},
    {"names", "DID", "version tag strings and disk standard names, game by game",
     moswit::cli::RunNames, 1},
    {"identify", "[--jobs N] DID FOLDER",
     "identify every image below FOLDER on N workers (default: one per core)",
     moswit::cli::RunIdentify, 2, 4},
    {"report", "[--jobs N] [--fixdat FILE] DID FOLDER",
     "per disk of the DID: have, partial or missing, and its best image below FOLDER",
     moswit::cli::RunReport, 2, 6},
    {"organize", "[--link] [--partial] [--dry-run] [--jobs N] DID FOLDER TARGET",
     "copy the best image of every disk you have to TARGET under its standard name",
     moswit::cli::RunOrganize, 3, 8},
    {"tree", "DID", "the DID Editor's record tree, every node expanded, and its stats line",
     moswit::cli::RunTree, 1},
    {"sector", "IMAGE BLOCK", "the Inspector's sector info of block BLOCK (0 to 1759, HD 3519)",
     moswit::cli::RunSector, 2},
    {"compare", "IMAGE...", "the file and range tables of the images, numbered from 00",
     moswit::cli::RunCompare, 1, moswit::kMaxComparedImages},
    {"mkdid", "OUT IMAGE_OR_FOLDER...",
     "a new DID at OUT identifying the images; per image: path, standard name",
     moswit::cli::RunMkdid, 2, SIZE_MAX},
    {"enrich", "DID FOLDER OUT",
     "give disks known by a whole image the files of that image below FOLDER; write OUT",
     moswit::cli::RunEnrich, 3},
    {"import-dat", "OUT DAT...",
     "a new DID at OUT with a disk for every ADF image the DATs list, named as they name it",
     moswit::cli::RunImportDat, 2, SIZE_MAX},
};

std::string UsageText() {
  std::string text = "usage: moswit-cli COMMAND ARGUMENTS...\n\ncommands:\n";
  const auto headOf = [](const Command& command) {
    return "  " + std::string(command.name) + " " + std::string(command.arguments);
  };
  size_t width = 0;
  for (const Command& command : kCommands) width = std::max(width, headOf(command).size());
  for (const Command& command : kCommands) {
    std::string head = headOf(command);
    head.resize(width, ' ');
    text += head + "  ";
    text.append(command.summary);
    text.push_back('\n');
  }
  text += "\nFields are separated by one TAB, one record per line.\n";
  return text;
}

int Run(const std::vector<std::string>& argv) {
  moswit::cli::WriteBytesAsTheyAre();
  // Rows are sorted with the user's collation, as the Renamer window does.
  std::setlocale(LC_COLLATE, "");
  if (argv.size() >= 2) {
    const std::string& name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
      moswit::cli::WriteOut(UsageText());
      return 0;
    }
    for (const Command& command : kCommands) {
      if (command.name != name) continue;
      moswit::cli::Args args(argv.begin() + 2, argv.end());
      const size_t most = std::max(command.argumentCount, command.mostArguments);
      if (args.size() < command.argumentCount || args.size() > most) break;
      return command.run(args);
    }
  }
  return moswit::cli::UsageError();
}

}  // namespace

namespace moswit::cli {

int UsageError() {
  std::fputs(UsageText().c_str(), stderr);
  return 2;
}

}  // namespace moswit::cli

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  return moswit::cli::CloseOut(Run(moswit::cli::ArgumentTexts(argc, argv)));
}
#else
int main(int argc, char** argv) {
  return moswit::cli::CloseOut(Run(moswit::cli::ArgumentTexts(argc, argv)));
}
#endif
