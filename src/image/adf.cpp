// SPDX-License-Identifier: GPL-2.0-or-later
#include "image/adf.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/pathtext.h"
#include "base/platformfile.h"
#include "image/blockcrcs.h"
#include "image/crc32.h"
#include "image/filecheck.h"
#include "image/gzipstream.h"
#include "image/zipmember.h"

namespace moswit {

namespace {

// An image file on the disk.
class FileSource : public ByteSource {
 public:
  explicit FileSource(ReadOnlyFile& file) : file_(file) {}

  uint64_t Length() const override { return file_.Length(); }

  bool ReadAt(uint64_t offset, void* destination, size_t length, std::string& error) override {
    auto* out = static_cast<uint8_t*>(destination);
    while (length > 0) {
      const int64_t got = file_.ReadAt(offset, out, length);
      if (got < 0) {
        if (errno == EINTR) continue;
        error = std::strerror(errno);
        return false;
      }
      if (got == 0) {
        error = kReadBeyondEnd;
        return false;
      }
      out += got;
      offset += static_cast<uint64_t>(got);
      length -= static_cast<size_t>(got);
    }
    return true;
  }

 private:
  ReadOnlyFile& file_;
};

// Passes reads on, taking the CRC-32 of the bytes read as far as they
// follow one another from the file's start; Finish reads the bytes no read
// reached. So an archive's CRC costs little more than decoding it.
class CheckingSource : public ByteSource {
 public:
  explicit CheckingSource(ByteSource& inner) : inner_(inner) { CrcInit(crc_); }

  uint64_t Length() const override { return inner_.Length(); }

  bool ReadAt(uint64_t offset, void* destination, size_t length, std::string& error) override {
    if (!inner_.ReadAt(offset, destination, length, error)) return false;
    const uint64_t end = offset + length;
    if (offset <= taken_ && end > taken_) {
      CrcUpdate(crc_, static_cast<const uint8_t*>(destination) + (taken_ - offset),
                static_cast<size_t>(end - taken_));
      taken_ = end;
    }
    return true;
  }

  bool Finish(FileCheck& check, std::string& error) {
    const uint64_t length = Length();
    std::vector<uint8_t> piece;
    while (taken_ < length) {
      piece.resize(static_cast<size_t>(std::min<uint64_t>(kLoadPiece, length - taken_)));
      if (!ReadAt(taken_, piece.data(), piece.size(), error)) return false;
    }
    check.size = length;
    check.crc = crc_;
    CrcFinal(check.crc);
    return true;
  }

