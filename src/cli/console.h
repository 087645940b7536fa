// SPDX-License-Identifier: GPL-2.0-or-later
// What moswit-cli needs from the console on each system: its arguments as
// the core's 8-bit texts, output written byte for byte, and whether
// standard error is a terminal.
#pragma once

#include <string>
#include <vector>

namespace moswit::cli {

#ifdef _WIN32
// The UTF-8 of each argument: wmain is given them whole, as UTF-16, where
// main would get them in the Windows code page.
std::vector<std::string> ArgumentTexts(int argc, wchar_t** argv);
#else
std::vector<std::string> ArgumentTexts(int argc, char** argv);
#endif

// Standard output and error write bytes as they are: no CR before each LF on
// Windows, so output and written DID text are the same on every system.
void WriteBytesAsTheyAre();

bool ErrorIsTerminal();

}  // namespace moswit::cli
