// SPDX-License-Identifier: GPL-2.0-or-later
#include "collection/verifiedcopy.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "base/platformfile.h"

#include "image/crc32.h"

namespace moswit {

namespace {

constexpr size_t kChunk = 1 << 20;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// One buffer per thread, reused from file to file: a fresh one for every
// file would cost as much as the copying (its pages are new each time).
std::vector<char>& Buffer(size_t which = 0) {
  thread_local std::vector<char> buffers[2];
  if (buffers[which].empty()) buffers[which].resize(kChunk);
  return buffers[which];
}

FileError ErrorOf(const std::string& path, int number) { return {path, std::strerror(number)}; }

// The MACHINE part of a temporary file's name.
uint32_t MachineTag() {
  static const uint32_t tag = [] {
    const std::string name = MachineName();
    return Crc32({reinterpret_cast<const uint8_t*>(name.data()), name.size()});
  }();
  return tag;
}

constexpr char kTemporaryPrefix[] = ".moswit-";
constexpr char kTemporaryEnding[] = ".tmp";

// A new, empty file beside `destination`, created exclusively so no other
// file is ever taken over; its name starts with a dot.
File CreateTemporary(const std::string& destination, std::string& path, FileError& error) {
  static std::atomic<uint32_t> counter{0};
  const std::filesystem::path folder = PathFromText(destination).parent_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const uint32_t n = counter.fetch_add(1, std::memory_order_relaxed);
    char name[64];
    std::snprintf(name, sizeof name, "%s%08x-%llu-%u%s", kTemporaryPrefix, MachineTag(),
                  static_cast<unsigned long long>(CurrentProcessId()), n, kTemporaryEnding);
    path = PathText(folder / name);
    if (std::FILE* file = CreateNewFile(folder / name)) return File(file);
    if (errno != EEXIST) {
      error = ErrorOf(path, errno);
      return nullptr;
    }
  }
  error = ErrorOf(path, EEXIST);
  return nullptr;
}

// The process that wrote the temporary file `name` on this machine;
// nothing for any other name.
std::optional<uint64_t> TemporaryWriter(std::string_view name) {
  if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporaryEnding)) return {};
  name.remove_prefix(std::strlen(kTemporaryPrefix));
  name.remove_suffix(std::strlen(kTemporaryEnding));
  char tag[9];
  std::snprintf(tag, sizeof tag, "%08x", MachineTag());
  if (!name.starts_with(tag) || name.size() < 9 || name[8] != '-') return {};
  name.remove_prefix(9);
  const size_t dash = name.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash + 1 == name.size()) return {};
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  uint64_t process = 0;
  for (char c : name.substr(0, dash)) {
    if (!digit(c) || process > (UINT64_MAX - 9) / 10) return {};
    process = process * 10 + static_cast<uint64_t>(c - '0');
  }
  for (char c : name.substr(dash + 1)) {
    if (!digit(c)) return {};
  }
  return process;
}

// Writes what `source` holds to `out`; its size and CRC-32 as it was read.
std::optional<FileCheck> CopyContents(const std::string& source, std::FILE* out,
                                      const std::string& outPath, FileError& error) {
  // Read at offsets, so a pipe put in the source's place fails at once.
  ReadOnlyFile in;
  if (const int opened = in.Open(PathFromText(source)); opened != 0) {
    error = ErrorOf(source, opened);
    return std::nullopt;
  }
  std::vector<char>& buffer = Buffer();
  FileCheck check;
  CrcInit(check.crc);
  for (;;) {
    const int64_t got = in.ReadAt(check.size, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = ErrorOf(source, errno);
      return std::nullopt;
    }
    if (got == 0) break;
    const auto length = static_cast<size_t>(got);
    CrcUpdate(check.crc, buffer.data(), length);
    check.size += length;
    if (std::fwrite(buffer.data(), 1, length, out) != length) {
      error = ErrorOf(outPath, errno);
      return std::nullopt;
    }
  }
  CrcFinal(check.crc);
  return check;
}

}  // namespace

std::optional<bool> SameContents(const std::string& a, const std::string& b, FileError& error) {
  std::error_code code;
  const uintmax_t sizeA = std::filesystem::file_size(PathFromText(a), code);
  if (code) {
    error = {a, code.message()};
    return std::nullopt;
  }
  const uintmax_t sizeB = std::filesystem::file_size(PathFromText(b), code);
  if (code) {
    error = {b, code.message()};
    return std::nullopt;
  }
  if (sizeA != sizeB) return false;
  File inA(OpenFile(PathFromText(a), "rb"));
  if (!inA) {
    error = ErrorOf(a, errno);
    return std::nullopt;
  }
  File inB(OpenFile(PathFromText(b), "rb"));
  if (!inB) {
    error = ErrorOf(b, errno);
    return std::nullopt;
  }
  std::vector<char>& bufferA = Buffer(0);
  std::vector<char>& bufferB = Buffer(1);
  for (;;) {
    const size_t gotA = std::fread(bufferA.data(), 1, kChunk, inA.get());
    const size_t gotB = std::fread(bufferB.data(), 1, kChunk, inB.get());
    if (gotA != gotB || std::memcmp(bufferA.data(), bufferB.data(), gotA) != 0) return false;
    if (gotA < kChunk) break;
  }
  if (std::ferror(inA.get()) || std::ferror(inB.get())) {
    error = ErrorOf(std::ferror(inA.get()) ? a : b, EIO);
    return std::nullopt;
  }
  return true;
}

