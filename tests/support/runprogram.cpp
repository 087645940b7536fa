#include "support/runprogram.h"

#include <sys/wait.h>
#include <unistd.h>

#include "support/tempdir.h"

namespace moswit::test {

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args) {
  TempDir dir;
  const std::string outPath = (dir.Path() / "out").string();
  const std::string errPath = (dir.Path() / "err").string();
  ProgramResult result;
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (!std::freopen(outPath.c_str(), "wb", stdout) || !std::freopen(errPath.c_str(), "wb", stderr)) {
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
    result.exitStatus = WEXITSTATUS(status);
  }
  const Bytes out = ReadFileBytes(outPath);
  const Bytes err = ReadFileBytes(errPath);
  result.out.assign(out.begin(), out.end());
  result.err.assign(err.begin(), err.end());
  return result;
}

}  // namespace moswit::test
