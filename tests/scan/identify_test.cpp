// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/identify.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

#include "base/asciicase.h"
#include "base/numbertext.h"
#include "database/attributes.h"
#include "database/standardname.h"
#include "image/crc32.h"
#include "support/adfbuilder.h"
#include "support/didbuilder.h"

namespace moswit {
namespace {

using test::AdfBuilder;
using test::Bytes;

uint32_t CrcOf(const Bytes& b) { return Crc32(b); }

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// An image built file by file and a database disk describing it.
class IdentifyTest : public ::testing::Test {
 protected:
  IdentifyTest() {
    game_ = &db_.Game("Test Game", "Test Soft");
    db_.Version(*game_, {1});
    disk_ = &db_.Disk(*game_, "Test Disk");
  }

  // Puts the file on the image and, with `attributes`, a record for it on the disk.
  void OnBoth(const std::string& path, const Bytes& contents, uint32_t attributes = kAttrGame) {
    builder_.AddFile(path, contents);
    Record(path, contents, attributes);
  }
  FileRecord& Record(const std::string& path, const Bytes& contents,
                     uint32_t attributes = kAttrGame) {
    FileRecord& r = AppendFile(*disk_);
    r.path = path;
    r.size = static_cast<uint32_t>(contents.size());
    r.crc32 = CrcOf(contents);
    r.attributes = attributes;
    return r;
  }
  RangeRecord& Range(uint32_t first, uint32_t last, uint32_t crc, uint32_t attributes = kAttrGame) {
    RangeRecord& r = AppendRange(*disk_);
    r.firstByte = first;
    r.lastByte = last;
    r.crc32 = crc;
    r.attributes = attributes;
    return r;
  }

  IdentifyResult Identify(const Bytes& image) {
    ImagePtr adf = LoadImageFromMemory("t.adf", image.data(), image.size());
    MatchIndexPtr index = BuildMatchIndex(db_.Database());
    return IdentifyImage(*adf, *index);
  }
  IdentifyResult Identify() { return Identify(builder_.Build()); }

  std::string Line(const std::string& codes, uint32_t accuracy) const {
    return StandardName(*game_, *disk_) + codes + " (" + IntToDec(accuracy) + ")";
  }

