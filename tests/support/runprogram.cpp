// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/runprogram.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdio>

#include "support/tempdir.h"

namespace moswit::test {

namespace {

#ifdef _WIN32

std::wstring Wide(const std::string& text) {
  const int size =
      ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

// One argument of a command line, quoted so the C runtime of the program
// started reads it back unchanged.
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(2 * backslashes, L'\\');
  quoted.push_back(L'"');
  return quoted;
}

HANDLE CreateOutput(const std::filesystem::path& path) {
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  return ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

int Run(const std::string& program, const std::vector<std::string>& args,
        const std::filesystem::path& outPath, const std::filesystem::path& errPath) {
  std::wstring commandLine = Quoted(Wide(program));
  for (const std::string& a : args) commandLine += L" " + Quoted(Wide(a));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = CreateOutput(outPath);
  startup.hStdError = CreateOutput(errPath);
  PROCESS_INFORMATION process{};
  int status = -1;
  if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process)) {
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (::GetExitCodeProcess(process.hProcess, &code)) status = static_cast<int>(code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
  ::CloseHandle(startup.hStdOutput);
  ::CloseHandle(startup.hStdError);
  return status;
}

#else

int Run(const std::string& program, const std::vector<std::string>& args,
        const std::filesystem::path& outPath, const std::filesystem::path& errPath) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (!std::freopen(outPath.c_str(), "wb", stdout) ||
        !std::freopen(errPath.c_str(), "wb", stderr)) {
      ::_exit(127);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  int status = 0;
  if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
    return WEXITSTATUS(status);
  }
  return -1;
}

#endif

}  // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args) {
  TempDir dir;
  const std::filesystem::path outPath = dir.Path() / "out";
  const std::filesystem::path errPath = dir.Path() / "err";
  ProgramResult result;
  result.exitStatus = Run(program, args, outPath, errPath);
  const Bytes out = ReadFileBytes(outPath.string());
  const Bytes err = ReadFileBytes(errPath.string());
  result.out.assign(out.begin(), out.end());
  result.err.assign(err.begin(), err.end());
  return result;
}

#ifndef _WIN32

ProgramResult RunProgramInto(DeadOutput output, const std::string& program,
                             const std::vector<std::string>& args) {
  TempDir dir;
  const std::filesystem::path errPath = dir.Path() / "err";
  int out = -1;
  int ends[2] = {-1, -1};
  if (output == DeadOutput::kFullDevice) {
    out = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  } else if (::pipe(ends) == 0) {
    ::close(ends[0]);  // no reader, before the program ever writes
    out = ends[1];
  }
  ProgramResult result;
  if (out < 0) return result;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::signal(SIGPIPE, SIG_IGN);
    if (::dup2(out, STDOUT_FILENO) < 0 || !std::freopen(errPath.c_str(), "wb", stderr)) {
      ::_exit(127);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(out);
  int status = 0;
  if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
    result.exitStatus = WEXITSTATUS(status);
  }
  const Bytes err = ReadFileBytes(errPath.string());
  result.err.assign(err.begin(), err.end());
  return result;
}

#endif

}  // namespace moswit::test
