// SPDX-License-Identifier: GPL-2.0-or-later
#include "image/zipmember.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "base/asciicase.h"
#include "base/codepage.h"

namespace moswit {

namespace {

// Local file header fields (little-endian, from the start of the header).
constexpr uint32_t kLocalSignature = 0x04034B50;
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
constexpr size_t kCentralFlags = 8;
constexpr size_t kCentralMethod = 10;
constexpr size_t kCentralCompressedSize = 20;
constexpr size_t kCentralUncompressedSize = 24;
constexpr size_t kCentralNameLength = 28;
constexpr size_t kCentralExtraLength = 30;
constexpr size_t kCentralCommentLength = 32;
constexpr size_t kCentralLocalOffset = 42;

// As many entries as the end record can count.
constexpr size_t kMaxZipEntries = 0xFFFF;

// End records tried, from the last one back, before the archive is taken
// to have no directory: a comment may hold the signature too.
constexpr int kEndRecordsTried = 16;

// Code page 437, bytes 0x80 to 0xFF: what DOS and Windows zippers write
// names in when they do not set the UTF-8 flag.
constexpr std::array<char16_t, 128> kCodePage437 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 80-87
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  // 88-8F
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 90-97
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,  // 98-9F
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // A0-A7
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // A8-AF
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // B0-B7
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,  // B8-BF
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // C0-C7
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,  // C8-CF
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // D0-D7
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,  // D8-DF
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,  // E0-E7
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,  // E8-EF
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,  // F0-F7
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,  // F8-FF
};

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// The entries of the directory `directory` (its bytes, read from where the
// end record says it starts up to the end record), at most `count`.
std::vector<ZipEntry> ParseDirectory(const std::vector<uint8_t>& directory, uint32_t count) {
  std::vector<ZipEntry> entries;
  size_t at = 0;
  while (entries.size() < count && directory.size() - at >= kCentralEntrySize) {
    const uint8_t* entry = directory.data() + at;
    if (Get32(entry) != kCentralSignature) break;
    const size_t nameLength = Get16(entry + kCentralNameLength);
    const size_t length = kCentralEntrySize + nameLength + Get16(entry + kCentralExtraLength) +
                          Get16(entry + kCentralCommentLength);
    if (directory.size() - at < length) break;
    ZipEntry& member = entries.emplace_back();
    member.name.assign(reinterpret_cast<const char*>(entry + kCentralEntrySize), nameLength);
    member.flags = Get16(entry + kCentralFlags);
    member.method = Get16(entry + kCentralMethod);
    member.compressedSize = Get32(entry + kCentralCompressedSize);
    member.uncompressedSize = Get32(entry + kCentralUncompressedSize);
    member.localOffset = Get32(entry + kCentralLocalOffset);
    at += length;
  }
  return entries;
}

// The entries of the central directory; none when no end record leads to
// one.
std::vector<ZipEntry> EntriesFromDirectory(ByteSource& archive) {
  const uint64_t length = archive.Length();
  if (length < kEndRecordSize) return {};
  const uint64_t tailLength = std::min<uint64_t>(length, kEndRecordSize + kMaxCommentLength);
  const uint64_t tailStart = length - tailLength;
  std::vector<uint8_t> tail(static_cast<size_t>(tailLength));
  std::string ignored;
  if (!archive.ReadAt(tailStart, tail.data(), tail.size(), ignored)) return {};
  // The end record is the last one in the file; search backwards.
  int tried = 0;
  for (size_t at = tail.size() - kEndRecordSize + 1; at-- > 0 && tried < kEndRecordsTried;) {
    if (Get32(&tail[at]) != kEndSignature) continue;
    ++tried;
    const uint64_t endOffset = tailStart + at;
    const uint64_t start = Get32(&tail[at + kEndDirectoryOffset]);
    if (start >= endOffset) continue;
    const uint64_t size = std::min<uint64_t>(endOffset - start, kMaxZipDirectorySize);
    std::vector<uint8_t> directory(static_cast<size_t>(size));
    if (!archive.ReadAt(start, directory.data(), directory.size(), ignored)) continue;
    std::vector<ZipEntry> entries = ParseDirectory(directory, Get16(&tail[at + kEndEntryCount]));
    if (!entries.empty()) return entries;
  }
  return {};
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

bool IsValidUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const std::optional<Utf8Letter> letter = DecodeUtf8(text, at);
    if (!letter) return false;
    at += letter->length;
  }
  return true;
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

bool HasZipSignature(const uint8_t* first4) { return Get32(first4) == kLocalSignature; }

bool ReadZipEntries(ByteSource& archive, std::vector<ZipEntry>& entries, std::string& error) {
  entries = EntriesFromDirectory(archive);
  if (!entries.empty()) return true;
  // Without a directory, the local headers that follow one another from
  // the start: each one's sizes lead to the next, until a header is missing
  // or defers its sizes to a data descriptor.
  uint64_t offset = 0;
  const uint64_t length = archive.Length();
  while (offset <= UINT32_MAX && entries.size() < kMaxZipEntries) {
    uint8_t header[kLocalHeaderSize];
    std::string reason;
    if (!archive.ReadAt(offset, header, sizeof header, reason)) {
      if (entries.empty()) error = reason;
      break;
    }
    if (Get32(header) != kLocalSignature) {
      if (entries.empty()) error = "Not a ZIP archive: no local header at its start";
      break;
    }
    ZipEntry& entry = entries.emplace_back();
    entry.flags = Get16(header + kLocalFlags);
    entry.method = Get16(header + kLocalMethod);
    entry.compressedSize = Get32(header + kLocalCompressedSize);
    entry.uncompressedSize = Get32(header + kLocalUncompressedSize);
    entry.localOffset = static_cast<uint32_t>(offset);
    // A name cut off by the end of the file stays empty; the data is
    // missing then anyway, and extracting says so.
    std::string name(Get16(header + kLocalNameLength), '\0');
    if (archive.ReadAt(offset + kLocalHeaderSize, name.data(), name.size(), reason)) {
      entry.name = std::move(name);
    }
    if ((entry.flags & kFlagDataDescriptor) && entry.compressedSize == 0) break;
    offset += kLocalHeaderSize + Get16(header + kLocalNameLength) +
              Get16(header + kLocalExtraLength) + uint64_t{entry.compressedSize};
    if (offset >= length) break;
  }
  return !entries.empty();
}

bool IsZipFolder(const ZipEntry& entry) {
  return !entry.name.empty() && (entry.name.back() == '/' || entry.name.back() == '\\');
}

std::vector<size_t> ZipImageMembers(const std::vector<ZipEntry>& entries) {
  std::vector<size_t> files;
  std::vector<size_t> images;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (IsZipFolder(entries[i])) continue;
    files.push_back(i);
    if (EndsWithUpper(entries[i].name, ".ADF")) images.push_back(i);
  }
  return files.size() == 1 ? files : images;
}

