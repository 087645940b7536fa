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
  Matcher(std::string_view pattern, std::string_view name) : pattern_(pattern), name_(name) {}

  // Whether the pattern from position `at` on matches the name from
  // position `from` on.
  bool MatchFrom(size_t at, size_t from) {
    const size_t patternLength = pattern_.size();
    const size_t nameLength = name_.size();
    while (at < patternLength && from < nameLength) {
      char wanted = Upper(pattern_[at]);
      if (wanted == Upper(name_[from]) || wanted == '?') {
        ++at;
        ++from;
      } else if (wanted == '*' && at + 1 == patternLength) {
        return true;  // a final star takes all remaining characters
      } else if (wanted == '*') {
        return Star(at, from);
      } else {
        return false;
      }
    }
    return at == patternLength && from == nameLength;
  }

 private:
  // The star at pattern position `at` (not the last character) tried at name
  // position `from`, then at every later position where the name holds the
  // pattern's next character literally.
  bool Star(size_t at, size_t from) {
    const size_t nameLength = name_.size();
    const char next = Upper(pattern_[at + 1]);
    auto following = [&](size_t tryAt) {
      ++tryAt;
      while (tryAt < nameLength && Upper(name_[tryAt]) != next) ++tryAt;
      return tryAt;
    };
    // Walks the tries up to the first one that matches or that an earlier
    // walk of this star already settled; every try on the way shares its
    // outcome, so no try of this star is walked twice.
    bool result = false;
    size_t tryAt = from;
    for (; tryAt < nameLength; tryAt = following(tryAt)) {
      const uint8_t known = Slot(starMemo_, at, tryAt);
      if (known != kUnknown) {
        result = known == kTrue;
        break;
      }
      if (Cached(at + 1, tryAt)) {
        result = true;
        break;
      }
    }
    const uint8_t outcome = result ? kTrue : kFalse;
    for (size_t walked = from; walked < tryAt; walked = following(walked))
      Slot(starMemo_, at, walked) = outcome;
    return result;
  }

  bool Cached(size_t at, size_t from) {
    uint8_t& slot = Slot(memo_, at, from);
    if (slot == kUnknown) slot = MatchFrom(at, from) ? kTrue : kFalse;
    return slot == kTrue;
  }

  // One row per pattern position, made when first needed: only the
  // positions of stars and those just after them ever get one.
  uint8_t& Slot(std::vector<std::vector<uint8_t>>& memo, size_t at, size_t from) {
    if (memo.empty()) memo.resize(pattern_.size() + 1);
    std::vector<uint8_t>& row = memo[at];
    if (row.empty()) row.assign(name_.size() + 1, kUnknown);
    return row[from];
  }

  static constexpr uint8_t kUnknown = 0;
  static constexpr uint8_t kFalse = 1;
  static constexpr uint8_t kTrue = 2;

  std::string_view pattern_;
  std::string_view name_;
  std::vector<std::vector<uint8_t>> memo_;      // MatchFrom(at, from)
  std::vector<std::vector<uint8_t>> starMemo_;  // Star(at, from)
};

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  return Matcher(pattern, name).MatchFrom(0, 0);
}

}  // namespace moswit
