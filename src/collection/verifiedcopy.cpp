// SPDX-License-Identifier: GPL-2.0-or-later
#include "collection/verifiedcopy.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
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

// A new, empty file beside `destination`, created exclusively so no other
// file is ever taken over; its name starts with a dot.
File CreateTemporary(const std::string& destination, std::string& path, FileError& error) {
  static std::atomic<uint32_t> counter{0};
  static const uint32_t seed = std::random_device{}();
  const std::filesystem::path folder = PathFromText(destination).parent_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const uint32_t n = counter.fetch_add(1, std::memory_order_relaxed);
    char name[48];
    std::snprintf(name, sizeof name, ".moswit-%08x-%u.tmp", seed, n);
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

// Writes what `source` holds to `out`; its size and CRC-32 as it was read.
std::optional<FileCheck> CopyContents(const std::string& source, std::FILE* out,
                                      const std::string& outPath, FileError& error) {
  File in(OpenFile(PathFromText(source), "rb"));
  if (!in) {
    error = ErrorOf(source, errno);
    return std::nullopt;
  }
  std::vector<char>& buffer = Buffer();
  FileCheck check;
  CrcInit(check.crc);
  for (;;) {
    const size_t got = std::fread(buffer.data(), 1, buffer.size(), in.get());
    if (got > 0) {
      CrcUpdate(check.crc, buffer.data(), got);
      check.size += got;
      if (std::fwrite(buffer.data(), 1, got, out) != got) {
        error = ErrorOf(outPath, errno);
        return std::nullopt;
      }
    }
    if (got < buffer.size()) break;
  }
  if (std::ferror(in.get())) {
    error = ErrorOf(source, errno);
    return std::nullopt;
  }
  CrcFinal(check.crc);
  return check;
}

}  // namespace

std::optional<FileCheck> CheckFile(const std::string& path) {
  File in(OpenFile(PathFromText(path), "rb"));
  if (!in) return std::nullopt;
  std::vector<char>& buffer = Buffer();
  FileCheck check;
  CrcInit(check.crc);
  size_t got;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), in.get())) > 0) {
    CrcUpdate(check.crc, buffer.data(), got);
    check.size += got;
  }
  if (std::ferror(in.get())) return std::nullopt;
  CrcFinal(check.crc);
  return check;
}

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
// `destination`, reads it back and renames it there, as CopyVerified says.
// `write` returns the size and CRC-32 of what it wrote.
using ContentsWriter =
    std::function<std::optional<FileCheck>(std::FILE* out, const std::string& outPath, FileError&)>;

PlaceOutcome PlaceVerified(const ContentsWriter& write, const std::string& destination,
                           const FileSeams& seams, FileError& error) {
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
  const std::optional<FileCheck> readBack = seams.readBack(temporary);
  if (!readBack || *readBack != *written) {
    error = {destination, "the copy read back differs from the source"};
    dropTemporary();
    return PlaceOutcome::kFailed;
  }
  const PlaceOutcome placed = RenameNoReplace(temporary, destination, code);
  if (placed != PlaceOutcome::kPlaced) dropTemporary();
  if (placed == PlaceOutcome::kFailed) error = {destination, code.message()};
  return placed;
}

}  // namespace

PlaceOutcome CopyVerified(const std::string& source, const std::string& destination,
                          const FileSeams& seams, FileError& error) {
  return PlaceVerified(
      [&source](std::FILE* out, const std::string& outPath, FileError& failed) {
        return CopyContents(source, out, outPath, failed);
      },
      destination, seams, error);
}

PlaceOutcome WriteVerified(std::span<const uint8_t> contents, const std::string& destination,
                           const FileSeams& seams, FileError& error) {
  return PlaceVerified(
      [contents](std::FILE* out, const std::string& outPath,
                 FileError& failed) -> std::optional<FileCheck> {
        if (std::fwrite(contents.data(), 1, contents.size(), out) != contents.size()) {
          failed = ErrorOf(outPath, errno);
          return std::nullopt;
        }
        FileCheck check{contents.size(), 0};
        CrcInit(check.crc);
        CrcUpdate(check.crc, contents.data(), contents.size());
        CrcFinal(check.crc);
        return check;
      },
      destination, seams, error);
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
                           const FileSeams& seams, FileError& error) {
  std::error_code code;
  seams.hardLink(source, destination, code);
  if (!code) return PlaceOutcome::kPlaced;
  if (code == std::errc::file_exists) return PlaceOutcome::kExists;
  error = {destination, code.message()};
  return PlaceOutcome::kFailed;
}

}  // namespace moswit
