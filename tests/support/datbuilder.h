// SPDX-License-Identifier: GPL-2.0-or-later
// DAT texts for tests: Logiqx XML as preservation groups publish it.
#pragma once

#include <string>
#include <vector>

#include "support/adfbuilder.h"

namespace moswit::test {

// Attribute values as they stand in the XML, entities and all.
struct TestRom {
  std::string name;
  std::string size = "901120";
  std::string crc;
};

struct TestGame {
  std::string name;
  std::vector<TestRom> roms;
  std::string element = "game";  // or "machine"
};

// The XML declaration, the Logiqx DOCTYPE, a header, a comment and the
// games, each with a description and its ROMs (md5 and sha1 too).
std::string DatXml(const std::vector<TestGame>& games);

inline Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

}  // namespace moswit::test
