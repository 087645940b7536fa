// SPDX-License-Identifier: GPL-2.0-or-later
#include "database/didreader.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <variant>

#include "base/pathtext.h"
#include "base/platformfile.h"
#include "database/didfields.h"

namespace moswit {

namespace {

// Hands out DID text in pieces of whole lines, so a large file is never held
// at once; the default source has nothing beyond the first piece.
class TextSource {
 public:
  virtual ~TextSource() = default;
  // The next piece, ending with a line end or at the end of the text; the
  // previous piece may be released.
  virtual bool NextPiece(std::string_view& piece) {
    (void)piece;
    return false;
  }
};

// Splits DID text into tokens. Bytes 0 to 32 separate tokens; a token that
// starts with a double quote runs to the next quote on the same line, or to
// the end of the line. LF ends a line, and a CR before it belongs to the
// line end. Tokens never cross a line end, hence never a piece's end.
class Tokenizer {
 public:
  Tokenizer(std::string_view text, TextSource& source)
      : p_(text.data()), end_(text.data() + text.size()), lineStart_(p_), source_(source) {
    if (!text.empty()) SkipByteOrderMark();
  }

  // The token stays valid until the next call.
  bool Next(std::string_view& token) {
    for (;;) {
      while (p_ < end_ && static_cast<unsigned char>(*p_) <= 32) {
        if (*p_ == '\n') {
          ++line_;
          lineStart_ = p_ + 1;
        }
        ++p_;
      }
      if (p_ < end_) break;
      std::string_view piece;
      if (!source_.NextPiece(piece)) return false;
      p_ = piece.data();
      end_ = piece.data() + piece.size();
      if (!started_) SkipByteOrderMark();
      lineStart_ = p_;  // pieces are cut after a line end
    }
    if (*p_ == '"') {
      const char* start = p_ + 1;
      const char* q = start;
      while (q < end_ && *q != '"' && *q != '\n') ++q;
      if (q < end_ && *q == '"') {
        token = std::string_view(start, static_cast<size_t>(q - start));
        p_ = q + 1;
        return true;
      }
      const char* stop = q;
      if (stop > start && stop[-1] == '\r') --stop;
      token = std::string_view(start, static_cast<size_t>(stop - start));
      p_ = q;
      return true;
    }
    const char* start = p_;
    while (p_<end_&& static_cast<unsigned char>(*p_)> 32) ++p_;
    token = std::string_view(start, static_cast<size_t>(p_ - start));
    return true;
  }

  // The 1-based number of the line of the last token, and that line up to
  // `limit` bytes (without its line end).
  uint64_t Line() const { return line_; }
  std::string_view LineText(size_t limit) const {
    const char* stop = lineStart_;
    while (stop < end_ && *stop != '\n' && static_cast<size_t>(stop - lineStart_) < limit) ++stop;
    return {lineStart_, static_cast<size_t>(stop - lineStart_)};
  }

 private:
  // Editors that save UTF-8 may start the file with EF BB BF, which would
  // otherwise be part of the first keyword.
  void SkipByteOrderMark() {
    started_ = true;
    if (end_ - p_ >= 3 && std::memcmp(p_, "\xEF\xBB\xBF", 3) == 0) {
      p_ += 3;
      lineStart_ = p_;
    }
  }

  const char* p_;
  const char* end_;
  const char* lineStart_;
  uint64_t line_ = 1;
  bool started_ = false;  // the text's first bytes were seen
  TextSource& source_;
};

enum class Context : uint8_t { kNone, kInfo, kSoft, kVersion, kDisk, kFile, kRange };

// What a record keyword did: nothing (not a record keyword here), open a
// record, or nothing because its parent is missing.
enum class Opened : uint8_t { kNotRecord, kRecord, kNoParent };

class Reader {
 public:
  Reader(std::string_view text, TextSource& source, DidSkips* skips)
      : tokens_(text, source), skips_(skips) {}

  std::unique_ptr<DatabaseInfo> Run() {
    auto database = std::make_unique<DatabaseInfo>();
    database_ = database.get();
    std::string_view token;
    while (tokens_.Next(token)) Handle(token);
    return database;
  }

