// SPDX-License-Identifier: GPL-2.0-or-later
// Identification of one loaded image against a MatchIndex: candidate disks
// from file, block and span hits, a score per candidate, the best disk per
// game, and the result line with its codes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "image/adf.h"
#include "image/blockcrcs.h"
#include "image/filesystem.h"
#include "scan/matchindex.h"
#include "scan/spancrcs.h"

namespace moswit {

constexpr uint32_t kQualifyingAccuracy = 500;
constexpr char kUnidentified[] = "<unidentified>";

// Counter groups, in the order their codes are written.
enum CounterGroup : unsigned {
  kGroupPreGame = 0,
  kGroupGame = 1,
  kGroupAddendum = 2,
  kGroupUnused = 3
};
constexpr unsigned kGroupCount = 4;
// Counters within a group.
enum GroupCounter : unsigned { kMissing = 0, kBad = 1, kDifferent = 2, kMisnamed = 3 };

struct ScoreSheet {
  std::array<std::array<uint32_t, 4>, kGroupCount> counters{};
  int32_t extraFiles = 0;
  bool nameMismatchRequired = false;
  bool nameMismatchOptional = false;
  bool trainerMissing = false;
  bool cracktroMissing = false;
  bool releasetroMissing = false;
  bool hdInstallMissing = false;
  bool docsMissing = false;
  bool startupDiffers = false;
  bool highscoresDiffer = false;
  uint32_t startupCrc = 0;
  uint32_t highscoresCrc = 0;
  uint32_t savegameCount = 0;
  uint32_t savegameCrcXor = 0;
};

struct Candidate {
  const DiskRecord* disk = nullptr;
  const GameRecord* game = nullptr;
  uint32_t accuracy = 0;
  ScoreSheet sheet;
};

// The image's files, read and CRC'd, with their upper-case paths for the
// wildcard tests (computed once per image, not once per candidate).
struct ImageFiles {
  FileList files;
  std::vector<std::string> upperPaths;
};

// One game of a result line: the disk kept for it, its accuracy and its
// result codes (e.g. "[md1][x2]", empty for a perfect match).
struct GameMatch {
  const GameRecord* game = nullptr;
  const DiskRecord* disk = nullptr;
  uint32_t accuracy = 0;
  std::string codes;
  uint32_t differences = 0;  // DifferenceCount of its sheet
};

struct IdentifyResult {
  std::string line;
  bool hadCandidates = false;    // the window beeps once for such an image
  std::vector<GameMatch> games;  // the games of the line, in its order
};

// The group of a record: the first of Pre-Game, Game, Addendum, Unused set
// in its attributes; -1 for none.
int GroupOf(uint32_t attributes);

// floor((numerator / denominator) * scale), computed in extended precision
// and truncated toward zero: 1 of 125 gives 7 per mille, 63 of 125 gives 503.
uint32_t TruncatedRatio(uint32_t numerator, uint32_t denominator, uint32_t scale);

// The steps of IdentifyImage. With `crcs` (the image's block CRCs, covering
// it) the CRC-32s of files, of blocks and of ranges are combined from the
// blocks' instead of being computed over all the image's bytes they cover.
// `spans` holds the CRCs of the index's spans within the image.
ImageFiles ReadImageFiles(const tADF& image, const BlockCrcs* crcs = nullptr);

// Nominates the disks of the file hits (in walk order), then of the block
// hits (in block order), then of the span hits (in the index's span order),
// each lookup's in database order; every disk once, at its first hit.
std::vector<Candidate> FindCandidates(const tADF& image, const ImageFiles& files,
                                      const MatchIndex& index, const BlockCrcs* crcs,
                                      const SpanCrcs& spans);

// A disk without file records says nothing about the image's files, so its
// extraFiles stays 0.
void ScoreCandidate(const tADF& image, const ImageFiles& files, Candidate& candidate,
                    const BlockCrcs* crcs = nullptr, const SpanCrcs* spans = nullptr);

// The best candidate per game with at least 500 per mille, in the order
// games first qualified; a higher accuracy replaces in place, and so does an
// equal one with fewer differences (DifferenceCount); otherwise the earlier
// candidate stays. Any number of games is kept.
std::vector<const Candidate*> SelectResults(const std::vector<Candidate>& candidates);

std::string FormatResultCodes(const ScoreSheet& sheet);
// How much its codes say differs: the counts in the codes added up, each
// code without a count ([cu], [hd1A2B], ...) taken as 1. An empty code text
// gives 0.
uint32_t DifferenceCount(const ScoreSheet& sheet);

// The line for the kept candidates: standard name, codes and " (accuracy)"
// per game, joined by " + "; "<unidentified>" for none.
std::string FormatResultLine(const std::vector<const Candidate*>& kept);

// The kept candidates as the games of the line, in the same order.
std::vector<GameMatch> GameMatches(const std::vector<const Candidate*>& kept);

// Identification of an image whose block CRCs were taken as it was loaded
// (LoadImageInto with BlockCrcs asked for the index's wholeBlocksFrom): no
// block of it is CRC'd twice.
IdentifyResult IdentifyImage(const tADF& image, const MatchIndex& index, const BlockCrcs& crcs);
// The same, taking the block CRCs the index needs first, in one pass.
IdentifyResult IdentifyImage(const tADF& image, const MatchIndex& index);
// The same result with every CRC-32 computed over the bytes it covers: each
// file's over its contents, each block's, range's and span's over its own.
IdentifyResult IdentifyImageDirect(const tADF& image, const MatchIndex& index);

}  // namespace moswit
