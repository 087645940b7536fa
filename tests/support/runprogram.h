// SPDX-License-Identifier: GPL-2.0-or-later
// Runs a program with arguments and collects what it printed.
#pragma once

#include <string>
#include <vector>

namespace moswit::test {

struct ProgramResult {
  int exitStatus = -1;
  std::string out;
  std::string err;
};

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args);

#ifdef MOSWIT_CLI_PATH
// moswit-cli of this build, as every suite is given it.
inline ProgramResult Cli(const std::vector<std::string>& args) {
  return RunProgram(MOSWIT_CLI_PATH, args);
}
#endif

}  // namespace moswit::test
