// SPDX-License-Identifier: GPL-2.0-or-later
#include "dat/datreader.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "base/asciicase.h"
#include "base/pathtext.h"
#include "base/platformfile.h"
#include "dat/xmlencoding.h"
#include "image/zipmember.h"

namespace moswit {

namespace {

// Whether a name pugixml ended with a 0 is `literal`, compared inline: a
// DAT has hundreds of thousands of names to tell apart.
template <size_t N>
bool Is(const char* name, const char (&literal)[N]) {
  for (size_t i = 0; i < N; ++i) {
    if (name[i] != literal[i]) return false;
  }
  return true;
}

std::optional<uint32_t> Decimal(std::string_view text) {
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > UINT32_MAX) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

std::optional<uint32_t> Hexadecimal(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  uint32_t value = 0;
  for (const char letter : text) {
    const char c = UpperAz(letter);
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

// A DAT's bytes, and then its text, ours to be parsed in place.
struct Buffer {
  std::unique_ptr<char[]> bytes;
  size_t size = 0;

  std::string_view View() const { return {bytes.get(), size}; }
};

Buffer CopyOf(std::string_view bytes) {
  Buffer copy{std::make_unique_for_overwrite<char[]>(bytes.size()), bytes.size()};
  std::copy(bytes.begin(), bytes.end(), copy.bytes.get());
  return copy;
}

bool IsZip(std::string_view bytes) {
  return bytes.size() >= 4 && HasZipSignature(reinterpret_cast<const uint8_t*>(bytes.data()));
}

uint64_t LineAt(std::string_view text, size_t offset) {
  const std::string_view before = text.substr(0, offset);
  return 1 + static_cast<uint64_t>(std::count(before.begin(), before.end(), '\n'));
}

// Makes the bytes of a DAT its UTF-8 text: the first member of a ZIP,
// decoded from the encoding it is in.
std::optional<DatFault> Decode(Buffer& buffer, uint32_t maxUnzipped) {
  if (IsZip(buffer.View())) {
    MemorySource archive(reinterpret_cast<const uint8_t*>(buffer.bytes.get()), buffer.size);
    std::vector<uint8_t> member;
    std::string error;
    if (!ExtractFirstZipFile(archive, maxUnzipped, member, error)) {
      return DatFault{0, "ZIP: " + error};
    }
    buffer = CopyOf({reinterpret_cast<const char*>(member.data()), member.size()});
  }
  const std::optional<XmlEncoding> encoding = DetectXmlEncoding(buffer.View());
  if (!encoding) return DatFault{1, "unknown encoding"};
  if (*encoding == XmlEncoding::kUtf8) return std::nullopt;
  std::string text;
  if (!XmlToUtf8(buffer.View(), *encoding, text)) {
    return DatFault{LineAt(text, text.size()), "not UTF-16"};
  }
  buffer = CopyOf(text);
  return std::nullopt;
}

// Where parsing found that a text is not a DAT: the offset in the text.
struct TextFault {
  size_t at = 0;
  std::string reason;
};

// Walks pugixml's tree of one document. Only the ROMs directly inside a
// game (or machine) that no other game holds count.
class DatWalk {
 public:
  DatWalk(const Buffer& text, const DatRomHandler& onRom) : text_(text), onRom_(onRom) {}

  std::optional<TextFault> Walk(const pugi::xml_document& document) {
    const pugi::xml_node root = document.document_element();
    for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
      // pugixml takes several; XML has one.
      if (node.type() == pugi::node_element && node != root) {
        return TextFault{OffsetOf(node.name()), "a second root element"};
      }
    }
    pugi::xml_node node = document.first_child();
    while (node) {
      if (node.type() == pugi::node_element) {
        const char* name = node.name();
        if (Is(name, "game") || Is(name, "machine")) {
          Game(node);
        } else if (const pugi::xml_node child = node.first_child()) {
          node = child;
          continue;
        }
      }
      // The next node in document order that is not inside this one.
      while (node && !node.next_sibling()) node = node.parent();
      if (node) node = node.next_sibling();
    }
    if (roms_ == 0) {
      return TextFault{OffsetOf(root.name()), "no rom in any game"};
    }
    return std::nullopt;
  }

 private:
  void Game(const pugi::xml_node& game) {
    std::string_view gameName;
    if (const pugi::xml_attribute name = game.attribute("name")) {
      gameName = name.value();
    }
    for (pugi::xml_node rom = game.first_child(); rom; rom = rom.next_sibling()) {
      if (rom.type() != pugi::node_element || !Is(rom.name(), "rom")) continue;
      DatRom read{gameName, {}, {}, {}};
      // The first of an attribute given twice counts.
      bool named = false, sized = false, checked = false;
      for (pugi::xml_attribute attribute = rom.first_attribute(); attribute;
           attribute = attribute.next_attribute()) {
        const char* name = attribute.name();
        if (!named && Is(name, "name")) {
          read.name = attribute.value();
          named = true;
        } else if (!sized && Is(name, "size")) {
          read.size = Decimal(attribute.value());
          sized = true;
        } else if (!checked && Is(name, "crc")) {
          read.crc = Hexadecimal(attribute.value());
          checked = true;
        }
      }
      ++roms_;
      onRom_(read);
    }
  }

  size_t OffsetOf(const char* inText) const {
    return static_cast<size_t>(inText - text_.bytes.get());
  }

  const Buffer& text_;
  const DatRomHandler& onRom_;
  uint64_t roms_ = 0;
};

// Parses the UTF-8 text in `text`, which pugixml changes as it goes.
std::optional<TextFault> ParseText(Buffer& text, const DatRomHandler& onRom) {
  // pugixml passes over text outside elements; a document that does not
  // start with markup is no XML at all (a DID, random bytes).
  const std::string_view view = text.View();
  const size_t first = view.find_first_not_of(" \t\r\n", view.starts_with("\xEF\xBB\xBF") ? 3 : 0);
  if (first != std::string_view::npos && view[first] != '<') return TextFault{first, "not XML"};
  pugi::xml_document document;
  // The predefined entities and character references are replaced, white
  // space in values becomes blanks; a DOCTYPE is passed over, nothing it
  // names is fetched, and entities it declares stay as they are written.
  const pugi::xml_parse_result parsed = document.load_buffer_inplace(
      text.bytes.get(), text.size,
      pugi::parse_escapes | pugi::parse_wconv_attribute | pugi::parse_embed_pcdata,
      pugi::encoding_utf8);
  if (!parsed) {
    // pugixml reports a fault at the end (an element left open) at the
    // last byte: after a last line end, that is the line after it.
    const auto at = static_cast<size_t>(parsed.offset);
    return TextFault{at + 1 >= text.size ? text.size : at, parsed.description()};
  }
  return DatWalk(text, onRom).Walk(document);
}

// Reads the DAT of `bytes`; `again` gives them once more, to count the
// lines up to a fault in the text as it was before parsing.
std::optional<DatFault> ParseBuffer(Buffer bytes, const DatRomHandler& onRom, uint32_t maxUnzipped,
                                    const std::function<std::optional<Buffer>()>& again) {
  if (std::optional<DatFault> fault = Decode(bytes, maxUnzipped)) return fault;
  const std::optional<TextFault> fault = ParseText(bytes, onRom);
  if (!fault) return std::nullopt;
  uint64_t line = 0;
  std::optional<Buffer> text = again();
  if (text && !Decode(*text, maxUnzipped)) line = LineAt(text->View(), fault->at);
  return DatFault{line, fault->reason};
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The bytes of the file at `path`, or the platform's message of why not.
std::optional<Buffer> ReadWhole(const std::string& path, std::string& error) {
  const std::filesystem::path name = PathFromText(path);
  const std::unique_ptr<std::FILE, FileCloser> file(OpenFile(name, "rb"));
  if (!file) {
    error = std::strerror(errno);
    return std::nullopt;
  }
  // Room for one byte more than the file holds, so one read finds its end;
  // what is not a plain file grows as it is read.
  std::error_code ignored;
  const uintmax_t expected = std::filesystem::file_size(name, ignored);
  const auto tooLarge = [] {
    return DatFaultText({0, "more than " + std::to_string(kMaxZippedDatSize >> 20) + " MiB"});
  };
  if (!ignored && expected > kMaxZippedDatSize) {
    error = tooLarge();
    return std::nullopt;
  }
  size_t capacity = 64 * 1024;
  if (!ignored) capacity = std::max<size_t>(capacity, expected + 1);
  Buffer buffer{std::make_unique_for_overwrite<char[]>(capacity), 0};
  for (;;) {
    buffer.size +=
        std::fread(buffer.bytes.get() + buffer.size, 1, capacity - buffer.size, file.get());
    if (std::ferror(file.get()) != 0) {
      error = std::strerror(errno);
      return std::nullopt;
    }
    if (buffer.size < capacity) return buffer;
    if (buffer.size > kMaxZippedDatSize) {
      error = tooLarge();
      return std::nullopt;
    }
    capacity *= 2;
    Buffer grown{std::make_unique_for_overwrite<char[]>(capacity), buffer.size};
    std::copy(buffer.bytes.get(), buffer.bytes.get() + buffer.size, grown.bytes.get());
    buffer = std::move(grown);
  }
}

}  // namespace

std::string DatFaultText(const DatFault& fault) {
  std::string text = "not a DAT (" + fault.reason + ")";
  return fault.line == 0 ? text : "line " + std::to_string(fault.line) + ": " + text;
}

std::optional<DatFault> ParseDat(std::string_view bytes, const DatRomHandler& onRom,
                                 uint32_t maxUnzipped) {
  return ParseBuffer(CopyOf(bytes), onRom, maxUnzipped,
                     [bytes] { return std::optional<Buffer>(CopyOf(bytes)); });
}

std::optional<FileError> ReadDatFile(const std::string& path, const DatRomHandler& onRom) {
  std::string error;
  std::optional<Buffer> bytes = ReadWhole(path, error);
  if (!bytes) return FileError{path, error};
  const std::optional<DatFault> fault =
      ParseBuffer(std::move(*bytes), onRom, kMaxZippedDatSize, [&path] {
        std::string ignored;
        return ReadWhole(path, ignored);
      });
  if (fault) return FileError{path, DatFaultText(*fault)};
  return std::nullopt;
}

}  // namespace moswit
