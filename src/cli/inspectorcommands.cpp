// SPDX-License-Identifier: GPL-2.0-or-later
#include <string>

#include "cli/commands.h"
#include "image/adf.h"
#include "image/geometry.h"
#include "inspector/sectorinfo.h"

namespace moswit::cli {

namespace {

// A block number in plain decimal digits, at most four as the largest map
// (3520 positions) needs; anything else (signs, blanks, hex) is not one.
bool ParseBlock(const std::string& text, uint32_t& block) {
  if (text.empty() || text.size() > 4) return false;
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  block = value;
  return true;
}

}  // namespace

int RunSector(const Args& args) {
  uint32_t block = 0;
  if (!ParseBlock(args[1], block)) return UsageError();
  ImagePtr image = LoadOrReport(args[0]);
  if (!image) return 1;
  // Only a high-density disk has positions from 1760 on.
  const uint32_t blocks = GeometryOf(*image).blocks;
  if (block >= blocks) {
    ReportError(args[0] + ": block " + std::to_string(block) +
                " is not on this disk; its blocks are 0 to " + std::to_string(blocks - 1));
    return 2;
  }
  std::string out = SectorInfoHeader(block) + "\n";
  for (const std::string& line : SectorInfoLines(*image, block)) out += line + "\n";
  WriteOut(out);
  return 0;
}

}  // namespace moswit::cli
