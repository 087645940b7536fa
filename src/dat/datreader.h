// SPDX-License-Identifier: GPL-2.0-or-later
// DAT files: the Logiqx XML that preservation groups publish and collection
// managers read. A DAT lists games (or machines), each with its ROMs: a
// name, a size and a CRC-32 (and digests Moswit does not need). pugixml
// parses the whole text in place, at several hundred megabytes a second,
// and the ROMs are then handed on from its tree in document order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/fileerror.h"

namespace moswit {

// A ROM of a game, valid during the handler's call. Texts are UTF-8.
struct DatRom {
  std::string_view game;  // the name of the game or machine holding it
  std::string_view name;
  std::optional<uint32_t> size;  // absent unless decimal digits below 4 GiB
  std::optional<uint32_t> crc;   // absent unless 1 to 8 hexadecimal digits
};

using DatRomHandler = std::function<void(const DatRom&)>;

// Why a text is not a DAT: not well-formed XML, or no ROM in any game; and
// the line where that showed (1 for the first).
struct DatFault {
  uint64_t line = 0;
  std::string reason;
};

// "line N: not a DAT (reason)".
std::string DatFaultText(const DatFault& fault);

// The most a DAT file may hold, and a zipped DAT declare unpacked: ten
// times the largest DATs.
constexpr uint32_t kMaxZippedDatSize = 256u * 1024u * 1024u;

// Reads a DAT held in memory: XML (UTF-8, UTF-16, ISO-8859-1, US-ASCII or
// windows-1252, as its declaration says; dat/xmlencoding.h), or a ZIP whose
// first member holds it. Hands on every ROM of a `game` or `machine`, in
// document order, once pugixml has parsed the whole document. The
// predefined entities and character references are replaced; a DOCTYPE is
// passed over without fetching what it names, and an entity it declares
// stays in a name as it is written.
std::optional<DatFault> ParseDat(std::string_view bytes, const DatRomHandler& onRom,
                                 uint32_t maxUnzipped = kMaxZippedDatSize);

// Reads the DAT file at `path` (a path text) as ParseDat does. A file that
// cannot be read gives the platform's message; one that is not a DAT, or
// holds more than kMaxZippedDatSize bytes, gives DatFaultText.
std::optional<FileError> ReadDatFile(const std::string& path, const DatRomHandler& onRom);

}  // namespace moswit
