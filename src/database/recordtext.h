// SPDX-License-Identifier: GPL-2.0-or-later
// The optional texts of database records and the helpers editors use to
// move them in and out of their fields.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace moswit {

// An optional text of at most 255 bytes; empty and absent are the same.
//
// A stored text never holds a double quote or a line break: a DID file has
// no escape for either, so Store turns '"' into '\'' and CR and LF into a
// blank. That way every text held in memory writes and reads back unchanged.
class RecordText {
 public:
  static constexpr size_t kMaxLength = 255;

  RecordText() = default;
  explicit RecordText(std::string_view value) { Store(value); }
  RecordText(const RecordText& other) { Store(other.Value()); }
  RecordText(RecordText&&) noexcept = default;
  RecordText& operator=(const RecordText& other) {
    if (this != &other) Store(other.Value());
    return *this;
  }
  RecordText& operator=(RecordText&&) noexcept = default;
  RecordText& operator=(std::string_view value) {
    Store(value);
    return *this;
  }

  // Cuts the value to kMaxLength bytes; an empty value makes the text absent.
  void Store(std::string_view value);
  void Clear() { data_.reset(); }

  bool Present() const { return data_ != nullptr; }
  std::string_view Value() const {
    if (!data_) return {};
    return {data_.get() + 1, static_cast<unsigned char>(data_[0])};
  }

  friend bool operator==(const RecordText& a, const RecordText& b) {
    return a.Value() == b.Value();
  }

 private:
  // One length byte, then the bytes; null when absent. Eight bytes per field
  // keeps a database of half a million file records small.
  std::unique_ptr<char[]> data_;
};

// Releases the old text and stores `value` (absent when empty).
void StoreText(RecordText& text, std::string_view value);
// The text, or the empty text when absent.
std::string LoadText(const RecordText& text);

// The lines in order, each preceded by one blank when the text built so far
// is not empty: leading empty lines vanish, a later empty line leaves a blank.
std::string JoinLines(std::span<const std::string> lines);

}  // namespace moswit