 private:
  ByteSource& inner_;
  uint64_t taken_ = 0;
  uint32_t crc_ = 0;
};

// The CRC-32 of the image's bytes from its blocks' CRCs, and of the bytes
// after its last whole block.
uint32_t CrcOfBlocks(const tADF& image, const BlockCrcs& crcs) {
  CrcRun run(kCrcShift512, kCrcShift2048);
  const uint32_t blocks = BlockCount(image);
  for (uint32_t b = 0; b < blocks; ++b) run.Add(crcs.Crc(b));
  const size_t tail = image.Size % kBlockSize;
  if (tail == 0) return run.Crc();
  const size_t at = static_cast<size_t>(blocks) * kBlockSize;
  return CrcCombine(run.Crc(), Crc32({image.Data.data() + at, tail}), tail);
}

std::string TooLarge(uint64_t size) {
  return "Image too large: " + std::to_string(size) + " bytes (at most " +
         std::to_string(kMaxImageSize) + ")";
}

// Decodes the archive's member `member` (or its first image member).
bool LoadZipMember(ByteSource& source, uint32_t member, std::vector<uint8_t>& out,
                   std::string& error) {
  std::vector<ZipEntry> entries;
  if (!ReadZipEntries(source, entries, error)) return false;
  size_t position = member;
  if (member == kFirstImageMember) {
    const std::vector<size_t> images = ZipImageMembers(entries);
    if (images.empty()) {
      error = NoZipImageReason(entries);
      return false;
    }
    position = images.front();
  } else if (position >= entries.size() || IsZipFolder(entries[position])) {
    // The archive changed since it was listed.
    error = "The ZIP archive has no file at position " + std::to_string(member);
    return false;
  }
  return ExtractZipMember(source, entries[position], kMaxImageSize, out, error);
}

// Fills `image` from the source; its buffer is reused, and when it already
// has the image's size it is read into without being cleared first. With
// `crcs`, the blocks' CRCs are taken as the bytes arrive; with `file`, the
// size and CRC-32 of what a copy of the row would hold: the file's bytes,
// or for a given member of an archive the member's, since that is copied
// out as a plain image.
bool Load(const std::string& name, ByteSource& source, uint32_t member, tADF& image,
          BlockCrcs* crcs, std::string& error, FileCheck* file = nullptr) {
  uint8_t first4[4];
  if (!source.ReadAt(0, first4, sizeof first4, error)) return false;

  image.FileName = name;
  image.Size = 0;
  if (crcs) crcs->Start(0);
  const bool zip = HasZipSignature(first4);
  const bool archive = zip || HasGzipSignature(first4);
  const bool wholeFile = member == kFirstImageMember;
  if (archive) {
    CheckingSource checking(source);
    ByteSource& input = file && wholeFile ? static_cast<ByteSource&>(checking) : source;
    const bool decoded = zip ? LoadZipMember(input, member, image.Data, error)
                             : wholeFile && DecodeGzip(input, kMaxGzipImageSize, image.Data, error);
    if (!zip && !wholeFile) {
      error = "Not a ZIP archive, so it has no member at position " + std::to_string(member);
    }
    if (!decoded || (file && wholeFile && !checking.Finish(*file, error))) return false;
  } else if (!wholeFile) {
    error = "Not a ZIP archive, so it has no member at position " + std::to_string(member);
    return false;
  } else {
    const uint64_t length = source.Length();
    if (length > kMaxImageSize) {
      error = TooLarge(length);
      return false;
    }
    image.Data.resize(static_cast<size_t>(length));
    if (crcs) {
      crcs->Start(static_cast<uint32_t>(length));
      for (size_t at = 0; at < image.Data.size(); at += kLoadPiece) {
        const size_t piece = std::min(kLoadPiece, image.Data.size() - at);
        if (!source.ReadAt(at, image.Data.data() + at, piece, error)) return false;
        crcs->Arrived(image.Data.data(), at + piece);
      }
    } else if (!source.ReadAt(0, image.Data.data(), image.Data.size(), error)) {
      return false;
    }
  }
  image.Size = static_cast<uint32_t>(image.Data.size());
  // a ZIP or gzip image arrives whole, once decoded
  if (crcs && !crcs->TakenAll(image.Size)) crcs->TakeAll(image);
  if (file && !(archive && wholeFile)) {
    file->size = image.Size;
    file->crc = crcs ? CrcOfBlocks(image, *crcs) : Crc32(image.Data);
  }
  return true;
}

ImagePtr Load(const std::string& name, ByteSource& source, uint32_t member, std::string& error) {
  auto image = std::make_unique<tADF>();
  if (!Load(name, source, member, *image, nullptr, error)) return nullptr;
  return image;
}

}  // namespace

ImagePtr LoadImage(const std::string& path, FileError* error, uint32_t member) {
  ReadOnlyFile file;
  const int opened = file.Open(PathFromText(path));
  std::string reason = opened != 0 ? std::strerror(opened) : "";
  ImagePtr image;
  if (opened == 0) {
    FileSource source(file);
    image = Load(path, source, member, reason);
  }
  if (!image && error) *error = {path, reason};
  return image;
}

namespace {

bool LoadInto(const std::string& path, uint32_t member, tADF& image, BlockCrcs* crcs,
              FileError* error, FileCheck* check = nullptr) {
  image.Size = 0;
  ReadOnlyFile file;
  const int opened = file.Open(PathFromText(path));
  std::string reason = opened != 0 ? std::strerror(opened) : "";
  bool loaded = false;
  if (opened == 0) {
    FileSource source(file);
    loaded = Load(path, source, member, image, crcs, reason, check);
  }
  if (!loaded && error) *error = {path, reason};
  return loaded;
}

}  // namespace

bool LoadImageInto(const std::string& path, tADF& image, FileError* error) {
  return LoadInto(path, kFirstImageMember, image, nullptr, error);
}

bool LoadImageInto(const std::string& path, tADF& image, BlockCrcs& crcs, FileError* error,
                   uint32_t member, FileCheck* file) {
  return LoadInto(path, member, image, &crcs, error, file);
}

std::vector<ArchiveMember> ArchiveImageMembers(const std::string& path) {
  ReadOnlyFile file;
  if (file.Open(PathFromText(path)) != 0) return {};
  FileSource source(file);
  uint8_t first4[4];
  std::string error;
  std::vector<ZipEntry> entries;
  if (!source.ReadAt(0, first4, sizeof first4, error) || !HasZipSignature(first4) ||
      !ReadZipEntries(source, entries, error)) {
    return {};
  }
  std::vector<ArchiveMember> members;
  for (const size_t position : ZipImageMembers(entries)) {
    members.push_back({static_cast<uint32_t>(position), ZipEntryName(entries[position])});
  }
  return members;
}

ImagePtr LoadImageFromMemory(const std::string& name, const uint8_t* bytes, size_t length,
                             FileError* error) {
  MemorySource source(bytes, length);
  std::string reason;
  ImagePtr image = Load(name, source, kFirstImageMember, reason);
  if (!image && error) *error = {name, reason};
  return image;
}

std::string LoadedImageName(const std::string& path, uint32_t member) {
  const std::vector<ArchiveMember> members = ArchiveImageMembers(path);
  if (members.size() < 2) return path;
  if (member == kFirstImageMember) return path + "/" + members.front().name;
  for (const ArchiveMember& each : members) {
    if (each.position == member) return path + "/" + each.name;
  }
  return path;
}

void FreeImage(ImagePtr& image) { image.reset(); }

bool AdviseReadAhead(const std::string& path) { return StartReadAhead(PathFromText(path)); }

}  // namespace moswit
