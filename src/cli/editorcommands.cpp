// SPDX-License-Identifier: GPL-2.0-or-later
#include <string>

#include "base/codepage.h"
#include "cli/commands.h"
#include "database/records.h"
#include "editors/recordtree.h"

namespace moswit::cli {

// The DID Editor's tree after its first fill, every node expanded: a game's
// text alone on its line, each child's after one TAB, then the stats line.
int RunTree(const Args& args) {
  bool partial = false;
  const auto database = ReadOrReport(args[0], &partial);
  if (!database) return 1;
  const RecordTree tree = FillRecordTree(*database);
  std::string out;
  for (const GameBranch& branch : tree.games) {
    out += Utf8FromCp1252(branch.node.text);
    out.push_back('\n');
    for (const RecordNode& child : branch.children) {
      out.push_back('\t');
      out += Utf8FromCp1252(child.text);
      out.push_back('\n');
    }
  }
  out += tree.stats;
  out.push_back('\n');
  WriteOut(out);
  return 0;
}

}  // namespace moswit::cli
