// SPDX-License-Identifier: GPL-2.0-or-later
#include "database/wildcard.h"

#include <cstdint>
#include <vector>

namespace moswit {

namespace {

constexpr char Upper(char c) { return UpperAz(c); }

// The match of the pattern suffix from i against the name suffix from a is
// a function of (i, a) alone, so each pair is worked out once; without that
// a few stars on a long name take exponential time. The tries of one star
// are settled once per start position too, so a pattern of many stars on a
// long name takes time proportional to the product of their lengths.
class Matcher {
 public:
  Matcher(std::string_view pattern, std::string_view name) : p_(pattern), s_(name) {}

  bool Match(size_t i, size_t a) {
    const size_t plen = p_.size();
    const size_t slen = s_.size();
    while (i < plen && a < slen) {
      char pc = Upper(p_[i]);
      if (pc == Upper(s_[a]) || pc == '?') {
        ++i;
        ++a;
      } else if (pc == '*' && i + 1 == plen) {
        return true;  // a final star takes all remaining characters
      } else if (pc == '*') {
        return Star(i, a);
      } else {
        return false;
      }
    }
    return i == plen && a == slen;
  }

 private:
  // The star at i (not the last character) tried at a, then at every later
  // position where the name holds the pattern's next character literally.
  bool Star(size_t i, size_t a) {
    const size_t slen = s_.size();
    const char next = Upper(p_[i + 1]);
    auto following = [&](size_t b) {
      ++b;
      while (b < slen && Upper(s_[b]) != next) ++b;
      return b;
    };
    // Walks the tries up to the first one that matches or that an earlier
    // walk of this star already settled; every try on the way shares its
    // outcome, so no try of this star is walked twice.
    bool result = false;
    size_t b = a;
    for (; b < slen; b = following(b)) {
      const uint8_t known = Slot(starMemo_, i, b);
      if (known != kUnknown) {
        result = known == kTrue;
        break;
      }
      if (Cached(i + 1, b)) {
        result = true;
        break;
      }
    }
    const uint8_t outcome = result ? kTrue : kFalse;
    for (size_t c = a; c < b; c = following(c)) Slot(starMemo_, i, c) = outcome;
    return result;
  }

  bool Cached(size_t i, size_t a) {
    uint8_t& slot = Slot(memo_, i, a);
    if (slot == kUnknown) slot = Match(i, a) ? kTrue : kFalse;
    return slot == kTrue;
  }

  // One row per pattern position, made when first needed: only the
  // positions of stars and those just after them ever get one.
  uint8_t& Slot(std::vector<std::vector<uint8_t>>& memo, size_t i, size_t a) {
    if (memo.empty()) memo.resize(p_.size() + 1);
    std::vector<uint8_t>& row = memo[i];
    if (row.empty()) row.assign(s_.size() + 1, kUnknown);
    return row[a];
  }

  static constexpr uint8_t kUnknown = 0;
  static constexpr uint8_t kFalse = 1;
  static constexpr uint8_t kTrue = 2;

  std::string_view p_;
  std::string_view s_;
  std::vector<std::vector<uint8_t>> memo_;      // Match(i, a)
  std::vector<std::vector<uint8_t>> starMemo_;  // Star(i, a)
};

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  return Matcher(pattern, name).Match(0, 0);
}

}  // namespace moswit
