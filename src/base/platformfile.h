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
#include <string>

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

// Whether the two paths name one file (KeyOfFile); false when either
// cannot be reached.
bool SameFileOnDisk(const std::filesystem::path& a, const std::filesystem::path& b);

// What `path` names, links followed.
struct FileFacts {
  bool exists = false;
  bool regular = false;  // a plain file: no folder, device, pipe or socket
  uint64_t links = 0;    // names the file has (hard links)
  FileKey key;
};
// The facts of `path`; `exists` false when nothing can be reached there.
FileFacts FactsOfFile(const std::filesystem::path& path);

// An existing regular file opened for writing in place, neither truncated
// nor replaced, so every name it has keeps it; nullptr, with errno set, when
// it cannot be opened or is anything but a regular file (EINVAL: opening
// never waits for a pipe's reader). `facts` gets what the open file is.
std::FILE* OpenRegularForWriting(const std::filesystem::path& path, FileFacts& facts);

// Cuts the file, flushed, to `size` bytes.
bool TruncateFile(std::FILE* file, uint64_t size);

// Whether a file can be made in `folder`, or where the nearest folder above
// it that exists lets the missing ones be made: 0, or the errno value why
// not (ENOTDIR for a file on the way, EACCES without write permission).
int FolderWritable(const std::filesystem::path& folder);

// This process's id, whether the process `id` still runs on this machine
// (true when that cannot be told), and the machine's name.
uint64_t CurrentProcessId();
bool ProcessAlive(uint64_t id);
std::string MachineName();

}  // namespace moswit
