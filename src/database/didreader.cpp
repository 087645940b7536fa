#include "database/didreader.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "base/numbertext.h"

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
      : p_(text.data()), end_(text.data() + text.size()), lineStart_(p_), source_(source) {}

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
    while (p_ < end_ && static_cast<unsigned char>(*p_) > 32) ++p_;
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
  const char* p_;
  const char* end_;
  const char* lineStart_;
  uint64_t line_ = 1;
  TextSource& source_;
};

enum class Key : uint8_t {
  kUnknown,
  kOpen,
  kClose,
  // Records.
  kInfo,  // also the attribute field of files and ranges
  kSoft,
  kVersion,
  kDisk,
  kFile,
  kRange,
  // Fields.
  kName,
  kCreator,
  kDate,
  kRdat,
  kPubl,
  kDevl,
  kCode,
  kGrfx,
  kMusi,
  kSdfx,
  kDsgn,
  kCmmt,
  kGnam,
  kVnam,
  kProt,
  kCrck,
  kRels,
  kFixd,
  kFixr,
  kTrnd,
  kTrnr,
  kMdfd,
  kMdfr,
  kGchp,
  kMemc,
  kMems,
  kMemf,
  kLang,
  kDord,
  kComp,
  kDnam,
  kDnmm,
  kFnam,
  kDesc,
  kSize,
  kCrcv,
  kRbeg,
  kRend,
};

