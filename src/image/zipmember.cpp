// SPDX-License-Identifier: GPL-2.0-or-later
#include "image/zipmember.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace moswit {

namespace {

// Local file header fields (little-endian, from the start of the header).
constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kLocalFlags = 6;
constexpr size_t kLocalMethod = 8;
constexpr size_t kLocalCompressedSize = 18;
constexpr size_t kLocalUncompressedSize = 22;
constexpr size_t kLocalNameLength = 26;
constexpr size_t kLocalExtraLength = 28;
constexpr uint16_t kFlagDataDescriptor = 1u << 3;
constexpr uint16_t kMethodStored = 0;

// End of central directory record and central directory entries.
constexpr uint32_t kEndSignature = 0x06054B50;
constexpr size_t kEndRecordSize = 22;
constexpr size_t kEndEntryCount = 10;
constexpr size_t kEndDirectoryOffset = 16;
constexpr size_t kMaxCommentLength = 0xFFFF;
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr size_t kCentralEntrySize = 46;
constexpr size_t kCentralMethod = 10;
constexpr size_t kCentralCompressedSize = 20;
constexpr size_t kCentralUncompressedSize = 24;
constexpr size_t kCentralNameLength = 28;
constexpr size_t kCentralExtraLength = 30;
constexpr size_t kCentralCommentLength = 32;
constexpr size_t kCentralLocalOffset = 42;

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

struct MemberSizes {
  uint16_t method;
  uint32_t compressed;
  uint32_t uncompressed;
};

// Sizes of the member whose local header is at offset 0, from the central
// directory. Used when the local header defers them to a data descriptor.
bool SizesFromCentralDirectory(ByteSource& archive, MemberSizes& sizes) {
  const uint64_t length = archive.Length();
  if (length < kEndRecordSize) return false;
  const uint64_t tailLength = std::min<uint64_t>(length, kEndRecordSize + kMaxCommentLength);
  std::vector<uint8_t> tail(static_cast<size_t>(tailLength));
  std::string ignored;
  if (!archive.ReadAt(length - tailLength, tail.data(), tail.size(), ignored)) return false;
  // The end record is the last one in the file; search backwards.
  for (size_t at = tail.size() - kEndRecordSize + 1; at-- > 0;) {
    if (Get32(&tail[at]) != kEndSignature) continue;
    uint32_t count = Get16(&tail[at + kEndEntryCount]);
    uint64_t offset = Get32(&tail[at + kEndDirectoryOffset]);
    for (uint32_t i = 0; i < count; ++i) {
      uint8_t entry[kCentralEntrySize];
      if (!archive.ReadAt(offset, entry, sizeof entry, ignored)) return false;
      if (Get32(entry) != kCentralSignature) return false;
      if (Get32(entry + kCentralLocalOffset) == 0) {
        sizes.method = Get16(entry + kCentralMethod);
        sizes.compressed = Get32(entry + kCentralCompressedSize);
        sizes.uncompressed = Get32(entry + kCentralUncompressedSize);
        return true;
      }
      offset += kCentralEntrySize + Get16(entry + kCentralNameLength) +
                Get16(entry + kCentralExtraLength) + Get16(entry + kCentralCommentLength);
    }
    return false;
  }
  return false;
}

// Raw DEFLATE (no zlib or gzip wrapper) into the whole of `out`. Errors of
// the stream end the decoding and leave the rest of `out` as it was.
void InflateRaw(const std::vector<uint8_t>& input, std::vector<uint8_t>& out) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return;
  stream.next_in = const_cast<Bytef*>(input.data());
  stream.avail_in = static_cast<uInt>(input.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  while (stream.avail_out > 0) {
    int result = inflate(&stream, Z_NO_FLUSH);
    if (result != Z_OK) break;  // end of stream, damaged data or no more input
  }
  inflateEnd(&stream);
}

}  // namespace

bool MemorySource::ReadAt(uint64_t offset, void* destination, size_t length, std::string& error) {
  if (offset > length_ || length > length_ - offset) {
    error = kReadBeyondEnd;
    return false;
  }
  if (length > 0) std::memcpy(destination, bytes_ + offset, length);
  return true;
}

bool HasZipSignature(const uint8_t* first4) {
  return first4[0] == 0x50 && first4[1] == 0x4B && first4[2] == 0x03 && first4[3] == 0x04;
}

bool ExtractFirstZipMember(ByteSource& archive, uint32_t maxSize, std::vector<uint8_t>& out,
                           std::string& error) {
  uint8_t header[kLocalHeaderSize];
  if (!archive.ReadAt(0, header, sizeof header, error)) return false;

  MemberSizes sizes{Get16(header + kLocalMethod), Get32(header + kLocalCompressedSize),
                    Get32(header + kLocalUncompressedSize)};
  const uint16_t flags = Get16(header + kLocalFlags);
  if ((flags & kFlagDataDescriptor) && sizes.compressed == 0 && sizes.uncompressed == 0) {
    // Streamed archives write the sizes after the data; the central
    // directory repeats them. Without one the member stays empty.
    SizesFromCentralDirectory(archive, sizes);
  }
  if (sizes.uncompressed > maxSize) {
    error =
        "Image too large: the ZIP member declares " + std::to_string(sizes.uncompressed) + " bytes";
    return false;
  }

  const uint64_t dataOffset =
      kLocalHeaderSize + Get16(header + kLocalNameLength) + Get16(header + kLocalExtraLength);
  if (dataOffset > archive.Length() || sizes.compressed > archive.Length() - dataOffset) {
    error = kReadBeyondEnd;
    return false;
  }
  // A member of at most maxSize bytes never needs much more input than that
  // (stored blocks add 5 bytes per 64 KiB), so a damaged size reads no more.
  const uint64_t inputLimit = static_cast<uint64_t>(maxSize) + maxSize / 16 + 4096;
  std::vector<uint8_t> input(static_cast<size_t>(std::min<uint64_t>(sizes.compressed, inputLimit)));
  if (!archive.ReadAt(dataOffset, input.data(), input.size(), error)) return false;

  out.assign(sizes.uncompressed, 0);
  if (sizes.method == kMethodStored) {
    std::copy_n(input.begin(), std::min<size_t>(input.size(), out.size()), out.begin());
  } else {
    InflateRaw(input, out);
  }
  return true;
}

}  // namespace moswit