 private:
  void Handle(std::string_view token) {
    const bool opens = afterRecord_;
    afterRecord_ = false;
    if (token.size() == 1 && token[0] == '(') {
      if (!opens) Skip();
      ++depth_;
      return;
    }
    if (token.size() == 1 && token[0] == ')') {
      if (depth_ <= 0) Skip();
      --depth_;
      return;
    }
    Opened opened = Opened::kNotRecord;
    bool stored = false;
    switch (depth_) {
      case 0:
        opened = OpenTopRecord(token);
        break;
      case 1:
        opened = OpenGameChild(token);
        if (opened == Opened::kNotRecord) stored = StoreField(context_[1], token);
        break;
      case 2:
        opened = OpenDiskChild(token);
        if (opened == Opened::kNotRecord) stored = StoreField(context_[2], token);
        break;
      case 3:
        stored = StoreField(context_[3], token);
        break;
      default:
        break;  // deeper or unbalanced: no record lives there
    }
    // A field's value has been read by now, but a token that was not
    // understood read nothing after it, so the tokenizer is still on its line.
    if (opened == Opened::kRecord) afterRecord_ = true;
    if (opened == Opened::kNoParent) {
      afterRecord_ = true;  // its "(" is not counted again
      Skip();
    } else if (opened == Opened::kNotRecord && !stored) {
      Skip();
    }
  }

  void Skip() {
    if (skips_ != nullptr) skips_->Note(tokens_.Line(), tokens_.LineText(DidSkips::kTextLimit));
  }

  Opened OpenTopRecord(std::string_view keyword) {
    if (keyword == kInfoKeyword) {
      context_[1] = Context::kInfo;
    } else if (keyword == kGameKeyword) {
      context_[1] = Context::kSoft;
      game_ = &database_->games.Append();
      // Children of an earlier game must not receive this game's fields.
      context_[2] = context_[3] = Context::kNone;
      version_ = nullptr;
      disk_ = nullptr;
      file_ = nullptr;
      range_ = nullptr;
    } else {
      return Opened::kNotRecord;
    }
    return Opened::kRecord;
  }

  Opened OpenGameChild(std::string_view keyword) {
    const bool version = keyword == kVersionKeyword;
    if (!version && keyword != kDiskKeyword) return Opened::kNotRecord;
    context_[3] = Context::kNone;
    file_ = nullptr;
    range_ = nullptr;
    if (context_[1] != Context::kSoft || game_ == nullptr) {
      context_[2] = Context::kNone;
      return Opened::kNoParent;
    }
    if (version) {
      context_[2] = Context::kVersion;
      version_ = &game_->versions.Append();
      SetDefaults(FieldTable<VersionRecord>(), *version_);
    } else {
      context_[2] = Context::kDisk;
      disk_ = &game_->disks.Append();
    }
    return Opened::kRecord;
  }

  Opened OpenDiskChild(std::string_view keyword) {
    const bool file = keyword == kFileKeyword;
    if (!file && keyword != kRangeKeyword) return Opened::kNotRecord;
    if (context_[2] != Context::kDisk || disk_ == nullptr) {
      context_[3] = Context::kNone;
      return Opened::kNoParent;
    }
    if (file) {
      context_[3] = Context::kFile;
      file_ = &disk_->files.Append();
    } else {
      context_[3] = Context::kRange;
      range_ = &disk_->ranges.Append();
    }
    return Opened::kRecord;
  }

  // The field's value is the next token; at the end of the text it is empty.
  std::string_view Value() {
    std::string_view value;
    if (!tokens_.Next(value)) value = {};
    return value;
  }

  // Whether `keyword` is a field of the context's record; its value is then
  // read and stored.
  bool StoreField(Context context, std::string_view keyword) {
    switch (context) {
      case Context::kInfo:
        return Store(database_, keyword);
      case Context::kSoft:
        return Store(game_, keyword);
      case Context::kVersion:
        return Store(version_, keyword);
      case Context::kDisk:
        return Store(disk_, keyword);
      case Context::kFile:
        return Store(file_, keyword);
      case Context::kRange:
        return Store(range_, keyword);
      case Context::kNone:
        return false;
    }
    return false;
  }

