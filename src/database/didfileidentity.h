// SPDX-License-Identifier: GPL-2.0-or-later
// Which DID file a window holds: its size, modification time and the CRC-32
// of its bytes, taken while the file was read or right after it was
// written. Before the next write the file on disk is compared with it, so a
// file another window or program changed meanwhile is not replaced unasked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace moswit {

// The size and CRC-32 of a text: the content half of an identity, and what
// tells whether a database still formats to the text last written.
class DidDigest {
 public:
  DidDigest();
  void Update(const void* data, size_t length);
  uint64_t Size() const { return size_; }
  uint32_t Crc() const;
  bool operator==(const DidDigest& other) const {
    return size_ == other.size_ && Crc() == other.Crc();
  }

 private:
  uint64_t size_ = 0;
  uint32_t accumulator_ = 0;  // the raw CRC register
};

struct DidFileIdentity {
  bool exists = false;
  bool readable = false;  // an existing file that could not be read matches nothing
  std::filesystem::file_time_type modified{};
  DidDigest content;
};

// The identity of whatever is at `path` now: a regular file is read whole
// for its CRC; anything else is not read and matches nothing.
DidFileIdentity CurrentIdentity(const std::filesystem::path& path);

// Whether `path` still holds the file `known` describes: nothing there when
// nothing was, else the same size and content. A file of another size is
// not read; one whose time alone changed (touched, or copied back) is the
// same file when its content is.
bool StillTheSameFile(const std::filesystem::path& path, const DidFileIdentity& known);

}  // namespace moswit