  test::DidBuilder db_;
  GameRecord* game_;
  DiskRecord* disk_;
  AdfBuilder builder_;
};

TEST_F(IdentifyTest, PerfectDiskScores1000WithNoCodes) {
  OnBoth("/s/startup-sequence", Text("game\n"));
  OnBoth("/game", test::PatternBytes(30'000, 1));
  OnBoth("/data/level", test::PatternBytes(5'000, 2), kAttrAddendum);
  const IdentifyResult result = Identify();
  EXPECT_TRUE(result.hadCandidates);
  EXPECT_EQ(result.line, Line("", 1000));
}

TEST_F(IdentifyTest, MissingGameFile) {
  OnBoth("/a", test::PatternBytes(100, 1));
  OnBoth("/b", test::PatternBytes(100, 2));
  Record("/c", test::PatternBytes(100, 3));
  EXPECT_EQ(Identify().line, Line("[mm1]", 666));
}

TEST_F(IdentifyTest, FileUnderAnotherPathIsMisnamed) {
  OnBoth("/a", test::PatternBytes(100, 1));
  builder_.AddFile("/elsewhere", test::PatternBytes(100, 2));
  Record("/b", test::PatternBytes(100, 2));
  EXPECT_EQ(Identify().line, Line("[mn1]", 1000));
}

TEST_F(IdentifyTest, FilesWithEqualContentsKeepTheirOwnPaths) {
  // Two empty files and two copies: each record finds the file at its path.
  OnBoth("/a", test::PatternBytes(100, 1));
  OnBoth("/empty1", Bytes{});
  OnBoth("/empty2", Bytes{});
  OnBoth("/copy1", test::PatternBytes(50, 5));
  OnBoth("/copy2", test::PatternBytes(50, 5));
  EXPECT_EQ(Identify().line, Line("", 1000));
}

TEST_F(IdentifyTest, CopyUnderAnotherPathStillCountsAsMisnamed) {
  // Without a file at the record's path, a file with its contents answers.
  OnBoth("/a", test::PatternBytes(100, 1));
  OnBoth("/empty1", Bytes{});
  Record("/empty2", Bytes{});
  EXPECT_EQ(Identify().line, Line("[mn1]", 1000));
}

// One record scored against files in a given walk order.
TEST(ScoreFiles, RecordTakesTheFileWithItsPathAndContentsFirst) {
  const Bytes level = test::PatternBytes(60, 7);
  struct Case {
    const char* what;
    const char* record;
    Bytes contents;
    std::vector<std::pair<std::string, Bytes>> files;
    const char* codes;
  };
  const Case cases[] = {
      {"empty files before a name holding '*'",
       "/chars/test*test*test.txt",
       {},
       {{"/empty1", {}}, {"/empty2", {}}, {"/chars/test*test*test.txt", {}}},
       "[x2]"},
      {"an earlier path the pattern matches, with other contents",
       "/LEVEL?",
       level,
       {{"/level1", test::PatternBytes(60, 8)}, {"/level2", level}},
       "[x1]"},
      {"only other contents under the pattern", "/LEVEL?", level, {{"/level1", {}}}, "[md1]"},
      {"the contents under another path only", "/LEVEL?", level, {{"/other", level}}, "[mn1]"},
  };
  const Bytes image = AdfBuilder().Build();
  ImagePtr adf = LoadImageFromMemory("t.adf", image.data(), image.size());
  const GameRecord game;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DiskRecord disk;
    FileRecord& record = AppendFile(disk);
    record.path = c.record;
    record.size = static_cast<uint32_t>(c.contents.size());
    record.crc32 = CrcOf(c.contents);
    record.attributes = kAttrGame;
    ImageFiles files;
    for (const auto& [path, contents] : c.files) {
      FileEntry& entry = files.files.emplace_back();
      entry.Path = path;
      entry.Size = static_cast<uint32_t>(contents.size());
      entry.Crc = CrcOf(contents);
      files.upperPaths.push_back(UpperCase(path));
    }
    Candidate candidate;
    candidate.disk = &disk;
    candidate.game = &game;
    ScoreCandidate(*adf, files, candidate);
    EXPECT_EQ(FormatResultCodes(candidate.sheet), c.codes);
    EXPECT_EQ(candidate.accuracy, 1000u);
  }
}

TEST_F(IdentifyTest, DifferentAndUnreadableFiles) {
  OnBoth("/a", test::PatternBytes(100, 1));
  builder_.AddFile("/b", test::PatternBytes(100, 9));
  Record("/b", test::PatternBytes(100, 2));
  EXPECT_EQ(Identify().line, Line("[md1]", 1000));

  // The same file with a broken data block: bad instead of different.
  Bytes image = builder_.Build();
  ImagePtr adf = LoadImageFromMemory("t.adf", image.data(), image.size());
  for (const FileEntry& f : ListFiles(*adf, false)) {
    if (f.Path == "/b") test::BreakChecksum(image, test::GetLong(image, f.HeaderBlock, 77));
  }
  EXPECT_EQ(Identify(image).line, Line("[mb1]", 1000));
}

TEST_F(IdentifyTest, DifferingStartupSequence) {
  OnBoth("/game", test::PatternBytes(100, 1));
  const Bytes changed = Text("changed\n");
  builder_.AddFile("/S/Startup-Sequence", changed);
  Record("/s/startup-sequence", Text("original\n"), kAttrPreGame);
  EXPECT_EQ(Identify().line, Line("[sd" + IntToHex(CrcOf(changed), 4) + "]", 1000));
}

TEST_F(IdentifyTest, SavegamesAreCountedAndXored) {
  OnBoth("/game", test::PatternBytes(100, 1));
  const Bytes save1 = test::PatternBytes(40, 2), save2 = test::PatternBytes(44, 3);
  builder_.AddFile("/Save1", save1);
  builder_.AddFile("/Save2", save2);
  Record("/SAVE*", test::PatternBytes(40, 4), kAttrGame | kAttrSavegame);
  const std::string xorHex = IntToHex(CrcOf(save1) ^ CrcOf(save2), 4);
  // Both savegames answer the one record: it counts once, and no extra files remain.
  EXPECT_EQ(Identify().line, Line("[sg2|" + xorHex + "]", 1000));
}

TEST_F(IdentifyTest, ExtraFilesOnTheImage) {
  OnBoth("/game", test::PatternBytes(100, 1));
  builder_.AddFile("/extra1", test::PatternBytes(10, 2));
  builder_.AddFile("/extra2", test::PatternBytes(10, 3));
  EXPECT_EQ(Identify().line, Line("[x2]", 1000));
}

TEST_F(IdentifyTest, MissingFilesByKind) {
  struct Case {
    const char* what;
    uint32_t attributes;
    std::string codes;
    uint32_t accuracy;
  };
  const Case cases[] = {
      {"cracktro", kAttrCracktro | kAttrGame, "[cu]", 500},
      {"trainer", kAttrTrainer, "[tu]", 500},
      {"releasetro", kAttrReleasetro | kAttrCracktro, "[ru]", 500},
      {"hd install", kAttrHdInstall, "[hu]", 500},
      {"docs", kAttrDocs | kAttrAddendum, "[du]", 500},
      {"optional", kAttrOptional | kAttrGame | kAttrCracktro, "", 500},
      {"boot only", kAttrBoot, "", 500},
      {"pre-game", kAttrPreGame | kAttrGame, "[pm1]", 500},
      {"unused", kAttrUnused, "[am1]", 500},
  };
  for (const Case& c : cases) {
    test::DidBuilder db;
    game_ = &db.Game("G");
    db.Version(*game_, {1});
    disk_ = &db.Disk(*game_, "D");
    std::swap(db_, db);
    builder_ = AdfBuilder();
    OnBoth("/present", test::PatternBytes(100, 1));
    Record("/missing", test::PatternBytes(100, 2), c.attributes);
    EXPECT_EQ(Identify().line, Line(c.codes, c.accuracy)) << c.what;
  }
}

TEST_F(IdentifyTest, ExcludedRecordNeverNominatesButIsScored) {
  builder_.AddFile("/a", test::PatternBytes(100, 1));
  Record("/a", test::PatternBytes(100, 1), kAttrGame | kAttrExclude);
  const IdentifyResult alone = Identify();
  EXPECT_FALSE(alone.hadCandidates);
  EXPECT_EQ(alone.line, kUnidentified);

  OnBoth("/b", test::PatternBytes(100, 2));
  EXPECT_EQ(Identify().line, Line("", 1000));
}

TEST_F(IdentifyTest, RangesAndHighscores) {
  Bytes image = builder_.Build();
  const Bytes block5(image.begin() + 5 * 512, image.begin() + 6 * 512);
  const Bytes block0(image.begin(), image.begin() + 512);
  Range(5 * 512, 6 * 512 - 1, CrcOf(block5));              // nominates and matches
  Range(0, 511, 0x12345678, kAttrHighscores | kAttrGame);  // differs, still matched
  const std::string hd = "[hd" + IntToHex(CrcOf(block0), 4) + "]";
  EXPECT_EQ(Identify(image).line, Line(hd, 1000));

  Range(0, 99, 0x1, kAttrGame);  // differs
  EXPECT_EQ(Identify(image).line, Line("[md1]" + hd, 666));
}

TEST_F(IdentifyTest, RangesPastTheEndOfATruncatedImage) {
  Bytes image = builder_.Build();
  image.resize(1000 * 512);
  const Bytes block5(image.begin() + 5 * 512, image.begin() + 6 * 512);
  Range(5 * 512, 6 * 512 - 1, CrcOf(block5));
  Range(6 * 512, 7 * 512 - 1, CrcOf(block5));
  Range(1200 * 512, 1201 * 512 - 1, 0, kAttrGame);  // no counter
  EXPECT_EQ(Identify(image).line, Line("", 666));
  Range(1300 * 512, 1301 * 512 - 1, 0, kAttrGame | kAttrOptional);  // missing
  EXPECT_EQ(Identify(image).line, Line("[mm1]", 500));
  // Ending on the last byte is inside; one further is past the end.
  const Bytes tail(image.end() - 512, image.end());
  Range(999 * 512, 1000 * 512 - 1, CrcOf(tail));
  EXPECT_EQ(Identify(image).line, Line("[mm1]", 600));
  Range(999 * 512 + 1, 1000 * 512, 0, kAttrGame | kAttrOptional);
  EXPECT_EQ(Identify(image).line, Line("[mm2]", 500));
}

TEST_F(IdentifyTest, ReversedRangeReadsNothingAndIsNotMatched) {
  Bytes image = builder_.Build();
  const Bytes block5(image.begin() + 5 * 512, image.begin() + 6 * 512);
  Range(5 * 512, 6 * 512 - 1, CrcOf(block5));
  Range(0xFFFFFF00u, 10, 0);
  EXPECT_EQ(Identify(image).line, Line("", 500));
}

TEST_F(IdentifyTest, NonDosImageIsFoundThroughBlocksOnly) {
  Bytes image = test::PatternBytes(901'120, 77);
  const Bytes block9(image.begin() + 9 * 512, image.begin() + 10 * 512);
  Range(9 * 512, 10 * 512 - 1, CrcOf(block9));
  Range(9 * 512, 9 * 512 + 99, 0);  // not a single block: never nominates
  EXPECT_EQ(Identify(image).line, Line("[md1]", 500));
}

// A disk known only by a range over more than one block, as a dump's
// whole image: found when the image's bytes there have its CRC, and with no
// file records it says nothing of the image's files (no [x]).
TEST_F(IdentifyTest, LongerRangesNominateTheirDisk) {
  builder_.AddFile("/a", test::PatternBytes(3'000, 1));
  builder_.AddFile("/b", test::PatternBytes(3'000, 2));
  const Bytes image = builder_.Build();
  const auto crcOf = [&image](uint32_t first, uint32_t last) {
    return CrcOf(Bytes(image.begin() + first, image.begin() + last + 1));
  };
  struct Case {
    const char* what;
    uint32_t first;
    uint32_t last;
    uint32_t crc;
    uint32_t attributes;
    const char* line;  // empty: unidentified
  };
  const uint32_t end = static_cast<uint32_t>(image.size()) - 1;
  // From the root block on, where the bytes differ (runs of one byte never
  // nominate).
  constexpr uint32_t kRoot = 880 * 512;
  const Case cases[] = {
      {"the whole image", 0, end, crcOf(0, end), 0, "(1000)"},
      {"off the block bounds", kRoot + 700, kRoot + 5'000, crcOf(kRoot + 700, kRoot + 5'000),
       kAttrGame, "(1000)"},
      {"513 bytes", kRoot + 100, kRoot + 612, crcOf(kRoot + 100, kRoot + 612), kAttrGame, "(1000)"},
      {"another CRC", 0, end, crcOf(0, end) ^ 1, 0, ""},
      {"marked Exclude", 0, end, crcOf(0, end), kAttrExclude, ""},
      {"512 bytes off the bounds", 100, 611, crcOf(100, 611), kAttrGame, ""},
      {"past the image's end", 0, end + 1, 0, 0, ""},
  };
  for (const Case& c : cases) {
    while (!disk_->ranges.Empty()) disk_->ranges.Unlink(&disk_->ranges[0]);
    Range(c.first, c.last, c.crc, c.attributes);
    const std::string expected =
        *c.line ? StandardName(*game_, *disk_) + " " + c.line : std::string(kUnidentified);
    EXPECT_EQ(Identify(image).line, expected) << c.what;
  }
}

// A range whose bytes are one value repeated (a blank or formatted track)
// tells no disk from another: it never nominates its disk, though it still
// counts once the disk is nominated otherwise.
TEST_F(IdentifyTest, RunsOfOneByteNeverNominate) {
  constexpr uint32_t kTrack = 11 * 512;
  Bytes image(20 * kTrack, 0);
  std::fill(image.begin() + kTrack, image.begin() + 2 * kTrack, 0xE5);  // a formatted track
  const auto crcOf = [&image](uint32_t track) {
    return CrcOf(Bytes(image.begin() + track * kTrack, image.begin() + (track + 1) * kTrack));
  };
  // The disk: every track of the image but the first, which is its own.
  Range(0, kTrack - 1, 0x12345678);
  for (uint32_t track = 1; track < 20; ++track) {
    Range(track * kTrack, (track + 1) * kTrack - 1, crcOf(track));
  }
  EXPECT_EQ(Identify(image).line, kUnidentified);
  EXPECT_FALSE(Identify(image).hadCandidates);
  // A track of its own nominates it, and then the blank tracks count.
  std::fill(image.begin(), image.begin() + kTrack, 7);
  image[5] = 1;
  disk_->ranges[0].crc32 = crcOf(0);
  EXPECT_EQ(Identify(image).line, Line("", 1000));
}

// Files first, then blocks, then spans, whatever the database order; among
// the disks of one span and CRC, database order.
TEST(Nomination, FilesThenBlocksThenSpans) {
  AdfBuilder builder;
  const Bytes contents = test::PatternBytes(2'000, 3);
  builder.AddFile("/file", contents);
  const Bytes image = builder.Build();
  const uint32_t end = static_cast<uint32_t>(image.size()) - 1;
  test::DidBuilder db;
  const auto disk = [&db](const char* name) -> DiskRecord& {
    GameRecord& game = db.Game(name);
    db.Version(game, {1});
    return db.Disk(game, "D");
  };
  const auto range = [](DiskRecord& d, uint32_t first, uint32_t last, uint32_t crc) {
    RangeRecord& r = AppendRange(d);
    r.firstByte = first;
    r.lastByte = last;
    r.crc32 = crc;
  };
  range(disk("Span A"), 0, end, Crc32(image));
  range(disk("Tail"), 4 * 512, end, CrcOf(Bytes(image.begin() + 4 * 512, image.end())));
  range(disk("Block"), 880 * 512, 881 * 512 - 1,
        CrcOf(Bytes(image.begin() + 880 * 512, image.begin() + 881 * 512)));
  range(disk("Span B"), 0, end, Crc32(image));
  FileRecord& file = AppendFile(disk("File"));
  file.path = "/file";
  file.size = static_cast<uint32_t>(contents.size());
  file.crc32 = CrcOf(contents);
  file.attributes = kAttrGame;

  ImagePtr adf = LoadImageFromMemory("t.adf", image.data(), image.size());
  const MatchIndexPtr index = BuildMatchIndex(db.Database());
  std::string order;
  for (const GameMatch& match : IdentifyImage(*adf, *index).games) {
    order += std::string(match.game->name.Value()) + ",";
  }
  EXPECT_EQ(order, "File,Block,Span A,Span B,Tail,");
}

TEST_F(IdentifyTest, CandidatesBelow500StillBeep) {
  OnBoth("/a", test::PatternBytes(100, 1));
  Record("/b", test::PatternBytes(100, 2));
  Record("/c", test::PatternBytes(100, 3));
  const IdentifyResult result = Identify();
  EXPECT_TRUE(result.hadCandidates);
  EXPECT_EQ(result.line, kUnidentified);
}

TEST_F(IdentifyTest, ManyQualifyingGamesAreAllShown) {
  const Bytes image = builder_.Build();
  const Bytes block0(image.begin(), image.begin() + 512);
  test::DidBuilder db;
  for (int g = 0; g < 300; ++g) {
    GameRecord& game = db.Game("Game " + std::to_string(g));
    db.Version(game, {1});
    RangeRecord& r = AppendRange(db.Disk(game, "D"));
    r.firstByte = 0;
    r.lastByte = 511;
    r.crc32 = CrcOf(block0);
    r.attributes = kAttrBoot;
  }
  ImagePtr adf = LoadImageFromMemory("t.adf", image.data(), image.size());
  MatchIndexPtr index = BuildMatchIndex(db.Database());
  const IdentifyResult result = IdentifyImage(*adf, *index);
  size_t joins = 0;
  for (size_t at = result.line.find(" + "); at != std::string::npos;
       at = result.line.find(" + ", at + 1))
    ++joins;
  EXPECT_EQ(joins, 299u);
  // The games of the line, in its order, each with its accuracy and codes.
  ASSERT_EQ(result.games.size(), 300u);
  EXPECT_EQ(result.games[299].game, &db.Database().games[299]);
  std::string line;
  for (const GameMatch& match : result.games) {
    line += (line.empty() ? "" : " + ") + StandardName(*match.game, *match.disk) + match.codes +
            " (" + IntToDec(match.accuracy) + ")";
  }
  EXPECT_EQ(line, result.line);
}

TEST(Accuracy, ExtendedPrecisionTruncatedTowardZero) {
  struct Case {
    uint32_t matched, total, expected;
  };
  const Case cases[] = {{1, 125, 7}, {63, 125, 503}, {1, 2, 500},     {2, 3, 666},
                        {0, 5, 0},   {7, 7, 1000},   {499, 1000, 499}};
  for (const Case& c : cases) {
    EXPECT_EQ(TruncatedRatio(c.matched, c.total, 1000), c.expected) << c.matched << "/" << c.total;
  }
}

TEST(Selection, BestPerGameInFirstQualifyingOrder) {
  GameRecord g1, g2;
  DiskRecord d[6];
  auto cand = [&](GameRecord& g, DiskRecord& disk, uint32_t acc) {
    Candidate c;
    c.game = &g;
    c.disk = &disk;
    c.accuracy = acc;
    return c;
  };
  const std::vector<Candidate> candidates = {
      cand(g1, d[0], 499),  // dropped
      cand(g1, d[1], 700),  // first of g1
      cand(g2, d[2], 500),  // exactly 500 stays
      cand(g1, d[3], 700),  // equal: the earlier stays
      cand(g1, d[4], 701),  // replaces d[1] in its place
      cand(g2, d[5], 400),
  };
  const auto kept = SelectResults(candidates);
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[0]->disk, &d[4]);
  EXPECT_EQ(kept[1]->disk, &d[2]);
  EXPECT_TRUE(SelectResults({cand(g1, d[0], 499)}).empty());
  EXPECT_EQ(FormatResultLine({}), kUnidentified);
}

// Equal accuracy: the candidate with fewer differences wins in place; equal
// differences keep the earlier one.
TEST(Selection, FewerDifferencesBreakATie) {
  GameRecord game;
  DiskRecord d[3];
  // Candidates of one game as disk, accuracy and differing files; the disk kept.
  const auto kept = [&](std::initializer_list<std::array<uint32_t, 3>> list) {
    std::vector<Candidate> candidates;
    for (const auto& [disk, accuracy, differing] : list) {
      Candidate& c = candidates.emplace_back();
      c.game = &game;
      c.disk = &d[disk];
      c.accuracy = accuracy;
      c.sheet.counters[kGroupGame][kDifferent] = differing;
    }
    return SelectResults(candidates).at(0)->disk - d;
  };
  EXPECT_EQ(kept({{0, 1000, 1}, {1, 1000, 0}, {2, 1000, 1}}), 1);  // fewer, later
  EXPECT_EQ(kept({{0, 800, 5}, {1, 800, 2}, {2, 800, 3}}), 1);     // the fewest
  EXPECT_EQ(kept({{0, 1000, 1}, {1, 1000, 1}}), 0);                // equal: the first
  EXPECT_EQ(kept({{0, 900, 0}, {1, 950, 3}}), 1);                  // accuracy comes first
}

// Three disks of one set that differ in one file: a perfect copy of disk 2
// scores 1000 against all three and is named disk 2.
TEST(Selection, PerfectCopyOfALaterDiskIsThatDisk) {
  test::DidBuilder db;
  GameRecord& game = db.Game("Set Game", "Set Soft");
  db.Version(game, {1, 2, 3});
  std::vector<Bytes> images;
  for (uint32_t n = 1; n <= 3; ++n) {
    DiskRecord& disk = db.Disk(game, "Disk " + std::to_string(n));
    AdfBuilder builder;
    // "/a" comes first in the walk (its hash slot is lower), so it nominates.
    const std::pair<std::string, Bytes> files[] = {{"/a", test::PatternBytes(4000, 1)},
                                                   {"/z", test::PatternBytes(500, 10 + n)}};
    for (const auto& [path, contents] : files) {
      builder.AddFile(path, contents);
      FileRecord& record = AppendFile(disk);
      record.path = path;
      record.size = static_cast<uint32_t>(contents.size());
      record.crc32 = CrcOf(contents);
      record.attributes = kAttrGame;
    }
    images.push_back(builder.Build());
  }
  const MatchIndexPtr index = BuildMatchIndex(db.Database());
  for (size_t n = 0; n < 3; ++n) {
    ImagePtr adf = LoadImageFromMemory("d.adf", images[n].data(), images[n].size());
    EXPECT_EQ(IdentifyImage(*adf, *index).line, StandardName(game, game.disks[n]) + " (1000)")
        << "disk " << n + 1;
  }
}

TEST(ResultCodes, EveryCodeInItsOrder) {
  ScoreSheet all;
  uint32_t n = 1;
  for (auto& group : all.counters) {
    for (auto& counter : group) counter = n++;
  }
  all.cracktroMissing = all.trainerMissing = all.releasetroMissing = true;
  all.hdInstallMissing = all.docsMissing = true;
  all.highscoresDiffer = true;
  all.highscoresCrc = 0xABCD1234;
  all.startupDiffers = true;
  all.startupCrc = 0x0000BEEF;
  all.savegameCount = 2;
  all.savegameCrcXor = 0x12340F0F;
  all.extraFiles = 3;
  // Counters are stored missing, bad, different, misnamed and written m, b, n, d.
  EXPECT_EQ(FormatResultCodes(all),
            "[pm1][pb2][pn4][pd3][mm5][mb6][mn8][md7][am9][ab10][an12][ad11]"
            "[am13][ab14][an16][ad15][cu][tu][ru][hu][du][hd1234][sdBEEF][sg2|0F0F][x3]");

  struct Case {
    const char* what;
    ScoreSheet sheet;
    std::string codes;
  };
  ScoreSheet negative;
  negative.extraFiles = -2;
  ScoreSheet addendumThenUnused;
  addendumThenUnused.counters[kGroupAddendum][kMissing] = 1;
  addendumThenUnused.counters[kGroupUnused][kMissing] = 1;
  ScoreSheet nameOnly;
  nameOnly.nameMismatchRequired = nameOnly.nameMismatchOptional = true;
  const Case cases[] = {
      {"perfect", ScoreSheet{}, ""},
      {"fewer files than answers", negative, ""},
      {"addendum then unused", addendumThenUnused, "[am1][am1]"},
      {"name mismatch shows nothing", nameOnly, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatResultCodes(c.sheet), c.codes) << c.what;
}

// The difference count of a sheet is what its written codes add up to: the
// number in each code (before "|" in [sg]), 1 for a code with none or with
// a CRC.
TEST(ResultCodes, DifferenceCountAddsUpTheWrittenCodes) {
  const auto countInCodes = [](const std::string& codes) {
    uint32_t sum = 0;
    for (size_t open = codes.find('['); open != std::string::npos;
         open = codes.find('[', open + 1)) {
      const std::string code = codes.substr(open + 1, codes.find(']', open) - open - 1);
      // Group codes ([pm1], [ad2], ...), [sg2|ABCD] and [x3] carry a count.
      const bool counted = std::string_view("pmax").find(code[0]) != std::string_view::npos ||
                           code.rfind("sg", 0) == 0;
      const size_t digits = code[0] == 'x' ? 1 : 2;
      sum += counted ? static_cast<uint32_t>(std::stoul(code.substr(digits))) : 1;
    }
    return sum;
  };
  std::mt19937 generator(27);
  const auto random = [&generator] { return static_cast<uint32_t>(generator()); };
  for (int round = 0; round < 500; ++round) {
    ScoreSheet sheet;
    for (auto& group : sheet.counters) {
      for (auto& counter : group) counter = random() % 4 == 0 ? random() % 20 : 0;
    }
    bool* const flags[] = {&sheet.cracktroMissing,  &sheet.trainerMissing, &sheet.releasetroMissing,
                           &sheet.hdInstallMissing, &sheet.docsMissing,    &sheet.highscoresDiffer,
                           &sheet.startupDiffers};
    for (bool* flag : flags) *flag = random() % 3 == 0;
    sheet.highscoresCrc = static_cast<uint32_t>(random());
    sheet.startupCrc = static_cast<uint32_t>(random());
    sheet.savegameCount = random() % 3 == 0 ? random() % 5 : 0;
    sheet.extraFiles = static_cast<int32_t>(random() % 9) - 4;
    const std::string codes = FormatResultCodes(sheet);
    EXPECT_EQ(DifferenceCount(sheet), countInCodes(codes)) << codes;
  }
}

}  // namespace
}  // namespace moswit
