// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/aboutbox.h"

namespace moswit {

const std::array<std::string_view, 18>& AboutLines() {
  static constexpr std::array<std::string_view, 18> kLines = {
      "Moswit acts as a database maker and renamer for Amiga Disk Files (ADFs).",
      "",
      "Unlike many other renamer utilities out there, Moswit is the first util which respects the "
      "nature ",
      "of ADFs, which are images of random access media. Before Moswit plain CRC32 calculation ",
      "over the whole disk image was the only common way ",
      "to identify ADFs, and I'm happy to say that this tradition is broken right now.",
      "",
      "Moswit takes care of unneeded files on disk, unused areas and files with dynamic content ",
      "such as highscore files. Moswit respects the Amiga filesystem, as well as it makes it "
      "possible ",
      "to handle pseudo-filesystems (on most NDOS disks) by defining ranges of a disk for being ",
      "handled like a file. ",
      "",
      "If a file on an ADF has got checksum errors or its content is different to what's expected, "
      "you ",
      "will be taken care of every single suspicious detail while scanning your ADF collection. "
      "You will ",
      "know which file is bad and how it will affect the playability of a game, i.e. you'll know "
      "whether a ",
      "file contains game code, graphics or music or something else.",
      "",
      "",
  };
  return kLines;
}

std::string AboutText() {
  std::string text;
  for (size_t i = 0; i < AboutLines().size(); ++i) {
    if (i > 0) text += '\n';
    text += AboutLines()[i];
  }
  return text;
}

}  // namespace moswit
