// SPDX-License-Identifier: GPL-2.0-or-later
// Attribute values as XML reads them, for the few the DAT reader takes.
// pugixml is asked to leave references alone (it knows neither the
// entities a DOCTYPE declares nor a fault in a reference): these are read
// here, with the general entities of the document's internal DTD subset.
// Nothing is fetched: a reference to an external entity is a fault, as is
// a recursive one, and the text entities expand to is bounded, so a small
// file cannot grow into gigabytes.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace moswit {

class XmlEntities {
 public:
  // The most text entity references may expand to in one document.
  static constexpr size_t kMaxExpansion = 8u << 20;

  // Takes the general entities declared in a DOCTYPE's text (from the root
  // element's name up to the closing '>'), the first declaration of a name
  // binding. What cannot be read as a declaration is passed over.
  void Declare(std::string_view doctype);

  // The value of an attribute, given as written between its quotes and
  // ended by a 0: references replaced, each white-space character (of the
  // value or of an entity's text) a space, checked to be UTF-8 without
  // control characters. `value` views `raw` when nothing changes, else
  // `scratch`. False on a fault, which Fault() names.
  bool Value(const char* raw, std::string& scratch, std::string_view& value);
  std::string_view Fault() const { return fault_; }

 private:
  struct Entity {
    std::string text;  // character references replaced
    bool external = false;
    bool open = false;  // being expanded
  };
  // Appends the value of `text` to `out`; false with `fault_` set.
  bool Append(std::string_view text, unsigned depth, std::string& out);
  bool AppendReference(std::string_view name, unsigned depth, std::string& out);

  std::map<std::string, Entity, std::less<>> entities_;
  size_t expanded_ = 0;
  std::string_view fault_;
};

}  // namespace moswit
