// SPDX-License-Identifier: GPL-2.0-or-later
// WildcardMatch on arbitrary pattern and name pairs: the input is the
// pattern, a zero byte and the name (no zero byte: pattern and name alike).
// Besides not crashing, a match must obey the rules that hold for any pair.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "database/wildcard.h"

namespace {

bool HasWildcard(std::string_view text) {
  return text.find_first_of("?*") != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string_view pattern = input.substr(0, split);
  const std::string_view name = split == std::string_view::npos ? input : input.substr(split + 1);

  const bool matches = moswit::WildcardMatch(pattern, name);
  // Letter case never matters.
  if (moswit::WildcardMatch(moswit::UpperCase(pattern), name) != matches) std::abort();
  if (!HasWildcard(pattern)) {
    // Without wildcards a match is equality, up to the case of a to z.
    if (matches != (moswit::UpperCase(pattern) == moswit::UpperCase(name))) std::abort();
  }
  // A text without wildcards matches itself; "?" takes exactly one character.
  if (!HasWildcard(name) && !moswit::WildcardMatch(name, name)) std::abort();
  if (!name.empty() && !HasWildcard(name.substr(1)) &&
      !moswit::WildcardMatch(std::string("?") + std::string(name.substr(1)), name)) {
    std::abort();
  }
  return 0;
}
