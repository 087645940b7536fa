// SPDX-License-Identifier: GPL-2.0-or-later
#include "base/platformfile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <string>
#include <system_error>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/uio.h>
#endif
#endif

namespace moswit {

#ifdef _WIN32

namespace {

// Windows refuses to open a folder as a file with "access denied"; the
// reason given is the one POSIX systems give.
int FolderAware(int error, const std::filesystem::path& path) {
  std::error_code ignored;
  return error == EACCES && std::filesystem::is_directory(path, ignored) ? EISDIR : error;
}

}  // namespace

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
  const std::wstring wideMode(mode, mode + std::strlen(mode));
  std::FILE* file = ::_wfopen(path.c_str(), wideMode.c_str());
  if (file == nullptr) errno = FolderAware(errno, path);
  return file;
}

std::FILE* CreateNewFile(const std::filesystem::path& path) {
  const int fd = ::_wsopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                           _SH_DENYNO, _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* file = ::_fdopen(fd, "wb");
  if (file == nullptr) {
    const int error = errno;
    ::_close(fd);
    errno = error;
  }
  return file;
}

bool SyncFile(std::FILE* file) { return ::_commit(::_fileno(file)) == 0; }

// NTFS keeps a rename in its journal; a folder cannot be flushed like a file.
void SyncFolder(const std::filesystem::path&) {}

ReadOnlyFile::~ReadOnlyFile() {
  if (fd_ >= 0) ::_close(fd_);
}

int ReadOnlyFile::Open(const std::filesystem::path& path) {
  fd_ = ::_wsopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO);
  if (fd_ < 0) return FolderAware(errno, path);
  struct _stat64 info {};
  int error = 0;
  if (::_fstat64(fd_, &info) != 0) {
    error = errno;
  } else if ((info.st_mode & _S_IFMT) == _S_IFDIR) {
    error = EISDIR;
  } else {
    length_ = static_cast<uint64_t>(info.st_size);
    return 0;
  }
  ::_close(fd_);
  fd_ = -1;
  return error;
}

// The descriptor is this object's own, so seeking before each read is safe.
int64_t ReadOnlyFile::ReadAt(uint64_t offset, void* destination, size_t length) {
  if (::_lseeki64(fd_, static_cast<__int64>(offset), SEEK_SET) < 0) return -1;
  const unsigned count = static_cast<unsigned>(std::min<size_t>(length, INT_MAX));
  return ::_read(fd_, destination, count);
}

bool StartReadAhead(const std::filesystem::path&) { return false; }

