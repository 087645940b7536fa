// SPDX-License-Identifier: GPL-2.0-or-later
// The two ways bytes become the texts a window shows. DID texts are 8-bit
// bytes of Windows-1252 (base/codepage.h), shown as its letters and stored
// back the same way, so every byte value survives the round trip; file
// names go through the platform's file name encoding.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace moswit {

QString DidText(std::string_view bytes);
// Letters Windows-1252 cannot hold become "?".
std::string DidBytes(const QString& text);

QString FileNameText(const std::string& bytes);
std::string FileNameBytes(const QString& text);

// A fixed caption (plain ASCII in the program's tables).
inline QString Caption(const char* text) { return QString::fromLatin1(text); }

}  // namespace moswit
