// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/identify.h"

#include <unordered_map>
#include <unordered_set>

#include "base/numbertext.h"
#include "database/attributes.h"
#include "database/standardname.h"
#include "database/wildcard.h"
#include "image/crc32.h"
#include "image/geometry.h"

namespace moswit {

namespace {

constexpr char kStartupSequence[] = "/S/STARTUP-SEQUENCE";

void Count(ScoreSheet& sheet, uint32_t attributes, GroupCounter counter) {
  const int group = GroupOf(attributes);
  if (group >= 0) ++sheet.counters[static_cast<unsigned>(group)][counter];
}

// The volume name of the image, from its root block.
std::string VolumeName(const tADF& image) {
  const uint32_t root = RootBlock(image);
  if (BlockData(image, root) == nullptr) return {};
  return BlockName(image, root);
}

void ScoreRanges(const tADF& image, const DiskRecord& disk, const BlockCrcs* crcs,
                 const SpanCrcs* spans, ScoreSheet& sheet, uint32_t& total, uint32_t& matched) {
  for (const RangeRecord& range : disk.ranges) {
    ++total;
    if (range.lastByte < image.Size) {
      // A reversed range (only a damaged or hand-edited database holds one)
      // has no bytes to check and is not matched.
      if (range.firstByte > range.lastByte) continue;
      uint32_t crc;
      if (!spans || !spans->Find(range.firstByte, range.lastByte, crc)) {
        crc = RangeCrc(image, range.firstByte, range.lastByte, crcs);
      }
      if (crc == range.crc32) {
        ++matched;
      } else if (range.attributes & kAttrHighscores) {
        sheet.highscoresCrc = crc;
        sheet.highscoresDiffer = true;
        ++matched;
      } else {
        Count(sheet, range.attributes, kDifferent);
      }
    } else if (range.attributes & kAttrOptional) {
      Count(sheet, range.attributes, kMissing);
    }
  }
}

void RecordMissingFile(const FileRecord& record, ScoreSheet& sheet) {
  const uint32_t a = record.attributes;
  if (a & kAttrOptional) return;
  if (a & kAttrReleasetro) {
    sheet.releasetroMissing = true;
  } else if (a & kAttrCracktro) {
    sheet.cracktroMissing = true;
  } else if (a & kAttrTrainer) {
    sheet.trainerMissing = true;
  } else if (a & kAttrHdInstall) {
    sheet.hdInstallMissing = true;
  } else if (a & kAttrDocs) {
    sheet.docsMissing = true;
  } else {
    Count(sheet, a, kMissing);
  }
}

// Whether a file at a path the record's pattern matches holds the record's
// size and CRC.
bool HasExactFileAt(const ImageFiles& image, const std::string& pattern, bool literal,
                    const FileRecord& record) {
  for (size_t i = 0; i < image.files.size(); ++i) {
    const FileEntry& file = image.files[i];
    if (file.Size != record.size || file.Crc != record.crc32) continue;
    if (literal ? image.upperPaths[i] == pattern : WildcardMatch(pattern, image.upperPaths[i])) {
      return true;
    }
  }
  return false;
}

void ScoreFiles(const ImageFiles& image, const DiskRecord& disk, ScoreSheet& sheet, uint32_t& total,
                uint32_t& matched) {
  const FileList& files = image.files;
  for (const FileRecord& record : disk.files) {
    ++total;
    const std::string pattern = UpperCase(record.path.Value());
    const bool literal = pattern.find_first_of("?*") == std::string::npos;
    // A file at a path the record names, with the record's contents, is the
    // record's file, even when an earlier file has the same contents (empty
    // files, copies) or an earlier path matches the pattern too: neither
    // earlier file is this one misnamed or changed.
    if (HasExactFileAt(image, pattern, literal, record)) {
      --sheet.extraFiles;
      ++matched;
      continue;
    }
    bool found = false;
    for (size_t i = 0; i < files.size(); ++i) {
      const FileEntry& file = files[i];
      const bool exact = file.Size == record.size && file.Crc == record.crc32;
      const bool pathMatches =
          literal ? pattern == image.upperPaths[i] : WildcardMatch(pattern, image.upperPaths[i]);
      if (!exact && !pathMatches) continue;
      found = true;
      --sheet.extraFiles;
      if (!pathMatches) {
        Count(sheet, record.attributes, kMisnamed);
        break;
      }
      if (exact) break;
      if (file.Status != 0) {
        Count(sheet, record.attributes, kBad);
        break;
      }
      if (pattern == kStartupSequence) {
        sheet.startupDiffers = true;
        sheet.startupCrc = file.Crc;
        break;
      }
      if (record.attributes & kAttrHighscores) {
        sheet.highscoresCrc = file.Crc;
        sheet.highscoresDiffer = true;
        break;
      }
      if (record.attributes & kAttrSavegame) {
        // Every further file this record answers is a savegame too.
        ++sheet.savegameCount;
        sheet.savegameCrcXor ^= file.Crc;
        continue;
      }
      Count(sheet, record.attributes, kDifferent);
      break;
    }
    if (found) {
      ++matched;
    } else {
      RecordMissingFile(record, sheet);
    }
  }
}

void AppendCounter(std::string& codes, char group, char kind, uint32_t value) {
  if (value == 0) return;
  codes += '[';
  codes += group;
  codes += kind;
  codes += IntToDec(value);
  codes += ']';
}

}  // namespace

int GroupOf(uint32_t attributes) {
  if (attributes & kAttrPreGame) return kGroupPreGame;
  if (attributes & kAttrGame) return kGroupGame;
  if (attributes & kAttrAddendum) return kGroupAddendum;
  if (attributes & kAttrUnused) return kGroupUnused;
  return -1;
}

uint32_t TruncatedRatio(uint32_t numerator, uint32_t denominator, uint32_t scale) {
  if (denominator == 0) return 0;
  const long double quotient = static_cast<long double>(numerator) / denominator;
  return static_cast<uint32_t>(quotient * scale);
}

ImageFiles ReadImageFiles(const tADF& image, const BlockCrcs* crcs) {
  ImageFiles result;
  result.files = ListFiles(image, ImageIsFfs(image), crcs);
  result.upperPaths.reserve(result.files.size());
  for (const FileEntry& f : result.files) result.upperPaths.push_back(UpperCase(f.Path));
  return result;
}

std::vector<Candidate> FindCandidates(const tADF& image, const ImageFiles& files,
                                      const MatchIndex& index, const BlockCrcs* crcs,
                                      const SpanCrcs& spans) {
  std::vector<Candidate> candidates;
  std::unordered_set<const DiskRecord*> nominated;
  auto nominate = [&](std::span<const MatchEntry> hits) {
    for (const MatchEntry& hit : hits) {
      if (nominated.insert(hit.disk).second) {
        Candidate candidate;
        candidate.disk = hit.disk;
        candidate.game = hit.game;
        candidates.push_back(candidate);
      }
    }
  };
  if (!index.files.Empty()) {
    for (const FileEntry& file : files.files) nominate(index.files.Find(file.Crc, file.Size));
  }
  const uint32_t count = BlockCount(image);
  for (uint32_t b = 0; b < count; ++b) {
    if (!index.blocks.AnyAt(b)) continue;
    const uint32_t crc = crcs ? crcs->Crc(b) : Crc32(std::span(BlockData(image, b), kBlockSize));
    if (const auto hits = index.blocks.Find(crc, b * kBlockSize); !hits.empty()) nominate(hits);
  }
  for (size_t span = 0; span < index.spans.Spans().size(); ++span) {
    if (spans.Within(span)) nominate(index.spans.Find(spans.Crc(span), span));
  }
  return candidates;
}

void ScoreCandidate(const tADF& image, const ImageFiles& files, Candidate& candidate,
                    const BlockCrcs* crcs, const SpanCrcs* spans) {
  ScoreSheet& sheet = candidate.sheet;
  sheet = ScoreSheet{};
  const DiskRecord& disk = *candidate.disk;

  if (disk.name.Present() && UpperCase(VolumeName(image)) != UpperCase(disk.name.Value())) {
    (disk.nameMustMatch == 1 ? sheet.nameMismatchRequired : sheet.nameMismatchOptional) = true;
  }
  uint32_t total = 0;
  uint32_t matched = 0;
  ScoreRanges(image, disk, crcs, spans, sheet, total, matched);
  if (!disk.files.Empty()) sheet.extraFiles = static_cast<int32_t>(files.files.size());
  ScoreFiles(files, disk, sheet, total, matched);
  candidate.accuracy = TruncatedRatio(matched, total, 1000);
}

std::string FormatResultCodes(const ScoreSheet& sheet) {
  static constexpr char kGroupLetters[kGroupCount] = {'p', 'm', 'a', 'a'};
  std::string codes;
  for (unsigned g = 0; g < kGroupCount; ++g) {
    const auto& c = sheet.counters[g];
    AppendCounter(codes, kGroupLetters[g], 'm', c[kMissing]);
    AppendCounter(codes, kGroupLetters[g], 'b', c[kBad]);
    AppendCounter(codes, kGroupLetters[g], 'n', c[kMisnamed]);
    AppendCounter(codes, kGroupLetters[g], 'd', c[kDifferent]);
  }
  if (sheet.cracktroMissing) codes += "[cu]";
  if (sheet.trainerMissing) codes += "[tu]";
  if (sheet.releasetroMissing) codes += "[ru]";
  if (sheet.hdInstallMissing) codes += "[hu]";
  if (sheet.docsMissing) codes += "[du]";
  if (sheet.highscoresDiffer) codes += "[hd" + IntToHex(sheet.highscoresCrc, 4) + "]";
  if (sheet.startupDiffers) codes += "[sd" + IntToHex(sheet.startupCrc, 4) + "]";
  if (sheet.savegameCount != 0) {
    codes += "[sg" + IntToDec(sheet.savegameCount) + "|" + IntToHex(sheet.savegameCrcXor, 4) + "]";
  }
  // More answers than image files (several records answering one file) is
  // no extra file: nothing is written for a value below 1.
  if (sheet.extraFiles > 0) codes += "[x" + IntToDec(static_cast<uint32_t>(sheet.extraFiles)) + "]";
  return codes;
}

uint32_t DifferenceCount(const ScoreSheet& sheet) {
  // The same conditions as FormatResultCodes, code by code.
  uint64_t count = 0;
  for (const auto& group : sheet.counters) {
    for (const uint32_t value : group) count += value;
  }
  count += sheet.cracktroMissing + sheet.trainerMissing + sheet.releasetroMissing +
           sheet.hdInstallMissing + sheet.docsMissing + sheet.highscoresDiffer +
           sheet.startupDiffers;
  count += sheet.savegameCount;
  if (sheet.extraFiles > 0) count += static_cast<uint32_t>(sheet.extraFiles);
  return count > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(count);
}

namespace {

IdentifyResult Identify(const tADF& image, const MatchIndex& index, const BlockCrcs* crcs) {
  if (crcs && !crcs->CoversImage(image)) crcs = nullptr;
  const ImageFiles files = ReadImageFiles(image, crcs);
  SpanCrcs spans;
  spans.Take(image, index.spans, crcs);
  std::vector<Candidate> candidates = FindCandidates(image, files, index, crcs, spans);

  IdentifyResult result;
  result.hadCandidates = !candidates.empty();
  for (Candidate& candidate : candidates) ScoreCandidate(image, files, candidate, crcs, &spans);

  const std::vector<const Candidate*> kept = SelectResults(candidates);
  result.line = FormatResultLine(kept);
  result.games = GameMatches(kept);
  return result;
}

}  // namespace

IdentifyResult IdentifyImage(const tADF& image, const MatchIndex& index, const BlockCrcs& crcs) {
  return Identify(image, index, &crcs);
}

IdentifyResult IdentifyImage(const tADF& image, const MatchIndex& index) {
  BlockCrcs crcs;
  crcs.TakeWholeAt(index.wholeBlocksFrom);
  crcs.TakeAll(image);
  return Identify(image, index, &crcs);
}

IdentifyResult IdentifyImageDirect(const tADF& image, const MatchIndex& index) {
  return Identify(image, index, nullptr);
}

std::vector<const Candidate*> SelectResults(const std::vector<Candidate>& candidates) {
  std::vector<const Candidate*> kept;
  std::vector<uint32_t> keptDifferences;
  std::unordered_map<const GameRecord*, size_t> slotOfGame;
  for (const Candidate& candidate : candidates) {
    if (candidate.accuracy < kQualifyingAccuracy) continue;
    const uint32_t differences = DifferenceCount(candidate.sheet);
    auto [slot, isNew] = slotOfGame.try_emplace(candidate.game, kept.size());
    if (isNew) {
      kept.push_back(&candidate);
      keptDifferences.push_back(differences);
      continue;
    }
    const Candidate& held = *kept[slot->second];
    uint32_t& heldDifferences = keptDifferences[slot->second];
    // Disks of one set that differ in a file or two score alike against a
    // perfect copy of any of them; the one it matches exactly differs least.
    if (held.accuracy < candidate.accuracy ||
        (held.accuracy == candidate.accuracy && differences < heldDifferences)) {
      kept[slot->second] = &candidate;
      heldDifferences = differences;
    }
  }
  return kept;
}

std::string FormatResultLine(const std::vector<const Candidate*>& kept) {
  if (kept.empty()) return kUnidentified;
  std::string line;
  for (const Candidate* entry : kept) {
    if (!line.empty()) line += " + ";
    line += StandardName(*entry->game, *entry->disk);
    line += FormatResultCodes(entry->sheet);
    line += " (" + IntToDec(entry->accuracy) + ")";
  }
  return line;
}

std::vector<GameMatch> GameMatches(const std::vector<const Candidate*>& kept) {
  std::vector<GameMatch> games;
  games.reserve(kept.size());
  for (const Candidate* entry : kept) {
    games.push_back({entry->game, entry->disk, entry->accuracy, FormatResultCodes(entry->sheet),
                     DifferenceCount(entry->sheet)});
  }
  return games;
}

}  // namespace moswit
