// SPDX-License-Identifier: GPL-2.0-or-later
#include "database/didwriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <system_error>

#include "base/pathtext.h"
#include "base/platformfile.h"
#include "database/didfields.h"
#include "image/filecheck.h"

namespace moswit {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

class Writer {
 public:
  explicit Writer(std::string& out) : out_(out) {}

  void Database(const DatabaseInfo& database) {
    Info(database);
    for (const GameRecord& game : database.games) Game(game);
  }

  // The database's own record, whole on one line.
  void Info(const DatabaseInfo& database) { InlineRecord(kInfoKeyword, database); }

  void Game(const GameRecord& game) {
    // The one opening line without a blank after its "(".
    out_ += kGameKeyword;
    out_ += " (";
    out_ += kLineEnd;
    Fields(game);
    for (const VersionRecord& version : game.versions) BlockRecord(kVersionKeyword, version);
    for (const DiskRecord& disk : game.disks) {
      OpenBlock(kDiskKeyword);
      Fields(disk);
      for (const FileRecord& file : disk.files) InlineRecord(kFileKeyword, file);
      for (const RangeRecord& range : disk.ranges) InlineRecord(kRangeKeyword, range);
      CloseBlock();
    }
    CloseBlock();
  }

 private:
  void OpenBlock(std::string_view keyword) {
    out_ += keyword;
    out_ += " ( ";
    out_ += kLineEnd;
  }

  void CloseBlock() {
    out_ += ')';
    out_ += kLineEnd;
  }

  // Keyword, blank, value (a text between double quotes), then what ends
  // the field: `end`, or `textEnd` (the closing quote and `end`) after a text.
  template <typename Record>
  void Field(const DidField<Record>& field, const Record& record, std::string_view end,
             std::string_view textEnd) {
    const bool text = field.form == DidForm::kText;
    out_ += field.keyword;
    out_ += text ? std::string_view(" \"") : std::string_view(" ");
    AppendValue(field, record, out_);
    out_ += text ? textEnd : end;
  }

  // One line per written field.
  template <typename Record>
  void Fields(const Record& record) {
    for (const DidField<Record>& field : FieldTable<Record>()) {
      if (IsWritten(field, record)) Field(field, record, kLineEnd, "\"\r\n");
    }
  }

  template <typename Record>
  void BlockRecord(std::string_view keyword, const Record& record) {
    OpenBlock(keyword);
    Fields(record);
    CloseBlock();
  }

  // "keyword ( ", each written field followed by a blank, then ")".
  template <typename Record>
  void InlineRecord(std::string_view keyword, const Record& record) {
    out_ += keyword;
    out_ += " ( ";
    for (const DidField<Record>& field : FieldTable<Record>()) {
      if (IsWritten(field, record)) Field(field, record, " ", "\" ");
    }
    out_ += ')';
    out_ += kLineEnd;
  }

  std::string& out_;
};

FileError PathMessage(const std::filesystem::path& path, std::string message) {
  return {PathText(path), std::move(message)};
}

// Opens a new file next to `target` that no one else is using.
std::FILE* CreateTemporary(const std::filesystem::path& target, std::filesystem::path& temporary,
                           int& error) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = target;
    temporary += ".tmp" + std::to_string(attempt);
    std::FILE* file = CreateNewFile(temporary);
    if (file != nullptr) return file;
    error = errno;
    if (error != EEXIST) return nullptr;
  }
  return nullptr;
}

}  // namespace

std::string FormatDatabase(const DatabaseInfo& database) {
  std::string out;
  Writer(out).Database(database);
  return out;
}

DidDigest DigestDatabase(const DatabaseInfo& database) {
  DidDigest digest;
  std::string piece;
  Writer writer(piece);
  writer.Info(database);
  for (const GameRecord& game : database.games) {
    digest.Update(piece.data(), piece.size());
    piece.clear();
    writer.Game(game);
  }
  digest.Update(piece.data(), piece.size());
  return digest;
}

