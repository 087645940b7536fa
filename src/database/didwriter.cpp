#include "database/didwriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <system_error>

#include "base/numbertext.h"

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#define MOSWIT_HAVE_FSYNC 1
#endif

namespace moswit {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string PadLeft(std::string text, size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

// yyyymmdd. A year below 1000 is padded to four digits so that the reader,
// which takes the year from the first four characters, gets the same date;
// the all-zero date stays "00000".
std::string FormatDate(const ReleaseDate& date) {
  if (date.year == 0 && date.month == 0 && date.day == 0) return "00000";
  return PadLeft(IntToDec(date.year), 4) + PadLeft(IntToDec(date.month), 2) +
         PadLeft(IntToDec(date.day), 2);
}

// Only the version's disks, the entries before the first 0: entries after a
// 0 would join the version when the file is read back.
std::string FormatDiskOrder(const DiskOrder& order) {
  size_t count = DiskCount(order);
  if (count == 0) return "00";
  std::string text;
  text.reserve(count * 2);
  for (size_t k = 0; k < count; ++k) text += IntToHex(order[k], 2);
  return text;
}

std::string FormatCompat(const CompatInfo& compat) {
  std::string text;
  text.reserve(50);
  text += IntToHex(compat.cpu, 4);
  text += IntToHex(compat.chipsetEmulation, 2);
  text += IntToHex(compat.floppy, 4);
  text += IntToHex(compat.graphicsChipset, 2);
  text += IntToHex(compat.specialMemory, 2);
  text += IntToHex(compat.specialChipKb, 4);
  text += IntToHex(compat.specialSlowKb, 4);
  text += IntToHex(compat.specialFastKb, 4);
  text += IntToHex(compat.kickstart, 4);
  text += IntToHex(compat.specialSettings, 4);
  text += IntToHex(compat.winUae, 8);
  text += IntToHex(compat.winFellow, 8);
  return text;
}

class Writer {
 public:
  explicit Writer(std::string& out) : out_(out) {}

  void Database(const DatabaseInfo& database) {
    Info(database);
    for (const GameRecord& game : database.games) Game(game);
  }

  void Info(const DatabaseInfo& database) {
    out_ += "info ( name \"";
    out_ += database.name.Value();
    out_ += "\" creator \"";
    out_ += database.creator.Value();
    out_ += "\" date ";
    out_ += FormatDate(database.date);
    out_ += " )";
    out_ += kLineEnd;
  }

  void Game(const GameRecord& game) {
    out_ += "soft (";
    out_ += kLineEnd;
    Text("name", game.name);
    Date("rdat", game.releaseDate);
    Text("publ", game.publisher);
    Text("devl", game.developer);
    Text("code", game.code);
    Text("grfx", game.graphics);
    Text("musi", game.music);
    Text("sdfx", game.soundFx);
    Text("dsgn", game.design);
    Text("cmmt", game.comment);
    for (const VersionRecord& version : game.versions) Version(version);
    for (const DiskRecord& disk : game.disks) Disk(disk);
    out_ += ')';
    out_ += kLineEnd;
  }

 private:
  void Line(std::string_view keyword, std::string_view value) {
    out_ += keyword;
    out_ += ' ';
    out_ += value;
    out_ += kLineEnd;
  }

  void Text(std::string_view keyword, const RecordText& text) {
    if (!text.Present()) return;
    out_ += keyword;
    out_ += " \"";
    out_ += text.Value();
    out_ += '"';
    out_ += kLineEnd;
  }

  void Date(std::string_view keyword, const ReleaseDate& date) {
    if (date.year != 0) Line(keyword, FormatDate(date));
  }

  // Inside a "file" or "range" line: keyword, value, blank.
  void InlineText(std::string_view keyword, const RecordText& text) {
    if (!text.Present()) return;
    out_ += keyword;
    out_ += " \"";
    out_ += text.Value();
    out_ += "\" ";
  }

  void InlineValue(std::string_view keyword, std::string_view value) {
    out_ += keyword;
    out_ += ' ';
    out_ += value;
    out_ += ' ';
  }

  void Version(const VersionRecord& version) {
    out_ += "version ( ";
    out_ += kLineEnd;
    Text("gnam", version.gameName);
    Date("rdat", version.releaseDate);
    Text("publ", version.publisher);
    Text("devl", version.developer);
    Text("code", version.code);
    Text("grfx", version.graphics);
    Text("musi", version.music);
    Text("sdfx", version.soundFx);
    Text("dsgn", version.design);
    Text("vnam", version.versionName);
    Text("cmmt", version.comment);
    Text("prot", version.protection);
    Text("crck", version.crackedBy);
    Text("rels", version.releasedBy);
    if (version.fixes != 0) Line("fixd", IntToHex(version.fixes, 2));
    Text("fixr", version.fixedBy);
    if (version.trainer != 0) Line("trnd", IntToHex(version.trainer, 4));
    Text("trnr", version.trainedBy);
    Text("mdfd", version.modification);
    Text("mdfr", version.modifiedBy);
    Line("gchp", IntToHex(version.chipset, 2));
    if (version.memChip != 0) Line("memc", IntToDec(version.memChip));
    if (version.memSlow != 0) Line("mems", IntToDec(version.memSlow));
    if (version.memFast != 0) Line("memf", IntToDec(version.memFast));
    if (version.languages != kDefaultLanguages) Line("lang", IntToHex(version.languages, 8));
    Line("dord", FormatDiskOrder(version.diskOrder));
    Line("comp", FormatCompat(version.compat));
    out_ += ')';
    out_ += kLineEnd;
  }

  void Disk(const DiskRecord& disk) {
    out_ += "disk ( ";
    out_ += kLineEnd;
    if (disk.nameMustMatch != 0) {
      // The flag travels with the name keyword: without a name it would be
      // lost, so an empty name is written for it.
      out_ += "dnmm \"";
      out_ += disk.name.Value();
      out_ += '"';
      out_ += kLineEnd;
    } else {
      Text("dnam", disk.name);
    }
    Text("cmmt", disk.comment);
    for (const FileRecord& file : disk.files) {
      out_ += "file ( ";
      InlineText("fnam", file.path);
      InlineText("desc", file.description);
      InlineValue("size", IntToDec(file.size));
      InlineValue("crcv", IntToHex(file.crc32, 8));
      InlineValue("info", IntToHex(file.attributes, 8));
      out_ += ')';
      out_ += kLineEnd;
    }
    for (const RangeRecord& range : disk.ranges) {
      out_ += "range ( ";
      InlineText("desc", range.description);
      InlineValue("rbeg", IntToHex(range.firstByte, 8));
      InlineValue("rend", IntToHex(range.lastByte, 8));
      InlineValue("crcv", IntToHex(range.crc32, 8));
      InlineValue("info", IntToHex(range.attributes, 8));
      out_ += ')';
      out_ += kLineEnd;
    }
    out_ += ')';
    out_ += kLineEnd;
  }

  std::string& out_;
};

FileError PathMessage(const std::filesystem::path& path, std::string message) {
  return {path.string(), std::move(message)};
}

// Opens a new file next to `target` that no one else is using.
std::FILE* CreateTemporary(const std::filesystem::path& target, std::filesystem::path& temporary,
                           int& error) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = target;
    temporary += ".tmp" + std::to_string(attempt);
    std::FILE* file = std::fopen(temporary.c_str(), "wbx");
    if (file != nullptr) return file;
    error = errno;
    if (error != EEXIST) return nullptr;
  }
  return nullptr;
}