bool KeyOfFile(const std::filesystem::path& path, FileKey& key) {
  // Backup semantics let a folder be opened; no access right is asked for.
  const HANDLE handle =
      ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
  ::CloseHandle(handle);
  if (!known) return false;
  key = {info.dwVolumeSerialNumber,
         (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
  return true;
}

namespace {

// The facts of an open handle: a regular file is one on a disk that is no
// folder (NUL, CON and pipes are of other types).
bool FactsOfHandle(HANDLE handle, FileFacts& facts) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileInformationByHandle(handle, &info) == 0) {
    // Devices and pipes have no such information: they exist, and are not
    // regular files.
    facts = {};
    facts.exists = ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
    return facts.exists;
  }
  facts.exists = true;
  facts.regular = ::GetFileType(handle) == FILE_TYPE_DISK &&
                  (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  facts.links = info.nNumberOfLinks;
  facts.key = {info.dwVolumeSerialNumber,
               (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
  return true;
}

}  // namespace

FileFacts FactsOfFile(const std::filesystem::path& path) {
  FileFacts facts;
  const HANDLE handle =
      ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return facts;
  FactsOfHandle(handle, facts);
  ::CloseHandle(handle);
  return facts;
}

std::FILE* OpenRegularForWriting(const std::filesystem::path& path, FileFacts& facts) {
  const int fd = ::_wsopen(path.c_str(), _O_WRONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO);
  if (fd < 0) return nullptr;
  const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
  if (!FactsOfHandle(handle, facts) || !facts.regular) {
    ::_close(fd);
    errno = EINVAL;
    return nullptr;
  }
  std::FILE* file = ::_fdopen(fd, "wb");
  if (file == nullptr) {
    const int error = errno;
    ::_close(fd);
    errno = error;
  }
  return file;
}

bool TruncateFile(std::FILE* file, uint64_t size) {
  if (std::fflush(file) != 0) return false;
  const errno_t error = ::_chsize_s(::_fileno(file), static_cast<__int64>(size));
  if (error != 0) errno = error;
  return error == 0;
}

namespace {

bool Writable(const std::filesystem::path& folder) { return ::_waccess(folder.c_str(), 2) == 0; }

}  // namespace

uint64_t CurrentProcessId() { return ::GetCurrentProcessId(); }

bool ProcessAlive(uint64_t id) {
  if (id == 0 || id > MAXDWORD) return true;
  const HANDLE process =
      ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
  // Not allowed to look means it is there.
  if (process == nullptr) return ::GetLastError() != ERROR_INVALID_PARAMETER;
  DWORD code = 0;
  const bool running = ::GetExitCodeProcess(process, &code) == 0 || code == STILL_ACTIVE;
  ::CloseHandle(process);
  return running;
}

std::string MachineName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  return ::GetComputerNameA(name, &size) != 0 ? std::string(name, size) : std::string();
}

#else

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

std::FILE* CreateNewFile(const std::filesystem::path& path) {
  return std::fopen(path.c_str(), "wbx");
}

bool SyncFile(std::FILE* file) { return ::fsync(::fileno(file)) == 0; }

void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

ReadOnlyFile::~ReadOnlyFile() {
  if (fd_ >= 0) ::close(fd_);
}

int ReadOnlyFile::Open(const std::filesystem::path& path) {
  // Non-blocking, so a fifo found in a file's place cannot hold the open
  // until a writer comes (reading at offsets then fails on it).
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) return errno;
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
  struct stat info {};
  int error = 0;
  if (::fstat(fd_, &info) != 0) {
    error = errno;
  } else if (S_ISDIR(info.st_mode)) {
    error = EISDIR;
  } else {
    length_ = static_cast<uint64_t>(info.st_size);
    return 0;
  }
  ::close(fd_);
  fd_ = -1;
  return error;
}

int64_t ReadOnlyFile::ReadAt(uint64_t offset, void* destination, size_t length) {
  return ::pread(fd_, destination, length, static_cast<off_t>(offset));
}

#ifdef __linux__
bool StartReadAhead(const std::filesystem::path& path) {
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
#else
bool StartReadAhead(const std::filesystem::path&) { return false; }
#endif

bool KeyOfFile(const std::filesystem::path& path, FileKey& key) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  key = {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
  return true;
}

namespace {

FileFacts FactsOf(const struct stat& info) {
  FileFacts facts;
  facts.exists = true;
  facts.regular = S_ISREG(info.st_mode);
  facts.links = static_cast<uint64_t>(info.st_nlink);
  facts.key = {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
  return facts;
}

}  // namespace

FileFacts FactsOfFile(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  return FactsOf(info);
}

std::FILE* OpenRegularForWriting(const std::filesystem::path& path, FileFacts& facts) {
  // Non-blocking, so a fifo put there cannot hold us until a reader comes.
  const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    const int error = S_ISREG(info.st_mode) ? errno : EINVAL;
    ::close(fd);
    errno = error;
    return nullptr;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  facts = FactsOf(info);
  std::FILE* file = ::fdopen(fd, "wb");
  if (file == nullptr) {
    const int error = errno;
    ::close(fd);
    errno = error;
  }
  return file;
}

bool TruncateFile(std::FILE* file, uint64_t size) {
  return std::fflush(file) == 0 && ::ftruncate(::fileno(file), static_cast<off_t>(size)) == 0;
}

namespace {

bool Writable(const std::filesystem::path& folder) {
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

uint64_t CurrentProcessId() { return static_cast<uint64_t>(::getpid()); }

bool ProcessAlive(uint64_t id) {
  // 0 and negative ids would name process groups.
  if (id == 0 || id > static_cast<uint64_t>(INT_MAX)) return true;
  return ::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

std::string MachineName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

#endif

bool SameFileOnDisk(const std::filesystem::path& a, const std::filesystem::path& b) {
  FileKey keyA;
  FileKey keyB;
  return KeyOfFile(a, keyA) && KeyOfFile(b, keyB) && keyA == keyB;
}

int FolderWritable(const std::filesystem::path& folder) {
  std::filesystem::path at = folder.empty() ? std::filesystem::path(".") : folder;
  for (;;) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(at, error);
    if (std::filesystem::exists(status)) {
      if (!std::filesystem::is_directory(status)) return ENOTDIR;
      return Writable(at) ? 0 : EACCES;
    }
    std::filesystem::path up = at.parent_path();
    if (up.empty()) up = ".";
    if (up == at) return ENOENT;
    at = up;
  }
}

}  // namespace moswit
