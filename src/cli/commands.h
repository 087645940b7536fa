// SPDX-License-Identifier: GPL-2.0-or-later
// moswit-cli: the headless companion for scripts, tests and benchmarks.
// Each command takes its own arguments (the command name removed) and
// returns the exit status: 0 done, 1 a file could not be read or written,
// 2 wrong usage.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace moswit {
struct DatabaseInfo;
struct tADF;
}  // namespace moswit

namespace moswit::cli {

using Args = std::vector<std::string>;

struct Command {
  std::string_view name;
  std::string_view arguments;  // e.g. "IMAGE"
  std::string_view summary;
  int (*run)(const Args& args);
  size_t argumentCount;
  size_t mostArguments = 0;  // when set, argumentCount up to this many are taken
};

// Image commands.
int RunList(const Args& args);
int RunBlocks(const Args& args);
int RunInfo(const Args& args);

// Database commands.
int RunDid(const Args& args);
int RunNames(const Args& args);

// Scan commands.
int RunIdentify(const Args& args);

// Collection commands.
int RunReport(const Args& args);
int RunOrganize(const Args& args);

// Compare commands.
int RunCompare(const Args& args);

// Inspector commands.
int RunSector(const Args& args);

// Editor commands.
int RunTree(const Args& args);
int RunMkdid(const Args& args);
int RunEnrich(const Args& args);

// DAT commands.
int RunImportDat(const Args& args);

// Writes the bytes as they are (names are the bytes on the disk).
void WriteOut(std::string_view text);
// Hands what was written so far on, so a reader sees each line as it is
// done.
void FlushOut();
// Every command's end: standard output flushed and closed. When a write to
// it failed then or before (a full disk, a pipe whose reader has gone), one
// line on stderr names the failure and the status is 1 (a failing status
// stays as it is); otherwise `status`.
int CloseOut(int status);
// One line on stderr: "moswit-cli: " + message.
void ReportError(std::string_view message);
// For arguments a command finds wrong itself: the usage text on stderr, as
// main gives it, and the status to return (2).
int UsageError();

// Whether a DID may be written at `path` (DidTargetTrouble); when not, one
// line on stderr says why, and the command returns 2 before it writes.
bool DidTargetUsable(const std::string& path);

// The worker count of "--jobs N": plain decimal digits, 1 to 256.
bool ParseJobs(const std::string& text, size_t& jobs);

// The image or database at `path`; nothing, after one line on stderr, when
// it cannot be read. With `partial` given, a database the reader did not
// fully understand gives its warning on stderr and sets `partial`.
std::unique_ptr<tADF> LoadOrReport(const std::string& path);
std::unique_ptr<DatabaseInfo> ReadOrReport(const std::string& path, bool* partial = nullptr);

// Whether the folder can be listed; false after one line on stderr.
bool FolderReadable(const std::string& folder);

}  // namespace moswit::cli
