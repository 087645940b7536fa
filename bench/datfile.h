// SPDX-License-Identifier: GPL-2.0-or-later
// A DAT the size of the ten Amiga ADF DATs of the largest preservation
// group: 24,879 ROMs of disk images named as they name theirs, in sets of
// one to four disks, most titles in several releases (cracks, alternates,
// other publishers), each ROM with its MD5 and SHA-1 as they give them.
#pragma once

#include <cstdint>
#include <string>

namespace moswit::bench {

constexpr unsigned kDatRoms = 24879;

inline std::string LargeDat() {
  static const char* const kFlags[] = {"", "[cr Group]", "[a]", "", "[t +2 Trainer]", "[a2]"};
  uint32_t n = 11;
  auto next = [&n] { return n = n * 1664525u + 1013904223u; };
  std::string xml =
      "<?xml version=\"1.0\"?>\n"
      "<!DOCTYPE datafile PUBLIC \"-//Logiqx//DTD ROM Management Datafile//EN\" "
      "\"http://www.logiqx.com/Dats/datafile.dtd\">\n"
      "<datafile>\n\t<header>\n\t\t<name>Commodore Amiga - Games - [ADF]</name>\n"
      "\t\t<version>2024-01-01</version>\n\t</header>\n";
  unsigned roms = 0;
  for (unsigned title = 0; roms < kDatRoms; ++title) {
    const std::string name =
        "Game " + std::to_string(next() % 1000000) + " of Title " + std::to_string(title);
    const unsigned releases = 1 + next() % 4;
    for (unsigned release = 0; release < releases && roms < kDatRoms; ++release) {
      const std::string head = name + " (" + std::to_string(1985 + next() % 12) + ")(Publisher " +
                               std::to_string(next() % 700) + ")";
      const unsigned disks = 1 + next() % 4;
      const std::string flags = kFlags[release % 6];
      for (unsigned disk = 1; disk <= disks && roms < kDatRoms; ++disk, ++roms) {
        const std::string game =
            head +
            (disks == 1 ? ""
                        : "(Disk " + std::to_string(disk) + " of " + std::to_string(disks) + ")") +
            flags;
        char crc[9];
        std::snprintf(crc, sizeof crc, "%08x", next());
        xml += "\t<game name=\"" + game + "\">\n\t\t<description>" + game +
               "</description>\n\t\t<rom name=\"" + game + ".adf\" size=\"901120\" crc=\"" + crc +
               "\" md5=\"0123456789abcdef0123456789abcdef\" "
               "sha1=\"0123456789abcdef0123456789abcdef01234567\"/>\n\t</game>\n";
      }
    }
  }
  return xml + "</datafile>\n";
}

}  // namespace moswit::bench
