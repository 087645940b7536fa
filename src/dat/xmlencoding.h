// SPDX-License-Identifier: GPL-2.0-or-later
// The encoding of an XML document and its text in UTF-8, the one encoding
// the DAT reader hands pugixml: told apart, as the XML recommendation lays
// out, by a byte-order mark, by the first bytes, or else by the encoding
// the declaration names. Decoding ahead of the parser keeps the offsets it
// reports in the text whose lines are counted.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace moswit {

enum class XmlEncoding { kUtf8, kUtf16Le, kUtf16Be, kLatin1, kCp1252 };

// UTF-16 by its mark or by a '<' of two bytes; else what the declaration
// names (UTF-8 or US-ASCII, ISO-8859-1 or latin1, windows-1252 or cp1252,
// in any case), UTF-8 without one; nothing for a name outside these.
std::optional<XmlEncoding> DetectXmlEncoding(std::string_view bytes);

// Appends the text of `bytes`, in an encoding other than UTF-8, to `utf8`
// (a UTF-16 byte-order mark dropped). False at an unpaired surrogate or an
// odd byte at the end of UTF-16, `utf8` then holding the text before it.
bool XmlToUtf8(std::string_view bytes, XmlEncoding encoding, std::string& utf8);

}  // namespace moswit