constexpr uint32_t Tag(const char (&s)[5]) {
  return static_cast<uint32_t>(static_cast<unsigned char>(s[0])) |
         static_cast<uint32_t>(static_cast<unsigned char>(s[1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(s[2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(s[3])) << 24;
}

// Keywords compare exactly, case and all.
Key Classify(std::string_view token) {
  switch (token.size()) {
    case 1:
      if (token[0] == '(') return Key::kOpen;
      if (token[0] == ')') return Key::kClose;
      return Key::kUnknown;
    case 4: {
      uint32_t tag = static_cast<uint32_t>(static_cast<unsigned char>(token[0])) |
                     static_cast<uint32_t>(static_cast<unsigned char>(token[1])) << 8 |
                     static_cast<uint32_t>(static_cast<unsigned char>(token[2])) << 16 |
                     static_cast<uint32_t>(static_cast<unsigned char>(token[3])) << 24;
      switch (tag) {
        case Tag("info"): return Key::kInfo;
        case Tag("soft"): return Key::kSoft;
        case Tag("disk"): return Key::kDisk;
        case Tag("file"): return Key::kFile;
        case Tag("name"): return Key::kName;
        case Tag("date"): return Key::kDate;
        case Tag("rdat"): return Key::kRdat;
        case Tag("publ"): return Key::kPubl;
        case Tag("devl"): return Key::kDevl;
        case Tag("code"): return Key::kCode;
        case Tag("grfx"): return Key::kGrfx;
        case Tag("musi"): return Key::kMusi;
        case Tag("sdfx"): return Key::kSdfx;
        case Tag("dsgn"): return Key::kDsgn;
        case Tag("cmmt"): return Key::kCmmt;
        case Tag("gnam"): return Key::kGnam;
        case Tag("vnam"): return Key::kVnam;
        case Tag("prot"): return Key::kProt;
        case Tag("crck"): return Key::kCrck;
        case Tag("rels"): return Key::kRels;
        case Tag("fixd"): return Key::kFixd;
        case Tag("fixr"): return Key::kFixr;
        case Tag("trnd"): return Key::kTrnd;
        case Tag("trnr"): return Key::kTrnr;
        case Tag("mdfd"): return Key::kMdfd;
        case Tag("mdfr"): return Key::kMdfr;
        case Tag("gchp"): return Key::kGchp;
        case Tag("memc"): return Key::kMemc;
        case Tag("mems"): return Key::kMems;
        case Tag("memf"): return Key::kMemf;
        case Tag("lang"): return Key::kLang;
        case Tag("dord"): return Key::kDord;
        case Tag("comp"): return Key::kComp;
        case Tag("dnam"): return Key::kDnam;
        case Tag("dnmm"): return Key::kDnmm;
        case Tag("fnam"): return Key::kFnam;
        case Tag("desc"): return Key::kDesc;
        case Tag("size"): return Key::kSize;
        case Tag("crcv"): return Key::kCrcv;
        case Tag("rbeg"): return Key::kRbeg;
        case Tag("rend"): return Key::kRend;
        default: return Key::kUnknown;
      }
    }
    case 5:
      return token == "range" ? Key::kRange : Key::kUnknown;
    case 7:
      if (token == "version") return Key::kVersion;
      if (token == "creator") return Key::kCreator;
      return Key::kUnknown;
    default:
      return Key::kUnknown;
  }
}

// Characters 1-4 the year, 5-6 the month, 7-8 the day; missing parts are 0.
ReleaseDate ParseDate(std::string_view value) {
  auto piece = [value](size_t from, size_t length) {
    return from < value.size() ? DecToInt(value.substr(from, length)) : 0u;
  };
  ReleaseDate date;
  date.year = static_cast<uint16_t>(piece(0, 4));
  date.month = static_cast<uint8_t>(piece(4, 2));
  date.day = static_cast<uint8_t>(piece(6, 2));
  return date;
}

// Pairs of hex digits into entries 0, 1, 2, ...; an odd last digit stands
// alone. Pairs beyond the 256 entries are dropped. Nothing is cleared first.
void ParseDiskOrder(std::string_view value, DiskOrder& order) {
  size_t entry = 0;
  for (size_t i = 0; i < value.size() && entry < order.size(); i += 2, ++entry) {
    order[entry] = static_cast<uint8_t>(HexToInt(value.substr(i, 2)));
  }
}

CompatInfo ParseCompat(std::string_view value) {
  auto piece = [value](size_t from, size_t length) {
    return from < value.size() ? HexToInt(value.substr(from, length)) : 0u;
  };
  CompatInfo compat;
  compat.cpu = static_cast<uint16_t>(piece(0, 4));
  compat.chipsetEmulation = static_cast<uint8_t>(piece(4, 2));
  compat.floppy = static_cast<uint16_t>(piece(6, 4));
  compat.graphicsChipset = static_cast<uint8_t>(piece(10, 2));
  compat.specialMemory = static_cast<uint8_t>(piece(12, 2));
  compat.specialChipKb = static_cast<uint16_t>(piece(14, 4));
  compat.specialSlowKb = static_cast<uint16_t>(piece(18, 4));
  compat.specialFastKb = static_cast<uint16_t>(piece(22, 4));
  compat.kickstart = static_cast<uint16_t>(piece(26, 4));
  compat.specialSettings = static_cast<uint16_t>(piece(30, 4));
  compat.winUae = piece(34, 8);
  compat.winFellow = piece(42, 8);
  return compat;
}

RecordText* GameText(GameRecord& game, Key key) {
  switch (key) {
    case Key::kName: return &game.name;
    case Key::kPubl: return &game.publisher;
    case Key::kDevl: return &game.developer;
    case Key::kCode: return &game.code;
    case Key::kGrfx: return &game.graphics;
    case Key::kMusi: return &game.music;
    case Key::kSdfx: return &game.soundFx;
    case Key::kDsgn: return &game.design;
    case Key::kCmmt: return &game.comment;
    default: return nullptr;
  }
}

RecordText* VersionText(VersionRecord& version, Key key) {
  switch (key) {
    case Key::kGnam: return &version.gameName;
    case Key::kPubl: return &version.publisher;
    case Key::kDevl: return &version.developer;
    case Key::kCode: return &version.code;
    case Key::kGrfx: return &version.graphics;
    case Key::kMusi: return &version.music;
    case Key::kSdfx: return &version.soundFx;
    case Key::kDsgn: return &version.design;
    case Key::kVnam: return &version.versionName;
    case Key::kCmmt: return &version.comment;
    case Key::kProt: return &version.protection;
    case Key::kCrck: return &version.crackedBy;
    case Key::kRels: return &version.releasedBy;
    case Key::kFixr: return &version.fixedBy;
    case Key::kTrnr: return &version.trainedBy;
    case Key::kMdfd: return &version.modification;
    case Key::kMdfr: return &version.modifiedBy;
    default: return nullptr;
  }
}

bool IsVersionNumber(Key key) {
  switch (key) {
    case Key::kRdat:
    case Key::kFixd:
    case Key::kTrnd:
    case Key::kGchp:
    case Key::kMemc:
    case Key::kMems:
    case Key::kMemf:
    case Key::kLang:
    case Key::kDord:
    case Key::kComp:
      return true;
    default:
      return false;
  }
}

void StoreVersionNumber(VersionRecord& version, Key key, std::string_view value) {
  switch (key) {
    case Key::kRdat: version.releaseDate = ParseDate(value); break;
    case Key::kFixd: version.fixes = static_cast<FixFlags>(HexToInt(value)); break;
    case Key::kTrnd: version.trainer = static_cast<TrainerCounts>(HexToInt(value)); break;
    case Key::kGchp: version.chipset = static_cast<ChipsetKind>(HexToInt(value)); break;
    case Key::kMemc: version.memChip = static_cast<uint16_t>(DecToInt(value)); break;
    case Key::kMems: version.memSlow = static_cast<uint16_t>(DecToInt(value)); break;
    case Key::kMemf: version.memFast = static_cast<uint16_t>(DecToInt(value)); break;
    case Key::kLang: version.languages = HexToInt(value); break;
    case Key::kDord: ParseDiskOrder(value, version.diskOrder); break;
    case Key::kComp: version.compat = ParseCompat(value); break;
    default: break;
  }
}

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
    Key key = Classify(token);
    const bool opens = afterRecord_;
    afterRecord_ = false;
    if (key == Key::kOpen) {
      if (!opens) Skip();
      ++depth_;
      return;
    }
    if (key == Key::kClose) {
      if (depth_ <= 0) Skip();
      --depth_;
      return;
    }
    Opened opened = Opened::kNotRecord;
    bool stored = false;
    switch (depth_) {
      case 0:
        opened = OpenTopRecord(key);
        break;
      case 1:
        opened = OpenGameChild(key);
        if (opened == Opened::kNotRecord) stored = StoreField(context_[1], key);
        break;
      case 2:
        opened = OpenDiskChild(key);
        if (opened == Opened::kNotRecord) stored = StoreField(context_[2], key);
        break;
      case 3:
        stored = StoreField(context_[3], key);
        break;
      default: break;  // deeper or unbalanced: no record lives there
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

  Opened OpenTopRecord(Key key) {
    if (key == Key::kInfo) {
      context_[1] = Context::kInfo;
    } else if (key == Key::kSoft) {
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

  Opened OpenGameChild(Key key) {
    if (key != Key::kVersion && key != Key::kDisk) return Opened::kNotRecord;
    context_[3] = Context::kNone;
    file_ = nullptr;
    range_ = nullptr;
    if (context_[1] != Context::kSoft || game_ == nullptr) {
      context_[2] = Context::kNone;
      return Opened::kNoParent;
    }
    if (key == Key::kVersion) {
      context_[2] = Context::kVersion;
      version_ = &game_->versions.Append();
      version_->languages = kDefaultLanguages;
    } else {
      context_[2] = Context::kDisk;
      disk_ = &game_->disks.Append();
    }
    return Opened::kRecord;
  }

  Opened OpenDiskChild(Key key) {
    if (key != Key::kFile && key != Key::kRange) return Opened::kNotRecord;
    if (context_[2] != Context::kDisk || disk_ == nullptr) {
      context_[3] = Context::kNone;
      return Opened::kNoParent;
    }
    if (key == Key::kFile) {
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

  // Each returns whether `key` is a field of the record (and then reads and
  // stores its value).
  bool StoreField(Context context, Key key) {
    switch (context) {
      case Context::kInfo:
        return StoreInfoField(key);
      case Context::kSoft:
        return StoreGameField(key);
      case Context::kVersion:
        return StoreVersionField(key);
      case Context::kDisk:
        return StoreDiskField(key);
      case Context::kFile:
        return StoreFileField(key);
      case Context::kRange:
        return StoreRangeField(key);
      case Context::kNone:
        return false;
    }
    return false;
  }

  bool StoreInfoField(Key key) {
    if (key == Key::kName) {
      database_->name = Value();
    } else if (key == Key::kCreator) {
      database_->creator = Value();
    } else if (key == Key::kDate) {
      database_->date = ParseDate(Value());
    } else {
      return false;
    }
    return true;
  }

  bool StoreGameField(Key key) {
    if (game_ == nullptr) return false;
    if (RecordText* text = GameText(*game_, key)) {
      *text = Value();
    } else if (key == Key::kRdat) {
      game_->releaseDate = ParseDate(Value());
    } else {
      return false;
    }
    return true;
  }

  bool StoreVersionField(Key key) {
    if (version_ == nullptr) return false;
    if (RecordText* text = VersionText(*version_, key)) {
      *text = Value();
    } else if (IsVersionNumber(key)) {
      StoreVersionNumber(*version_, key, Value());
    } else {
      return false;
    }
    return true;
  }

  bool StoreDiskField(Key key) {
    if (disk_ == nullptr) return false;
    if (key == Key::kDnam || key == Key::kDnmm) {
      disk_->name = Value();
      disk_->nameMustMatch = key == Key::kDnmm ? 1 : 0;
    } else if (key == Key::kCmmt) {
      disk_->comment = Value();
    } else {
      return false;
    }
    return true;
  }

  bool StoreFileField(Key key) {
    if (file_ == nullptr) return false;
    switch (key) {
      case Key::kFnam:
        file_->path = Value();
        return true;
      case Key::kDesc:
        file_->description = Value();
        return true;
      case Key::kSize:
        file_->size = DecToInt(Value());
        return true;
      case Key::kCrcv:
        file_->crc32 = HexToInt(Value());
        return true;
      case Key::kInfo:
        file_->attributes = HexToInt(Value());
        return true;
      default:
        return false;
    }
  }

  bool StoreRangeField(Key key) {
    if (range_ == nullptr) return false;
    switch (key) {
      case Key::kDesc:
        range_->description = Value();
        return true;
      case Key::kRbeg:
        range_->firstByte = HexToInt(Value());
        return true;
      case Key::kRend:
        range_->lastByte = HexToInt(Value());
        return true;
      case Key::kCrcv:
        range_->crc32 = HexToInt(Value());
        return true;
      case Key::kInfo:
        range_->attributes = HexToInt(Value());
        return true;
      default:
        return false;
    }
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
  return {path.string(), std::strerror(error)};
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
  std::FILE* file = std::fopen(path.c_str(), "rb");
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