#ifdef MOSWIT_HAVE_FSYNC
// Makes the rename itself durable; failure here loses nothing already saved.
void SyncFolder(const std::filesystem::path& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}
#endif

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

  std::string text = FormatDatabase(database);

  std::filesystem::path temporary;
  int error = 0;
  std::FILE* file = CreateTemporary(target, temporary, error);
  if (file == nullptr) return PathMessage(path, std::strerror(error));

  bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (ok) ok = std::fflush(file) == 0;
#ifdef MOSWIT_HAVE_FSYNC
  if (ok) ok = ::fsync(::fileno(file)) == 0;
#endif
  error = errno;
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    std::filesystem::remove(temporary, ignored);
    return PathMessage(path, std::strerror(error));
  }

  // Keep the old file's permissions.
  std::filesystem::file_status status = std::filesystem::status(target, ignored);
  if (std::filesystem::exists(status)) {
    std::filesystem::permissions(temporary, status.permissions(), ignored);
  }

  std::error_code renameError;
  std::filesystem::rename(temporary, target, renameError);
  if (renameError) {
    std::filesystem::remove(temporary, ignored);
    return PathMessage(path, renameError.message());
  }
#ifdef MOSWIT_HAVE_FSYNC
  SyncFolder(target.parent_path());
#endif
  if (written != nullptr) {
    *written = {};
    written->exists = true;
    written->readable = true;
    written->modified = std::filesystem::last_write_time(target, ignored);
    written->content.Update(text.data(), text.size());
  }
  return {};
}

}  // namespace moswit