std::string NoZipImageReason(const std::vector<ZipEntry>& entries) {
  const auto files = static_cast<size_t>(std::count_if(
      entries.begin(), entries.end(), [](const ZipEntry& e) { return !IsZipFolder(e); }));
  if (files == 0) return "No image in the ZIP archive: it holds no file, only folders";
  return "No image in the ZIP archive: none of its " + std::to_string(files) +
         " files ends in .adf";
}

std::string ZipEntryName(const ZipEntry& entry) {
  std::string name;
  if (IsValidUtf8(entry.name)) {
    name = entry.name;
  } else {
    for (const char c : entry.name) {
      const auto byte = static_cast<uint8_t>(c);
      AppendUtf8(byte < 0x80 ? byte : kCodePage437[byte - 0x80], name);
    }
  }
  for (char& c : name) {
    if (static_cast<uint8_t>(c) < 32 || c == 0x7F) c = '_';
  }
  return name;
}

bool ExtractZipMember(ByteSource& archive, const ZipEntry& entry, uint32_t maxSize,
                      std::vector<uint8_t>& out, std::string& error) {
  uint8_t header[kLocalHeaderSize];
  if (!archive.ReadAt(entry.localOffset, header, sizeof header, error)) return false;
  if (Get32(header) != kLocalSignature) {
    error = "Damaged ZIP archive: no local header at offset " + std::to_string(entry.localOffset);
    return false;
  }
  uint32_t compressed = Get32(header + kLocalCompressedSize);
  uint32_t uncompressed = Get32(header + kLocalUncompressedSize);
  if ((Get16(header + kLocalFlags) & kFlagDataDescriptor) && compressed == 0 && uncompressed == 0) {
    // Streamed archives write the sizes after the data; the central
    // directory repeats them. Without one the member stays empty.
    compressed = entry.compressedSize;
    uncompressed = entry.uncompressedSize;
  }
  if (uncompressed > maxSize) {
    error = "Image too large: the ZIP member declares " + std::to_string(uncompressed) + " bytes";
    return false;
  }

  const uint64_t dataOffset = uint64_t{entry.localOffset} + kLocalHeaderSize +
                              Get16(header + kLocalNameLength) + Get16(header + kLocalExtraLength);
  if (dataOffset > archive.Length() || compressed > archive.Length() - dataOffset) {
    error = kReadBeyondEnd;
    return false;
  }
  // A member of at most maxSize bytes never needs much more input than that
  // (stored blocks add 5 bytes per 64 KiB), so a damaged size reads no more.
  const uint64_t inputLimit = static_cast<uint64_t>(maxSize) + maxSize / 16 + 4096;
  std::vector<uint8_t> input(static_cast<size_t>(std::min<uint64_t>(compressed, inputLimit)));
  if (!archive.ReadAt(dataOffset, input.data(), input.size(), error)) return false;

  out.assign(uncompressed, 0);
  if (Get16(header + kLocalMethod) == kMethodStored) {
    std::copy_n(input.begin(), std::min<size_t>(input.size(), out.size()), out.begin());
  } else {
    InflateRaw(input, out);
  }
  return true;
}

bool ExtractFirstZipFile(ByteSource& archive, uint32_t maxSize, std::vector<uint8_t>& out,
                         std::string& error) {
  std::vector<ZipEntry> entries;
  if (!ReadZipEntries(archive, entries, error)) return false;
  const auto file = std::find_if(entries.begin(), entries.end(),
                                 [](const ZipEntry& entry) { return !IsZipFolder(entry); });
  if (file == entries.end()) {
    error = "the ZIP archive holds no file, only folders";
    return false;
  }
  return ExtractZipMember(archive, *file, maxSize, out, error);
}

}  // namespace moswit