  template <typename Record>
  bool Store(Record* record, std::string_view keyword) {
    if (record == nullptr) return false;
    const DidField<Record>* field = FindField(FieldTable<Record>(), keyword);
    if (field == nullptr) return false;
    const std::string_view value = Value();
    // A text is cut to what a record holds; that is counted, so a save
    // that would shorten it asks first.
    if (std::holds_alternative<RecordText Record::*>(field->member) &&
        value.size() > RecordText::kMaxLength) {
      Skip();
    }
    StoreValue(*field, value, *record);
    return true;
  }

  Tokenizer tokens_;
  DidSkips* skips_;
  DatabaseInfo* database_ = nullptr;
  GameRecord* game_ = nullptr;
  VersionRecord* version_ = nullptr;
  DiskRecord* disk_ = nullptr;
  FileRecord* file_ = nullptr;
  RangeRecord* range_ = nullptr;
  long depth_ = 0;
  bool afterRecord_ = false;  // the last token opened a record: a "(" follows
  Context context_[4] = {};   // indexed by depth 1 to 3
};

FileError PathMessage(const std::filesystem::path& path, int error) {
  return {PathText(path), std::strerror(error)};
}

// A file read a megabyte at a time, cut after its last line end; a line
// longer than that is read whole.
class FileSource : public TextSource {
 public:
  explicit FileSource(std::FILE* file) : file_(file) {}

  bool NextPiece(std::string_view& piece) override {
    buffer_.erase(0, consumed_);
    consumed_ = 0;
    while (!atEnd_) {
      size_t used = buffer_.size();
      buffer_.resize(used + kChunk);
      size_t got = std::fread(buffer_.data() + used, 1, kChunk, file_);
      buffer_.resize(used + got);
      digest_.Update(buffer_.data() + used, got);
      if (got < kChunk) {
        atEnd_ = true;
        if (std::ferror(file_)) error_ = errno != 0 ? errno : EIO;
      }
      size_t lineEnd = buffer_.rfind('\n');
      if (lineEnd != std::string::npos && lineEnd >= used && !atEnd_) {
        consumed_ = lineEnd + 1;
        piece = std::string_view(buffer_.data(), consumed_);
        return true;
      }
    }
    if (error_ != 0 || buffer_.empty()) return false;
    consumed_ = buffer_.size();
    piece = buffer_;
    return true;
  }

  int Error() const { return error_; }
  const DidDigest& Digest() const { return digest_; }

 private:
  static constexpr size_t kChunk = size_t{1} << 20;
  std::FILE* file_;
  std::string buffer_;
  size_t consumed_ = 0;
  bool atEnd_ = false;
  int error_ = 0;
  DidDigest digest_;
};

}  // namespace

std::unique_ptr<DatabaseInfo> ParseDatabase(std::string_view text, DidSkips* skips) {
  TextSource nothingMore;
  return Reader(text, nothingMore, skips).Run();
}

DidReadResult ReadDatabase(const std::filesystem::path& path) {
  DidReadResult result;
  // Taken before the file is opened: a file replaced in between then looks
  // changed before the next write, never the other way round.
  std::error_code timeError;
  const std::filesystem::file_time_type modified =
      std::filesystem::last_write_time(path, timeError);
  std::FILE* file = OpenFile(path, "rb");
  if (file == nullptr) {
    result.error = PathMessage(path, errno);
    return result;
  }
  FileSource source(file);
  std::unique_ptr<DatabaseInfo> database = Reader({}, source, &result.skips).Run();
  std::fclose(file);
  if (source.Error() != 0) {
    result.error = PathMessage(path, source.Error());
    return result;
  }
  result.database = std::move(database);
  result.identity.exists = true;
  result.identity.readable = true;
  result.identity.modified = modified;
  result.identity.content = source.Digest();
  return result;
}

}  // namespace moswit
