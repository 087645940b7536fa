// SPDX-License-Identifier: GPL-2.0-or-later
// Matching of database file paths with "?" and "*" against paths found on a
// disk, and the ASCII upper-casing it relies on.
#pragma once

#include <string>
#include <string_view>

#include "base/asciicase.h"  // UpperCase, used with every pattern

namespace moswit {

// Both texts are compared upper-cased (a-z only). "?" takes one character.
// A final "*" takes one or more characters, never none; a "*" elsewhere
// takes zero or more, shortest first, and is only tried at positions where
// the name holds the pattern's next character literally. An empty pattern
// matches only the empty name.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace moswit
