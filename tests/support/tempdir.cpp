// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/tempdir.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "base/pathtext.h"

namespace moswit::test {

TempDir::TempDir() {
  // The folder is made here, so a name another run took is tried again.
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    path_ = std::filesystem::temp_directory_path() / ("moswit-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(path_)) return;
  }
  throw std::runtime_error("no temporary folder could be made");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& relative, const Bytes& bytes) const {
  const std::filesystem::path full = path_ / PathFromText(relative);
  std::filesystem::create_directories(full.parent_path());
  std::ofstream out(full, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + PathText(full));
  return PathText(full);
}

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream in(PathFromText(path), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace moswit::test
