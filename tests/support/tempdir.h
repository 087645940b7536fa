// SPDX-License-Identifier: GPL-2.0-or-later
// A temporary folder removed with everything in it when the value goes.
#pragma once

#include <filesystem>
#include <string>

#include "support/adfbuilder.h"

namespace moswit::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Writes `bytes` to `relative` below the folder (parents made); returns the full path.
  std::string Write(const std::string& relative, const Bytes& bytes) const;

 private:
  std::filesystem::path path_;
};

Bytes ReadFileBytes(const std::string& path);

}  // namespace moswit::test
