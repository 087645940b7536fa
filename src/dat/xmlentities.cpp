// SPDX-License-Identifier: GPL-2.0-or-later
#include "dat/xmlentities.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>

#include "base/codepage.h"

namespace moswit {

namespace {

// Deeper than any DTD nests its entities; keeps the expansion off the
// bottom of the stack.
constexpr unsigned kMaxDepth = 64;

// Bytes an attribute value holds as they are: printable ASCII but the two
// that start markup.
constexpr std::array<bool, 256> kPlain = [] {
  std::array<bool, 256> plain{};
  for (unsigned c = 0x20; c < 0x80; ++c) plain[c] = c != '&' && c != '<';
  return plain;
}();

// Whether all eight bytes of `word` are plain: none has its top bit set,
// none is below 0x20, none is '&' or '<' (tests of all bytes at once).
bool IsPlain(uint64_t word) {
  constexpr uint64_t kOnes = 0x0101010101010101u;
  constexpr uint64_t kTops = 0x8080808080808080u;
  const auto below = [](uint64_t bytes, uint64_t limit) {
    return (bytes - limit * kOnes) & ~bytes;
  };
  const auto equal = [&](uint64_t letter) { return below(word ^ (letter * kOnes), 1); };
  return ((word | below(word, 0x20) | equal('&') | equal('<')) & kTops) == 0;
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsXmlLetter(char32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The letter of a character reference, given what follows its "&#".
std::optional<char32_t> ReferencedLetter(std::string_view digits) {
  const bool hex = digits.starts_with('x');
  if (hex) digits.remove_prefix(1);
  if (digits.empty()) return std::nullopt;
  char32_t letter = 0;
  for (const char c : digits) {
    unsigned digit = 16;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    }
    if (digit >= (hex ? 16u : 10u)) return std::nullopt;
    letter = letter * (hex ? 16 : 10) + digit;
    if (letter > 0x10FFFF) return std::nullopt;
  }
  if (!IsXmlLetter(letter)) return std::nullopt;
  return letter;
}

// An entity's literal with its character references replaced, as XML
// does where the entity is declared; other references stay for its use.
std::string ReplaceCharacterReferences(std::string_view literal) {
  std::string text;
  for (size_t at = 0; at < literal.size();) {
    const size_t end = literal.find(';', at);
    if (literal.substr(at).starts_with("&#") && end != std::string_view::npos) {
      if (const std::optional<char32_t> letter =
              ReferencedLetter(literal.substr(at + 2, end - at - 2))) {
        AppendUtf8(*letter, text);
        at = end + 1;
        continue;
      }
    }
    text += literal[at++];
  }
  return text;
}

// A reading position in a DOCTYPE's text.
struct Cursor {
  std::string_view text;
  size_t at = 0;

  bool AtEnd() const { return at >= text.size(); }
  bool Next(std::string_view head) const { return text.substr(at).starts_with(head); }
  void SkipSpace() {
    while (!AtEnd() && IsXmlSpace(text[at])) ++at;
  }
  void SkipPast(std::string_view end) {
    const size_t found = text.find(end, at);
    at = found == std::string_view::npos ? text.size() : found + end.size();
  }
  // Past the '>' that ends a declaration, quoted texts in it passed over.
  void SkipDeclaration() {
    for (char quote = 0; !AtEnd(); ++at) {
      const char c = text[at];
      if (quote != 0) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '>') {
        ++at;
        return;
      }
    }
  }
  std::string_view Name() {
    const size_t start = at;
    while (!AtEnd() && !IsXmlSpace(text[at]) && text[at] != '"' && text[at] != '\'' &&
           text[at] != '>') {
      ++at;
    }
    return text.substr(start, at - start);
  }
};

}  // namespace

void XmlEntities::Declare(std::string_view doctype) {
  Cursor cursor{doctype};
  // The internal subset starts at the first '[' outside the quoted
  // identifiers of the external one.
  for (char quote = 0; !cursor.AtEnd(); ++cursor.at) {
    const char c = doctype[cursor.at];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '[') {
      break;
    }
  }
  while (!cursor.AtEnd()) {
    if (cursor.Next("<!--")) {
      cursor.SkipPast("-->");
    } else if (cursor.Next("<?")) {
      cursor.SkipPast("?>");
    } else if (cursor.Next("<!ENTITY")) {
      cursor.at += 8;
      cursor.SkipSpace();
      // A parameter entity serves the DTD only.
      const bool general = !cursor.Next("%");
      const std::string_view name = cursor.Name();
      cursor.SkipSpace();
      Entity entity;
      if (!cursor.AtEnd() && (doctype[cursor.at] == '"' || doctype[cursor.at] == '\'')) {
        const size_t end = doctype.find(doctype[cursor.at], cursor.at + 1);
        if (end == std::string_view::npos) break;
        entity.text =
            ReplaceCharacterReferences(doctype.substr(cursor.at + 1, end - cursor.at - 1));
        cursor.at = end + 1;
      } else {
        entity.external = true;  // SYSTEM or PUBLIC
      }
      if (general && !name.empty()) entities_.emplace(name, std::move(entity));
      cursor.SkipDeclaration();
    } else if (cursor.Next("<!")) {
      cursor.SkipDeclaration();
    } else {
      ++cursor.at;
    }
  }
}

