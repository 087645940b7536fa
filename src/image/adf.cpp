#include "image/adf.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "image/blockcrcs.h"
#include "image/gzipstream.h"
#include "image/zipmember.h"

namespace moswit {

namespace {

// A file opened for reading only; other programs may keep it open, also for
// writing, while we read it.
class FileSource : public ByteSource {
 public:
  explicit FileSource(int fd, uint64_t length) : fd_(fd), length_(length) {}
  ~FileSource() override { ::close(fd_); }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  uint64_t Length() const override { return length_; }

  bool ReadAt(uint64_t offset, void* destination, size_t length, std::string& error) override {
    auto* out = static_cast<uint8_t*>(destination);
    while (length > 0) {
      ssize_t got = ::pread(fd_, out, length, static_cast<off_t>(offset));
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
  int fd_;
  uint64_t length_;
};

std::string TooLarge(uint64_t size) {
  return "Image too large: " + std::to_string(size) + " bytes (at most " +
         std::to_string(kMaxImageSize) + ")";
}

// Fills `image` from the source; its buffer is reused, and when it already
// has the image's size it is read into without being cleared first. With
// `crcs`, the blocks' CRCs are taken as the bytes arrive.
bool Load(const std::string& name, ByteSource& source, tADF& image, BlockCrcs* crcs,
          std::string& error) {
  uint8_t first4[4];
  if (!source.ReadAt(0, first4, sizeof first4, error)) return false;

  image.FileName = name;
  image.Size = 0;
  if (crcs) crcs->Start(0);
  if (HasZipSignature(first4)) {
    if (!ExtractFirstZipMember(source, kMaxImageSize, image.Data, error)) return false;
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

ImagePtr Load(const std::string& name, ByteSource& source, std::string& error) {
  auto image = std::make_unique<tADF>();
  if (!Load(name, source, *image, nullptr, error)) return nullptr;
  return image;
}

// Opens `path` for reading as a plain file; an empty reason on success.
std::string OpenForReading(const std::string& path, int& fd, uint64_t& length) {
  fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  struct stat info {};
  std::string reason;
  if (::fstat(fd, &info) != 0) {
    reason = std::strerror(errno);
  } else if (S_ISDIR(info.st_mode)) {
    reason = std::strerror(EISDIR);
  } else {
    length = static_cast<uint64_t>(info.st_size);
    return {};
  }
  ::close(fd);
  fd = -1;
  return reason;
}

}  // namespace

ImagePtr LoadImage(const std::string& path, FileError* error) {
  int fd = -1;
  uint64_t length = 0;
  std::string reason = OpenForReading(path, fd, length);
  ImagePtr image;
  if (reason.empty()) {
    FileSource source(fd, length);
    image = Load(path, source, reason);
  }
  if (!image && error) *error = {path, reason};
  return image;
}

namespace {

bool LoadInto(const std::string& path, tADF& image, BlockCrcs* crcs, FileError* error) {
  image.Size = 0;
  int fd = -1;
  uint64_t length = 0;
  std::string reason = OpenForReading(path, fd, length);
  bool loaded = false;
  if (reason.empty()) {
    FileSource source(fd, length);
    loaded = Load(path, source, image, crcs, reason);
  }
  if (!loaded && error) *error = {path, reason};
  return loaded;
}

}  // namespace

bool LoadImageInto(const std::string& path, tADF& image, FileError* error) {
  return LoadInto(path, image, nullptr, error);
}

bool LoadImageInto(const std::string& path, tADF& image, BlockCrcs& crcs, FileError* error) {
  return LoadInto(path, image, &crcs, error);
}

ImagePtr LoadImageFromMemory(const std::string& name, const uint8_t* bytes, size_t length,
                             FileError* error) {
  MemorySource source(bytes, length);
  std::string reason;
  ImagePtr image = Load(name, source, reason);
  if (!image && error) *error = {name, reason};
  return image;
}

void FreeImage(ImagePtr& image) { image.reset(); }

bool AdviseReadAhead(const std::string& path) {
  // Non-blocking, so a file replaced by a fifo since the listing cannot hold us.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  bool advised = false;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
    // A file whose last byte is in the cache was read before: asking for
    // the rest would only cost the system a walk over cached pages.
    char last;
    iovec byte{&last, 1};
    if (::preadv2(fd, &byte, 1, info.st_size - 1, RWF_NOWAIT) != 1) {
      ::posix_fadvise(fd, 0, 0, POSIX_FADV_WILLNEED);
      advised = true;
    }
  }
  ::close(fd);
  return advised;
}

}  // namespace moswit
