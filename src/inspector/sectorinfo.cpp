// SPDX-License-Identifier: GPL-2.0-or-later
#include "inspector/sectorinfo.h"

#include <array>
#include <string_view>

#include "base/numbertext.h"
#include "image/blocklayout.h"
#include "image/checksum.h"

namespace moswit {

namespace {

constexpr std::string_view kTypeLine = "Block type ... ";
constexpr std::string_view kChecksumLine = "Checksum (S/C) ";

// Words for bsRoot to bsDirCache, in type order.
constexpr std::array<std::string_view, 8> kTypeWords = {
    "Rootblock", "Directory",      "File header", "Hard link",
    "Soft link", "File extension", "File data",   "Directory cache"};

std::string TypeLine(std::string_view word) {
  std::string line(kTypeLine);
  line.append(word);
  return line;
}

std::string ChecksumLine(uint32_t stored, uint32_t computed) {
  std::string line(kChecksumLine);
  line += IntToHex(stored, 8) + "/" + IntToHex(computed, 8);
  return line;
}

}  // namespace

std::string SectorInfoHeader(uint32_t block) {
  return "Sector Info ($" + IntToHex(block, 3) + "):";
}

std::vector<std::string> SectorInfoLines(const tADF& image, uint32_t block) {
  std::vector<std::string> lines;
  const uint8_t* data = BlockData(image, block);
  const BlockStatus type = data ? BlockType(ClassifyBlock(image, block)) : bsUnknown;

  if (block <= 1) {
    lines.push_back(TypeLine("Bootblock"));
    if (BlockCount(image) >= 2) {
      lines.push_back(ChecksumLine(ReadLong(BlockData(image, 0), 1), BootChecksum(image)));
    }
  } else if (type == bsUnknown) {
    lines.push_back(TypeLine("Unknown"));
  } else {
    lines.push_back(TypeLine(type <= kTypeWords.size() ? kTypeWords[type - 1] : "Unknown"));
    lines.push_back(ChecksumLine(ReadLong(data, kChecksum), NormalChecksum(data)));
  }
  // Also for blocks 0 and 1: an OFS data block there still names its header.
  if (type == bsData) lines.push_back("File Header at $" + IntToHex(ReadLong(data, kHeaderKey), 3));
  return lines;
}

}  // namespace moswit
