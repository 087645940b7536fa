// SPDX-License-Identifier: GPL-2.0-or-later
#include "dat/datwriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/numbertext.h"
#include "base/pathtext.h"
#include "base/platformfile.h"

namespace moswit {

namespace {

std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      case '\t':
        // A tab in an attribute would be read back as a blank.
        out += "&#9;";
        break;
      default:
        out.push_back(static_cast<unsigned char>(c) < 0x20 ? '?' : c);
    }
  }
  return out;
}

std::string LowerHex(uint32_t value) {
  std::string text = IntToHex(value, 8);
  for (char& c : text) {
    if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

std::string FormatDat(const DatHeader& header, const std::vector<DatEntry>& entries) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE datafile PUBLIC \"-//Logiqx//DTD ROM Management Datafile//EN\" "
      "\"http://www.logiqx.com/Dats/datafile.dtd\">\n"
      "<datafile>\n"
      "\t<header>\n"
      "\t\t<name>" +
      Escaped(header.name) +
      "</name>\n"
      "\t\t<description>" +
      Escaped(header.description) +
      "</description>\n"
      "\t</header>\n";
  for (const DatEntry& entry : entries) {
    const std::string name = Escaped(entry.name);
    text += "\t<game name=\"" + name + "\">\n\t\t<description>" + name +
            "</description>\n\t\t<rom name=\"" + name + ".adf\" size=\"" +
            std::to_string(entry.size) + "\" crc=\"" + LowerHex(entry.crc) + "\"/>\n\t</game>\n";
  }
  text += "</datafile>\n";
  return text;
}

std::optional<FileError> WriteDat(const std::string& path, const DatHeader& header,
                                  const std::vector<DatEntry>& entries) {
  const std::string text = FormatDat(header, entries);
  std::FILE* file = OpenFile(PathFromText(path), "wb");
  if (file == nullptr) return FileError{path, std::strerror(errno)};
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const int error = errno;
  if (std::fclose(file) != 0 || !written) {
    return FileError{path, std::strerror(written ? errno : error)};
  }
  return std::nullopt;
}

}  // namespace moswit
