// SPDX-License-Identifier: GPL-2.0-or-later
#include <string>
#include <vector>

#include "base/codepage.h"
#include "cli/commands.h"
#include "compare/compareimagefiles.h"

namespace moswit::cli {

namespace {

void AppendRow(std::string& out, std::string_view kind, const std::vector<std::string_view>& head,
               const TableRow& row, size_t skip) {
  out.append(kind);
  for (std::string_view field : head) {
    out.push_back('\t');
    out.append(field);
  }
  out.push_back('\t');
  out.push_back(row.equal ? '=' : '!');
  for (size_t i = skip; i < row.subItems.size(); ++i) {
    out.push_back('\t');
    out.append(row.subItems[i]);
  }
  out.push_back('\n');
}

}  // namespace

int RunCompare(const Args& args) {
  // Every image is walked as the Inspector walks it, numbered in argument order.
  CompareTables tables;
  FileError error;
  if (!CompareImageFiles(args, tables, error)) {
    ReportError(FormatFileError(error));
    return 1;
  }
  std::string out;
  for (const TableRow& row : tables.files.rows) {
    AppendRow(out, "F", {Utf8FromCp1252(row.caption)}, row, 0);
  }
  for (const TableRow& row : tables.ranges.rows) {
    AppendRow(out, "R", {row.caption, row.subItems[0]}, row, 1);
  }
  WriteOut(out);
  return 0;
}

}  // namespace moswit::cli
