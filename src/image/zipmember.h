// SPDX-License-Identifier: GPL-2.0-or-later
// The first member of a ZIP archive, found through its local file header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace moswit {

constexpr char kReadBeyondEnd[] = "Read beyond end of file";

// Random access to the bytes of a file or of a buffer.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Length() const = 0;
  // Fills `length` bytes from `offset`; false when the source ends first or
  // cannot be read, with the reason in `error`.
  virtual bool ReadAt(uint64_t offset, void* destination, size_t length, std::string& error) = 0;
};

class MemorySource : public ByteSource {
 public:
  MemorySource(const uint8_t* bytes, size_t length) : bytes_(bytes), length_(length) {}
  uint64_t Length() const override { return length_; }
  bool ReadAt(uint64_t offset, void* destination, size_t length, std::string& error) override;

 private:
  const uint8_t* bytes_;
  size_t length_;
};

bool HasZipSignature(const uint8_t* first4);

// Decodes the first member of the archive into `out`, sized to the member's
// uncompressed size. Fails, with a reason in `error`, when the archive ends
// inside the header or the member data or the member declares more than
// `maxSize` bytes. A damaged DEFLATE stream is not a failure: what decoded is
// kept, decoded bytes past the declared size are dropped and the rest of
// `out` stays zero.
bool ExtractFirstZipMember(ByteSource& archive, uint32_t maxSize, std::vector<uint8_t>& out,
                           std::string& error);

}  // namespace moswit
