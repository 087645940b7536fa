// SPDX-License-Identifier: GPL-2.0-or-later
#include "dat/datreader.h"

#include <expat.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "base/asciicase.h"
#include "base/codepage.h"
#include "base/pathtext.h"
#include "base/platformfile.h"
#include "image/zipmember.h"

namespace moswit {

namespace {

// What a file is read in, and the most XML_Parse takes at once.
constexpr size_t kPiece = 64 * 1024;

enum class Element : uint8_t { kOther, kGame, kRom };

const char* Attribute(const XML_Char** attributes, const char* name) {
  for (; *attributes != nullptr; attributes += 2) {
    if (std::strcmp(attributes[0], name) == 0) return attributes[1];
  }
  return nullptr;
}

std::optional<uint32_t> Decimal(const char* text) {
  if (text == nullptr || *text == '\0') return std::nullopt;
  uint64_t value = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(*c - '0');
    if (value > UINT32_MAX) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

std::optional<uint32_t> Hexadecimal(const char* text) {
  if (text == nullptr) return std::nullopt;
  const size_t length = std::strlen(text);
  if (length == 0 || length > 8) return std::nullopt;
  uint32_t value = 0;
  for (size_t i = 0; i < length; ++i) {
    const char c = UpperAz(text[i]);
    uint32_t digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<uint32_t>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    value = value << 4 | digit;
  }
  return value;
}

// expat itself knows UTF-8, UTF-16, ISO-8859-1 and US-ASCII; a DAT written
// on Windows may declare windows-1252, one byte a letter as well.
int XMLCALL SingleByteEncoding(void*, const XML_Char* name, XML_Encoding* info) {
  const std::string upper = UpperCase(name);
  if (upper != "WINDOWS-1252" && upper != "CP1252") return XML_STATUS_ERROR;
  for (int byte = 0; byte < 256; ++byte) {
    info->map[byte] = static_cast<int>(Cp1252Letter(static_cast<uint8_t>(byte)));
  }
  info->data = nullptr;
  info->convert = nullptr;
  info->release = nullptr;
  return XML_STATUS_OK;
}

// One document fed in pieces. Only the ROMs directly inside a game (or
// machine) that no other game holds count; everything else is read past.
class DatParser {
 public:
  explicit DatParser(const DatRomHandler& onRom)
      : onRom_(onRom), parser_(XML_ParserCreate(nullptr)) {
    if (parser_ == nullptr) throw std::bad_alloc();
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, &DatParser::Start, &DatParser::End);
    XML_SetUnknownEncodingHandler(parser_, &SingleByteEncoding, nullptr);
  }
  ~DatParser() { XML_ParserFree(parser_); }
  DatParser(const DatParser&) = delete;
  DatParser& operator=(const DatParser&) = delete;

  // False once the document is known not to be a DAT; Fault() says why.
  bool Feed(const char* bytes, size_t length, bool last) {
    while (length > kPiece) {
      if (!Feed(bytes, kPiece, false)) return false;
      bytes += kPiece;
      length -= kPiece;
    }
    if (XML_Parse(parser_, bytes, static_cast<int>(length), last ? XML_TRUE : XML_FALSE) ==
        XML_STATUS_ERROR) {
      fault_ = {XML_GetCurrentLineNumber(parser_), XML_ErrorString(XML_GetErrorCode(parser_))};
      return false;
    }
    if (last && roms_ == 0) {
      fault_ = {rootLine_, "no rom in any game"};
      return false;
    }
    return true;
  }

  const DatFault& Fault() const { return fault_; }

 private:
  static void XMLCALL Start(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto& self = *static_cast<DatParser*>(data);
    if (self.open_.empty()) self.rootLine_ = XML_GetCurrentLineNumber(self.parser_);
    Element kind = Element::kOther;
    if (!self.gameOpen_ && (std::strcmp(name, "game") == 0 || std::strcmp(name, "machine") == 0)) {
      kind = Element::kGame;
      self.gameOpen_ = true;
      const char* game = Attribute(attributes, "name");
      self.game_ = game != nullptr ? game : "";
    } else if (!self.open_.empty() && self.open_.back() == Element::kGame &&
               std::strcmp(name, "rom") == 0) {
      kind = Element::kRom;
      const char* rom = Attribute(attributes, "name");
      ++self.roms_;
      self.onRom_({self.game_, rom != nullptr ? rom : "", Decimal(Attribute(attributes, "size")),
                   Hexadecimal(Attribute(attributes, "crc"))});
    }
    self.open_.push_back(kind);
  }

  static void XMLCALL End(void* data, const XML_Char*) {
    auto& self = *static_cast<DatParser*>(data);
    if (self.open_.back() == Element::kGame) self.gameOpen_ = false;
    self.open_.pop_back();
  }

  const DatRomHandler& onRom_;
  XML_Parser parser_;
  std::vector<Element> open_;  // the elements open, outermost first
  bool gameOpen_ = false;
  std::string game_;
  uint64_t roms_ = 0;
  uint64_t rootLine_ = 1;
  DatFault fault_;
};

std::optional<DatFault> ParseXml(std::string_view text, const DatRomHandler& onRom) {
  DatParser parser(onRom);
  if (!parser.Feed(text.data(), text.size(), true)) return parser.Fault();
  return std::nullopt;
}

bool IsZip(std::string_view bytes) {
  return bytes.size() >= 4 && HasZipSignature(reinterpret_cast<const uint8_t*>(bytes.data()));
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::string DatFaultText(const DatFault& fault) {
  std::string text = "not a DAT (" + fault.reason + ")";
  return fault.line == 0 ? text : "line " + std::to_string(fault.line) + ": " + text;
}

std::optional<DatFault> ParseDat(std::string_view bytes, const DatRomHandler& onRom,
                                 uint32_t maxUnzipped) {
  if (!IsZip(bytes)) return ParseXml(bytes, onRom);
  MemorySource archive(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  std::vector<uint8_t> member;
  std::string error;
  if (!ExtractFirstZipFile(archive, maxUnzipped, member, error)) {
    return DatFault{0, "ZIP: " + error};
  }
  return ParseXml({reinterpret_cast<const char*>(member.data()), member.size()}, onRom);
}

std::optional<FileError> ReadDatFile(const std::string& path, const DatRomHandler& onRom) {
  const std::unique_ptr<std::FILE, FileCloser> file(OpenFile(PathFromText(path), "rb"));
  if (!file) return FileError{path, std::strerror(errno)};
  std::vector<char> piece(kPiece);
  // Reads the next piece; fread gives less than a piece only at the end.
  const auto read = [&](size_t& got) {
    got = std::fread(piece.data(), 1, piece.size(), file.get());
    return std::ferror(file.get()) == 0;
  };
  size_t got = 0;
  if (!read(got)) return FileError{path, std::strerror(errno)};

  std::optional<DatFault> fault;
  if (IsZip({piece.data(), got})) {
    std::string whole(piece.data(), got);
    while (got == piece.size()) {
      if (!read(got)) return FileError{path, std::strerror(errno)};
      whole.append(piece.data(), got);
    }
    fault = ParseDat(whole, onRom);
  } else {
    DatParser parser(onRom);
    for (;;) {
      const bool last = got < piece.size();
      if (!parser.Feed(piece.data(), got, last)) {
        fault = parser.Fault();
        break;
      }
      if (last) break;
      if (!read(got)) return FileError{path, std::strerror(errno)};
    }
  }
  if (fault) return FileError{path, DatFaultText(*fault)};
  return std::nullopt;
}

}  // namespace moswit
