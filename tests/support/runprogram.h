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

#ifndef _WIN32
// Where the program's standard output goes when it cannot be written: a
// device that is always full, or a pipe whose reader has gone (SIGPIPE
// ignored, as a shell's `trap '' PIPE` leaves it, so writes fail).
enum class DeadOutput { kFullDevice, kClosedPipe };
// Runs the program so; `out` stays empty. exitStatus is -1 when a signal
// ended it.
ProgramResult RunProgramInto(DeadOutput output, const std::string& program,
                             const std::vector<std::string>& args);
#endif

#ifdef MOSWIT_CLI_PATH
// moswit-cli of this build, as every suite is given it.
inline ProgramResult Cli(const std::vector<std::string>& args) {
  return RunProgram(MOSWIT_CLI_PATH, args);
}
#endif

}  // namespace moswit::test
