// SPDX-License-Identifier: GPL-2.0-or-later
// Everything the program does with one loaded image, run in one go for the
// mutation sweep and the fuzzers: the Inspector's block map and disk
// properties, the directory walk with every file read under both flags, and
// identification against an index. Each step also checks the promises its
// interface makes, so a damaged image that breaks one is reported, not only
// one that crashes.
#pragma once

#include <string>
#include <vector>

#include "image/adf.h"
#include "image/blockcrcs.h"
#include "scan/matchindex.h"

namespace moswit::test {

// The first broken promise, or the empty text. `filesFound`, when given,
// receives the number of files the walk listed.
std::string ExerciseImage(const tADF& image, const MatchIndex& index, size_t* filesFound = nullptr);

// The one-pass path against the plain CRC path: the block CRCs `crcs`
// against each block's own; every file's CRC and status from them against
// its plain read, under both flags; identification against
// IdentifyImageDirect. The first disagreement, or the empty text.
std::string CheckOnePass(const tADF& image, const MatchIndex& index, const BlockCrcs& crcs);
// The same with the block CRCs taken as the image arrives in pieces of
// `piece` bytes, at the index's block positions as a scan takes them.
std::string CheckOnePass(const tADF& image, const MatchIndex& index, size_t piece = kLoadPiece);

// An image holding `bytes`.
tADF ImageOf(std::vector<uint8_t> bytes, const std::string& name = "image.adf");

}  // namespace moswit::test
