// SPDX-License-Identifier: GPL-2.0-or-later
// The About box's caption, size and text.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace moswit {

constexpr char kAboutCaption[] = "About Moswit";
constexpr int kAboutClientWidth = 453;
constexpr int kAboutClientHeight = 269;

// The lines in order; several end in a blank, which is kept.
const std::array<std::string_view, 18>& AboutLines();

// The lines joined by line breaks.
std::string AboutText();

}  // namespace moswit
