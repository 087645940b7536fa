#include "database/wildcard.h"

#include <cstdint>
#include <vector>

namespace moswit {

namespace {

constexpr char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The match of the pattern suffix from i against the name suffix from a is
// a function of (i, a) alone, so each pair is worked out once; without that
// a few stars on a long name take exponential time.
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
        char next = Upper(p_[i + 1]);
        while (a < slen) {
          if (Cached(i + 1, a)) return true;
          ++a;
          while (a < slen && Upper(s_[a]) != next) ++a;
        }
        return false;
      } else {
        return false;
      }
    }
    return i == plen && a == slen;
  }

 private:
  bool Cached(size_t i, size_t a) {
    if (memo_.empty()) memo_.assign((p_.size() + 1) * (s_.size() + 1), kUnknown);
    uint8_t& slot = memo_[i * (s_.size() + 1) + a];
    if (slot == kUnknown) slot = Match(i, a) ? kTrue : kFalse;
    return slot == kTrue;
  }

  static constexpr uint8_t kUnknown = 0;
  static constexpr uint8_t kFalse = 1;
  static constexpr uint8_t kTrue = 2;

  std::string_view p_;
  std::string_view s_;
  std::vector<uint8_t> memo_;
};

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  return Matcher(pattern, name).Match(0, 0);
}

std::string UpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = Upper(c);
  return result;
}

}  // namespace moswit
