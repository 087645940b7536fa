// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/console.h"

#include <cstdio>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace moswit::cli {

#ifdef _WIN32

std::vector<std::string> ArgumentTexts(int argc, wchar_t** argv) {
  std::vector<std::string> texts;
  for (int i = 0; i < argc; ++i) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size > 0 ? size : 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, text.data(), size, nullptr, nullptr);
    text.pop_back();  // the terminating zero
    texts.push_back(std::move(text));
  }
  return texts;
}

void WriteBytesAsTheyAre() {
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
}

bool ErrorIsTerminal() { return ::_isatty(::_fileno(stderr)) != 0; }

#else

std::vector<std::string> ArgumentTexts(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void WriteBytesAsTheyAre() {}

bool ErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

#endif

}  // namespace moswit::cli