namespace {

// Writes the contents `write` puts into a temporary file beside
// `destination` and returns their size and CRC-32 as written.
using ContentsWriter =
    std::function<std::optional<FileCheck>(std::FILE* out, const std::string& outPath, FileError&)>;

// Writes through a temporary file, checks what was written against
// `expected` and against the file read back, gives it the time of
// `timeOf`, and renames it to `destination` without replacing anything.
PlaceOutcome PlaceVerified(const ContentsWriter& write, const std::string& source,
                           const std::string& destination, const FileSeams& seams, FileError& error,
                           const std::optional<FileCheck>& expected) {
  std::error_code code;
  // A destination there already is never opened for writing.
  if (std::filesystem::exists(std::filesystem::symlink_status(PathFromText(destination), code))) {
    return PlaceOutcome::kExists;
  }
  std::string temporary;
  File out = CreateTemporary(destination, temporary, error);
  if (!out) return PlaceOutcome::kFailed;
  const auto dropTemporary = [&temporary] {
    std::error_code ignored;
    std::filesystem::remove(PathFromText(temporary), ignored);
  };
  const std::optional<FileCheck> written = write(out.get(), temporary, error);
  const int closed = std::fclose(out.release());
  if (!written || closed != 0) {
    if (written) error = ErrorOf(temporary, errno);
    dropTemporary();
    return PlaceOutcome::kFailed;
  }
  if (expected && *written != *expected) {
    error = {source, kChangedSinceScan};
    dropTemporary();
    return PlaceOutcome::kFailed;
  }
  const std::optional<FileCheck> readBack = seams.readBack(temporary);
  if (!readBack || *readBack != *written) {
    error = {destination, "the copy read back differs from the source"};
    dropTemporary();
    return PlaceOutcome::kFailed;
  }
  // The copy is the source's image, so it keeps the source's time; a file
  // system that cannot set it still gets the copy.
  const auto modified = std::filesystem::last_write_time(PathFromText(source), code);
  if (!code) std::filesystem::last_write_time(PathFromText(temporary), modified, code);
  const PlaceOutcome placed = RenameNoReplace(temporary, destination, code);
  if (placed != PlaceOutcome::kPlaced) dropTemporary();
  if (placed == PlaceOutcome::kFailed) error = {destination, code.message()};
  return placed;
}

}  // namespace

PlaceOutcome CopyVerified(const std::string& source, const std::string& destination,
                          const FileSeams& seams, FileError& error,
                          const std::optional<FileCheck>& expected) {
  return PlaceVerified(
      [&source](std::FILE* out, const std::string& outPath, FileError& failed) {
        return CopyContents(source, out, outPath, failed);
      },
      source, destination, seams, error, expected);
}

PlaceOutcome WriteVerified(std::span<const uint8_t> contents, const std::string& source,
                           const std::string& destination, const FileSeams& seams, FileError& error,
                           const std::optional<FileCheck>& expected) {
  return PlaceVerified(
      [contents](std::FILE* out, const std::string& outPath,
                 FileError& failed) -> std::optional<FileCheck> {
        if (std::fwrite(contents.data(), 1, contents.size(), out) != contents.size()) {
          failed = ErrorOf(outPath, errno);
          return std::nullopt;
        }
        return FileCheck{contents.size(), Crc32(contents)};
      },
      source, destination, seams, error, expected);
}

std::optional<bool> FileHolds(const std::string& path, std::span<const uint8_t> contents,
                              FileError& error) {
  File in(OpenFile(PathFromText(path), "rb"));
  if (!in) {
    error = ErrorOf(path, errno);
    return std::nullopt;
  }
  std::vector<char>& buffer = Buffer();
  size_t at = 0;
  for (;;) {
    const size_t got = std::fread(buffer.data(), 1, buffer.size(), in.get());
    if (got > contents.size() - at || std::memcmp(buffer.data(), contents.data() + at, got) != 0) {
      return false;
    }
    at += got;
    if (got < buffer.size()) break;
  }
  if (std::ferror(in.get())) {
    error = ErrorOf(path, EIO);
    return std::nullopt;
  }
  return at == contents.size();
}

PlaceOutcome LinkNoReplace(const std::string& source, const std::string& destination,
                           const FileSeams& seams, FileError& error,
                           const std::optional<FileCheck>& expected) {
  std::error_code code;
  // A hard link to a symbolic link would be that link, whose relative
  // target means nothing beside the destination.
  const std::filesystem::path file = std::filesystem::canonical(PathFromText(source), code);
  if (code) {
    error = {source, code.message()};
    return PlaceOutcome::kFailed;
  }
  seams.hardLink(PathText(file), destination, code);
  if (code == std::errc::file_exists) return PlaceOutcome::kExists;
  if (code) {
    error = {destination, code.message()};
    return PlaceOutcome::kFailed;
  }
  if (expected && seams.readBack(destination) != expected) {
    std::filesystem::remove(PathFromText(destination), code);
    error = {source, kChangedSinceScan};
    return PlaceOutcome::kFailed;
  }
  return PlaceOutcome::kPlaced;
}

size_t RemoveLeftoverTemporaries(const std::string& folder) {
  size_t removed = 0;
  std::error_code code;
  for (std::filesystem::directory_iterator entry(PathFromText(folder), code), end;
       !code && entry != end; entry.increment(code)) {
    const std::optional<uint64_t> writer = TemporaryWriter(PathText(entry->path().filename()));
    if (!writer || *writer == CurrentProcessId() || ProcessAlive(*writer)) continue;
    std::error_code ignored;
    if (std::filesystem::remove(entry->path(), ignored)) ++removed;
  }
  return removed;
}

}  // namespace moswit
