// SPDX-License-Identifier: GPL-2.0-or-later
#include "database/didfileidentity.h"

#include <cstdio>
#include <system_error>
#include <vector>

#include "base/platformfile.h"
#include "image/crc32.h"

namespace moswit {

namespace {

// What a file's directory entry tells, without reading it.
DidFileIdentity Stat(const std::filesystem::path& path) {
  DidFileIdentity identity;
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  identity.exists = std::filesystem::exists(status);
  if (!identity.exists) return identity;
  identity.modified = std::filesystem::last_write_time(path, error);
  return identity;
}

}  // namespace

DidDigest::DidDigest() { CrcInit(accumulator_); }

void DidDigest::Update(const void* data, size_t length) {
  CrcUpdate(accumulator_, data, length);
  size_ += length;
}

uint32_t DidDigest::Crc() const {
  uint32_t crc = accumulator_;
  CrcFinal(crc);
  return crc;
}

DidFileIdentity CurrentIdentity(const std::filesystem::path& path) {
  DidFileIdentity identity = Stat(path);
  // A pipe or device is never read: that could wait forever, or take what
  // another program meant to get.
  if (!identity.exists || !FactsOfFile(path).regular) return identity;
  std::FILE* file = OpenFile(path, "rb");
  if (file == nullptr) return identity;
  std::vector<char> buffer(size_t{1} << 20);
  size_t got = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) {
    identity.content.Update(buffer.data(), got);
  }
  identity.readable = std::ferror(file) == 0;
  std::fclose(file);
  return identity;
}

bool StillTheSameFile(const std::filesystem::path& path, const DidFileIdentity& known) {
  const DidFileIdentity now = Stat(path);
  if (now.exists != known.exists) return false;
  if (!known.exists) return true;
  if (!known.readable) return false;
  std::error_code error;
  if (std::filesystem::file_size(path, error) != known.content.Size() || error) return false;
  const DidFileIdentity read = CurrentIdentity(path);
  return read.readable && read.content == known.content;
}

}  // namespace moswit