std::string DidTargetTrouble(const std::filesystem::path& path) {
  const FileFacts facts = FactsOfFile(path);
  return facts.exists && !facts.regular ? kNotRegularFile : std::string();
}

namespace {

// Writes the whole text to `file`; false with errno set when it cannot.
bool WriteAll(std::FILE* file, const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0 &&
         SyncFile(file);
}

// The text into the file at `target` itself, which must still be the
// regular file `facts` describes; empty, or why it failed.
std::string WriteInPlace(const std::filesystem::path& target, const FileFacts& facts,
                         const std::string& text) {
  FileFacts opened;
  std::FILE* file = OpenRegularForWriting(target, opened);
  if (file == nullptr) return errno == EINVAL ? kNotRegularFile : std::strerror(errno);
  if (opened.key != facts.key) {
    std::fclose(file);
    return "replaced by another file while it was being saved";
  }
  bool ok = WriteAll(file, text) && TruncateFile(file, text.size()) && SyncFile(file);
  const int error = errno;
  if (std::fclose(file) != 0 && ok) return std::strerror(errno);
  return ok ? std::string() : std::strerror(error);
}

}  // namespace

std::optional<FileError> WriteDatabase(const DatabaseInfo& database,
                                       const std::filesystem::path& path,
                                       DidFileIdentity* written) {
  std::error_code ignored;
  // Replace the file a link points to, not the link.
  std::filesystem::path target = path;
  if (std::filesystem::is_symlink(path, ignored)) {
    std::filesystem::path real = std::filesystem::canonical(path, ignored);
    if (!ignored) target = real;
  }
  const FileFacts facts = FactsOfFile(target);
  if (facts.exists && !facts.regular) return PathMessage(path, kNotRegularFile);

  std::string text = FormatDatabase(database);

  std::filesystem::path temporary;
  int error = 0;
  std::FILE* file = CreateTemporary(target, temporary, error);
  if (file == nullptr) return PathMessage(path, std::strerror(error));

  bool ok = WriteAll(file, text);
  error = errno;
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    std::filesystem::remove(temporary, ignored);
    return PathMessage(path, std::strerror(error));
  }
  // What the disk holds now is what replaces the file.
  DidDigest digest;
  digest.Update(text.data(), text.size());
  const std::optional<FileCheck> readBack = CheckFile(PathText(temporary));
  if (!readBack || readBack->size != digest.Size() || readBack->crc != digest.Crc()) {
    std::filesystem::remove(temporary, ignored);
    return PathMessage(path, "the text written reads back otherwise");
  }

  if (facts.exists && facts.links > 1) {
    // Renaming over a file with other names would leave them the old text
    // and make the DID two files. The text goes into the file itself; the
    // verified temporary file stays beside it until that is synced, so a
    // failure midway leaves the whole text there.
    const std::string failed = WriteInPlace(target, facts, text);
    if (!failed.empty()) {
      return PathMessage(path, failed + "; the text is kept in " + PathText(temporary));
    }
    std::filesystem::remove(temporary, ignored);
  } else {
    // Keep the old file's permissions.
    std::filesystem::file_status status = std::filesystem::status(target, ignored);
    if (std::filesystem::exists(status)) {
      std::filesystem::permissions(temporary, status.permissions(), ignored);
    }
    // Something else put there meanwhile is not replaced either.
    if (!DidTargetTrouble(target).empty()) {
      std::filesystem::remove(temporary, ignored);
      return PathMessage(path, kNotRegularFile);
    }
    std::error_code renameError;
    std::filesystem::rename(temporary, target, renameError);
    if (renameError) {
      std::filesystem::remove(temporary, ignored);
      return PathMessage(path, renameError.message());
    }
    // Makes the rename itself durable.
    SyncFolder(target.parent_path());
  }
  if (written != nullptr) {
    *written = {};
    written->exists = true;
    written->readable = true;
    written->modified = std::filesystem::last_write_time(target, ignored);
    written->content = digest;
  }
  return {};
}

}  // namespace moswit