bool XmlEntities::Value(const char* raw, std::string& scratch, std::string_view& value) {
  const std::string_view text(raw);
  size_t at = 0;
  // Eight bytes at a time while they are plain, then byte by byte.
  while (at + 8 <= text.size()) {
    uint64_t word = 0;
    std::memcpy(&word, raw + at, sizeof word);
    if (!IsPlain(word)) break;
    at += 8;
  }
  while (at < text.size() && kPlain[static_cast<uint8_t>(text[at])]) ++at;
  if (at == text.size()) {
    value = text;
    return true;
  }
  scratch.assign(text.substr(0, at));
  if (!Append(text.substr(at), 0, scratch)) return false;
  value = scratch;
  return true;
}

bool XmlEntities::Append(std::string_view text, unsigned depth, std::string& out) {
  const auto fail = [this](std::string_view reason) {
    fault_ = reason;
    return false;
  };
  for (size_t at = 0; at < text.size();) {
    const auto c = static_cast<uint8_t>(text[at]);
    if (kPlain[c]) {
      out += static_cast<char>(c);
      ++at;
    } else if (c == '&') {
      size_t end = at + 1;
      while (end < text.size() && !IsXmlSpace(text[end]) && text[end] != ';' && text[end] != '&' &&
             text[end] != '<') {
        ++end;
      }
      if (end == text.size() || text[end] != ';' || end == at + 1) {
        return fail("'&' that starts no reference");
      }
      if (!AppendReference(text.substr(at + 1, end - at - 1), depth, out)) return false;
      at = end + 1;
    } else if (c == '<') {
      return fail("'<' in an attribute value");
    } else if (c == '\t' || c == '\n' || c == '\r') {
      out += ' ';
      at += c == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
    } else if (c < 0x20) {
      return fail("control character in an attribute value");
    } else {
      const std::optional<Utf8Letter> letter = DecodeUtf8(text, at);
      if (!letter || !IsXmlLetter(letter->letter)) return fail("not UTF-8");
      out.append(text.substr(at, letter->length));
      at += letter->length;
    }
  }
  return true;
}

bool XmlEntities::AppendReference(std::string_view name, unsigned depth, std::string& out) {
  const auto fail = [this](std::string_view reason) {
    fault_ = reason;
    return false;
  };
  if (name.starts_with('#')) {
    const std::optional<char32_t> letter = ReferencedLetter(name.substr(1));
    if (!letter) return fail("reference to an invalid character");
    AppendUtf8(*letter, out);
    return true;
  }
  static constexpr std::pair<std::string_view, char> kPredefined[] = {
      {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"apos", '\''}, {"quot", '"'}};
  for (const auto& [predefined, letter] : kPredefined) {
    if (name == predefined) {
      out += letter;
      return true;
    }
  }
  const auto found = entities_.find(name);
  if (found == entities_.end()) return fail("undefined entity");
  Entity& entity = found->second;
  if (entity.external) return fail("reference to an external entity");
  if (entity.open) return fail("recursive entity reference");
  if (depth >= kMaxDepth) return fail("entities nested too deep");
  // Each reference counts, so a chain of empty entities is bounded too.
  expanded_ += entity.text.size() + 1;
  if (expanded_ > kMaxExpansion) return fail("entities expand to too much text");
  entity.open = true;
  const bool appended = Append(entity.text, depth + 1, out);
  entity.open = false;
  return appended;
}

}  // namespace moswit
