// SPDX-License-Identifier: GPL-2.0-or-later
#include <string>

#include "base/codepage.h"
#include "base/numbertext.h"
#include "cli/commands.h"
#include "diskcontents/diskproperties.h"
#include "image/adf.h"
#include "image/filesystem.h"
#include "inspector/blockmap.h"

namespace moswit::cli {

namespace {

void Field(std::string& line, std::string_view value, bool last = false) {
  line.append(value);
  line.push_back(last ? '\n' : '\t');
}

}  // namespace

int RunList(const Args& args) {
  ImagePtr image = LoadOrReport(args[0]);
  if (!image) return 1;
  std::string out;
  for (const FileEntry& file : ListFiles(*image, ImageIsFfs(*image))) {
    Field(out, Utf8FromCp1252(file.Path));
    Field(out, IntToDec(file.Size));
    Field(out, IntToHex(file.Crc, 8));
    Field(out, IntToHex(file.Status, 8));
    Field(out, IntToDec(file.HeaderBlock), true);
  }
  WriteOut(out);
  return 0;
}

int RunBlocks(const Args& args) {
  ImagePtr image = LoadOrReport(args[0]);
  if (!image) return 1;
  BlockMap map;
  ClassifyAll(*image, map);
  std::string out;
  for (uint32_t n = 0; n < map.size(); ++n) {
    Field(out, IntToDec(n));
    Field(out, IntToHex(map[n], 8), true);
  }
  WriteOut(out);
  return 0;
}

int RunInfo(const Args& args) {
  ImagePtr image = LoadOrReport(args[0]);
  if (!image) return 1;
  const DiskProperties p = ReadDiskProperties(*image);
  std::string out;
  auto line = [&out](std::string_view key, std::string_view value) {
    Field(out, key);
    Field(out, value, true);
  };
  line("Name", Utf8FromCp1252(p.DiskName));
  line("Size", IntToDec(image->Size));
  line("Blocks", IntToDec(BlockCount(*image)));
  line("DOS", p.IsDos ? "1" : "0");
  line("FFS", p.IsFfs ? "1" : "0");
  line("DirC", p.IsDirCache ? "1" : "0");
  line("Intl", p.IsIntl ? "1" : "0");
  line("Bootable", p.IsBootable ? "1" : "0");
  WriteOut(out);
  return 0;
}

}  // namespace moswit::cli
