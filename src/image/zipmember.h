// SPDX-License-Identifier: GPL-2.0-or-later
// The members of a ZIP archive, found through its central directory, and
// the decoding of one of them.
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

// A member as the central directory lists it.
struct ZipEntry {
  std::string name;  // the bytes stored: UTF-8 or code page 437
  uint16_t flags = 0;
  uint16_t method = 0;
  uint32_t compressedSize = 0;
  uint32_t uncompressedSize = 0;
  uint32_t localOffset = 0;  // where its local file header starts
};

// The central directory is read from at most this many bytes (65,535
// entries of long names fit), so a lying offset never makes us read more.
constexpr uint32_t kMaxZipDirectorySize = 16u * 1024u * 1024u;

// The members in the order of the central directory. Entries are taken
// while each carries its signature and lies wholly inside the file, up to
// the count of the end record. An archive whose directory gives none (cut
// off or damaged) has the members whose local headers follow one another
// from its start, as far as their sizes lead (a member whose sizes follow
// its data ends the walk). False, with the reason, when not even the first
// header can be read.
bool ReadZipEntries(ByteSource& archive, std::vector<ZipEntry>& entries, std::string& error);

// A folder: its name ends in '/' (or '\', as some Windows zippers write).
bool IsZipFolder(const ZipEntry& entry);

// The members that are images: the one file of an archive holding one file,
// whatever its name; of an archive holding several, every one whose name
// ends in ".adf" in any case. Positions in `entries`, in their order.
std::vector<size_t> ZipImageMembers(const std::vector<ZipEntry>& entries);

// Why an archive with no image member gives no image.
std::string NoZipImageReason(const std::vector<ZipEntry>& entries);

// The member's name in UTF-8: as stored when its bytes are valid UTF-8
// (with the UTF-8 flag set, or as zippers on Unix and macOS write it
// without), otherwise read as code page 437, as DOS and Windows zippers
// write it. Bytes below 32 and DEL become "_", so a name always fits on one
// line of a listing.
std::string ZipEntryName(const ZipEntry& entry);

// Decodes the member into `out`, sized to its uncompressed size. The local
// header at its offset rules what is decoded (method, sizes, where the data
// starts); only sizes the header defers to a data descriptor are taken from
// the directory entry. Fails, with a reason in `error`, when there is no
// local header at that offset, the archive ends inside the header or the
// member data, or the member declares more than `maxSize` bytes. A damaged
// DEFLATE stream is not a failure: what decoded is kept, decoded bytes past
// the declared size are dropped and the rest of `out` stays zero.
bool ExtractZipMember(ByteSource& archive, const ZipEntry& entry, uint32_t maxSize,
                      std::vector<uint8_t>& out, std::string& error);

// Decodes the archive's first file, folders passed over, as
// ExtractZipMember does (a DAT given as a ZIP holding it).
bool ExtractFirstZipFile(ByteSource& archive, uint32_t maxSize, std::vector<uint8_t>& out,
                         std::string& error);

}  // namespace moswit
