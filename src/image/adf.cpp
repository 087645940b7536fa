// SPDX-License-Identifier: GPL-2.0-or-later
#include "image/adf.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/pathtext.h"
#include "base/platformfile.h"
#include "image/blockcrcs.h"
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
// `crcs`, the blocks' CRCs are taken as the bytes arrive.
bool Load(const std::string& name, ByteSource& source, uint32_t member, tADF& image,
          BlockCrcs* crcs, std::string& error) {
  uint8_t first4[4];
  if (!source.ReadAt(0, first4, sizeof first4, error)) return false;

  image.FileName = name;
  image.Size = 0;
  if (crcs) crcs->Start(0);
  if (HasZipSignature(first4)) {
    if (!LoadZipMember(source, member, image.Data, error)) return false;
  } else if (member != kFirstImageMember) {
    error = "Not a ZIP archive, so it has no member at position " + std::to_string(member);
    return false;
  } else if (HasGzipSignature(first4)) {
    if (!DecodeGzip(source, kMaxGzipImageSize, image.Data, error)) return false;
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
              FileError* error) {
  image.Size = 0;
  ReadOnlyFile file;
  const int opened = file.Open(PathFromText(path));
  std::string reason = opened != 0 ? std::strerror(opened) : "";
  bool loaded = false;
  if (opened == 0) {
    FileSource source(file);
    loaded = Load(path, source, member, image, crcs, reason);
  }
  if (!loaded && error) *error = {path, reason};
  return loaded;
}

}  // namespace

bool LoadImageInto(const std::string& path, tADF& image, FileError* error) {
  return LoadInto(path, kFirstImageMember, image, nullptr, error);
}

bool LoadImageInto(const std::string& path, tADF& image, BlockCrcs& crcs, FileError* error,
                   uint32_t member) {
  return LoadInto(path, member, image, &crcs, error);
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

std::string LoadedImageName(const std::string& path) {
  const std::vector<ArchiveMember> members = ArchiveImageMembers(path);
  return members.size() > 1 ? path + "/" + members.front().name : path;
}

void FreeImage(ImagePtr& image) { image.reset(); }

bool AdviseReadAhead(const std::string& path) { return StartReadAhead(PathFromText(path)); }

}  // namespace moswit
