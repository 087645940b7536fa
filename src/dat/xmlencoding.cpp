// SPDX-License-Identifier: GPL-2.0-or-later
#include "dat/xmlencoding.h"

#include <cstdint>

#include "base/asciicase.h"
#include "base/codepage.h"

namespace moswit {

namespace {

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The encoding name of an XML declaration at the start of `bytes`, upper
// case; empty when there is no declaration or it names none.
std::string DeclaredEncoding(std::string_view bytes) {
  if (!bytes.starts_with("<?xml") || bytes.size() < 6 || !IsXmlSpace(bytes[5])) return {};
  const std::string_view declaration = bytes.substr(0, bytes.find("?>"));
  size_t at = declaration.find("encoding");
  if (at == std::string_view::npos) return {};
  at += 8;
  const auto skipSpace = [&] {
    while (at < declaration.size() && IsXmlSpace(declaration[at])) ++at;
  };
  skipSpace();
  if (at >= declaration.size() || declaration[at] != '=') return {};
  ++at;
  skipSpace();
  if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\'')) return {};
  const size_t end = declaration.find(declaration[at], at + 1);
  if (end == std::string_view::npos) return {};
  return UpperCase(declaration.substr(at + 1, end - at - 1));
}

bool AppendUtf16(std::string_view bytes, bool littleEndian, std::string& utf8) {
  const auto unit = [&](size_t at) -> char32_t {
    const auto low = static_cast<uint8_t>(bytes[at + (littleEndian ? 0 : 1)]);
    const auto high = static_cast<uint8_t>(bytes[at + (littleEndian ? 1 : 0)]);
    return char32_t{high} << 8 | low;
  };
  size_t at = 0;
  if (bytes.size() >= 2 && unit(0) == 0xFEFF) at = 2;
  utf8.reserve(utf8.size() + bytes.size() / 2);
  for (; at + 1 < bytes.size(); at += 2) {
    char32_t letter = unit(at);
    if (letter >= 0xDC00 && letter <= 0xDFFF) return false;
    if (letter >= 0xD800 && letter <= 0xDBFF) {
      if (at + 3 >= bytes.size()) return false;
      const char32_t low = unit(at + 2);
      if (low < 0xDC00 || low > 0xDFFF) return false;
      letter = 0x10000 + ((letter - 0xD800) << 10) + (low - 0xDC00);
      at += 2;
    }
    AppendUtf8(letter, utf8);
  }
  return at == bytes.size();
}

}  // namespace

std::optional<XmlEncoding> DetectXmlEncoding(std::string_view bytes) {
  const auto starts = [&](std::string_view head) { return bytes.starts_with(head); };
  using namespace std::string_view_literals;
  if (starts("\xFF\xFE"sv) || starts("<\0"sv)) return XmlEncoding::kUtf16Le;
  if (starts("\xFE\xFF"sv) || starts("\0<"sv)) return XmlEncoding::kUtf16Be;
  if (starts("\xEF\xBB\xBF"sv)) return XmlEncoding::kUtf8;
  const std::string name = DeclaredEncoding(bytes);
  if (name.empty() || name == "UTF-8" || name == "US-ASCII") return XmlEncoding::kUtf8;
  if (name == "ISO-8859-1" || name == "LATIN1") return XmlEncoding::kLatin1;
  if (name == "WINDOWS-1252" || name == "CP1252") return XmlEncoding::kCp1252;
  return std::nullopt;
}

bool XmlToUtf8(std::string_view bytes, XmlEncoding encoding, std::string& utf8) {
  switch (encoding) {
    case XmlEncoding::kUtf8:
      utf8.append(bytes);
      return true;
    case XmlEncoding::kUtf16Le:
    case XmlEncoding::kUtf16Be:
      return AppendUtf16(bytes, encoding == XmlEncoding::kUtf16Le, utf8);
    case XmlEncoding::kLatin1:
      utf8.reserve(utf8.size() + bytes.size());
      for (const char c : bytes) AppendUtf8(static_cast<uint8_t>(c), utf8);
      return true;
    case XmlEncoding::kCp1252:
      utf8 += Utf8FromCp1252(bytes);
      return true;
  }
  return false;
}

}  // namespace moswit
