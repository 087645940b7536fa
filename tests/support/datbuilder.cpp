// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/datbuilder.h"

namespace moswit::test {

std::string DatXml(const std::vector<TestGame>& games) {
  std::string xml =
      "<?xml version=\"1.0\"?>\n"
      "<!DOCTYPE datafile PUBLIC \"-//Logiqx//DTD ROM Management Datafile//EN\" "
      "\"http://www.logiqx.com/Dats/datafile.dtd\">\n"
      "<datafile>\n"
      "\t<header>\n\t\t<name>Test - Amiga</name>\n\t\t<version>2024-01-01</version>\n"
      "\t</header>\n"
      "\t<!-- written by the tests -->\n";
  for (const TestGame& game : games) {
    xml += "\t<" + game.element + " name=\"" + game.name + "\">\n\t\t<description>" + game.name +
           "</description>\n";
    for (const TestRom& rom : game.roms) {
      xml += "\t\t<rom name=\"" + rom.name + "\" size=\"" + rom.size + "\" crc=\"" + rom.crc +
             "\" md5=\"d41d8cd98f00b204e9800998ecf8427e\" "
             "sha1=\"da39a3ee5e6b4b0d3255bfef95601890afd80709\"/>\n";
    }
    xml += "\t</" + game.element + ">\n";
  }
  return xml + "</datafile>\n";
}

}  // namespace moswit::test
