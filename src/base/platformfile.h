// SPDX-License-Identifier: GPL-2.0-or-later
// The operating system's file calls behind one face, so the rest of the core
// reads and writes alike on POSIX systems and on Windows: names go in as
// std::filesystem::path (wide on Windows, so every name reaches the system),
// failures come back as errno values, and what a system lacks (read-ahead
// hints, syncing a folder) is left out there.
#pragma once

#include <compare>
#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace moswit {

#ifdef __linux__
constexpr bool kReadAheadHints = true;
#else
constexpr bool kReadAheadHints = false;
#endif

// std::fopen with the name in the system's own form.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

// A file that did not exist before, opened for writing bytes as they are;
// nullptr with errno EEXIST when something is at `path` already.
std::FILE* CreateNewFile(const std::filesystem::path& path);

// Writes what `file` holds, flushed, through to the disk; false with errno
// set when the system reports a failure.
bool SyncFile(std::FILE* file);

// Makes changes to the entries of `folder` (a rename) durable where the
// system syncs folders; failure loses nothing already written.
void SyncFolder(const std::filesystem::path& folder);

// A file opened for reading only and read at offsets; other programs may
// keep it open, also for writing, while it is read.
class ReadOnlyFile {
 public:
  ReadOnlyFile() = default;
  ~ReadOnlyFile();
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  // 0 when `path` is open, else the errno value of the failure (EISDIR for
  // a folder).
  int Open(const std::filesystem::path& path);
  uint64_t Length() const { return length_; }
  // Like pread: the count of bytes read into `destination` (at most
  // `length`, 0 at the end of the file), or -1 with errno set.
  int64_t ReadAt(uint64_t offset, void* destination, size_t length);

 private:
  int fd_ = -1;
  uint64_t length_ = 0;
};

// Asks the system to read the plain file at `path` into its cache in the
// background; true when it was asked. Where kReadAheadHints is false it
// never is, and files are read when they are loaded.
bool StartReadAhead(const std::filesystem::path& path);

// What tells a file or folder from every other on the system: device and
// inode on POSIX systems, volume serial number and file index on Windows.
struct FileKey {
  uint64_t device = 0;
  uint64_t index = 0;
  auto operator<=>(const FileKey&) const = default;
};

// The key of what `path` names, links followed; false when it cannot be
// reached.
bool KeyOfFile(const std::filesystem::path& path, FileKey& key);

}  // namespace moswit
