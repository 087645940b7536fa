// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "base/platformfile.h"
#include "database/didreader.h"
#include "database/didwriter.h"
#include "support/didbuilder.h"
#include "support/tempdir.h"

namespace moswit {
namespace {

using test::Crlf;

std::string DataFile(const std::string& name) {
  std::ifstream in(std::string(MOSWIT_DATABASE_DATA) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The tokens of a DID text, each as it was written (quotes kept).
std::vector<std::string> RawTokens(const std::string& text) {
  std::vector<std::string> tokens;
  size_t i = 0;
  while (i < text.size()) {
    if (static_cast<unsigned char>(text[i]) <= 32) {
      ++i;
    } else if (text[i] == '"') {
      size_t close = text.find('"', i + 1);
      tokens.push_back(text.substr(i, close + 1 - i));
      i = close + 1;
    } else {
      size_t start = i;
      while (i < text.size() && static_cast<unsigned char>(text[i]) > 32) ++i;
      tokens.push_back(text.substr(start, i - start));
    }
  }
  return tokens;
}

// The same tokens with other separators and quotes: line ends of both
// kinds, tabs, blank lines, every token alone on a line or all on one, and
// unquoted tokens (keywords, numbers, parentheses) quoted now and then.
std::string Respaced(const std::string& text, uint32_t seed) {
  static constexpr const char* kSeparators[] = {" ", "\n", "\r\n", "\t", " \r\n\r\n  ", "\x01"};
  std::mt19937 random(seed);
  std::string out;
  for (const std::string& token : RawTokens(text)) {
    bool quote = token[0] != '"' && random() % 3 == 0;
    out += quote ? "\"" + token + "\"" : token;
    out += kSeparators[random() % std::size(kSeparators)];
  }
  return out;
}

TEST(DidFile, WorkedExampleReadsToItsTree) {
  auto database = ParseDatabase(DataFile("worked_example.did"));
  EXPECT_EQ(database->name.Value(), "New Database [games.did]");
  EXPECT_EQ(database->creator.Value(), "New Creator");
  EXPECT_EQ(database->date, (ReleaseDate{2004, 5, 7}));
  ASSERT_EQ(database->games.Size(), 1u);
  const GameRecord& game = database->games[0];
  EXPECT_EQ(game.name.Value(), "[New Game]");
  EXPECT_EQ(game.releaseDate, (ReleaseDate{1991, 3, 15}));
  EXPECT_EQ(game.publisher.Value(), "Publisher");
  ASSERT_EQ(game.versions.Size(), 1u);
  const VersionRecord& version = game.versions[0];
  EXPECT_EQ(version.versionName.Value(), "[New Version]");
  EXPECT_EQ(version.memChip, 1024);
  EXPECT_EQ(version.languages, kLangEn);
  EXPECT_EQ(DiskCount(version.diskOrder), 2u);
  EXPECT_EQ(version.diskOrder[1], 2);
  EXPECT_EQ(version.compat, DefaultCompatInfo());
  ASSERT_EQ(game.disks.Size(), 2u);
  EXPECT_EQ(game.disks[0].nameMustMatch, 0);
  EXPECT_EQ(game.disks[1].nameMustMatch, 1);
  ASSERT_EQ(game.disks[0].files.Size(), 1u);
  const FileRecord& file = game.disks[0].files[0];
  EXPECT_EQ(file.path.Value(), "/s/startup-sequence");
  EXPECT_EQ(file.size, 20476u);
  EXPECT_EQ(file.crc32, 0x0A1B2C3Du);
  EXPECT_EQ(file.attributes, kAttrBoot);
  ASSERT_EQ(game.disks[1].ranges.Size(), 1u);
  EXPECT_EQ(game.disks[1].ranges[0].lastByte, 0x3FFu);
  EXPECT_EQ(game.disks[1].ranges[0].crc32, 0x89ABCDEFu);
}

TEST(DidFile, WorkedExampleWritesBackByteForByte) {
  std::string text = DataFile("worked_example.did");
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(FormatDatabase(*ParseDatabase(text)), text);
}

TEST(DidFile, EmptyDatabaseIsTheInfoLine) {
  DatabaseInfo database;
  EXPECT_EQ(FormatDatabase(database), "info ( name \"\" creator \"\" date 00000 )\r\n");
  EXPECT_EQ(*ParseDatabase(FormatDatabase(database)), database);
  EXPECT_EQ(*ParseDatabase(""), database);
}

TEST(DidFile, NewVersionWritesItsDefaultsAndReadsBack) {
  test::DidBuilder builder;
  GameRecord& game = builder.Game("G");
  AppendVersion(game).parentVersion = 3;
  std::string text = FormatDatabase(builder.Database());
  EXPECT_NE(text.find(Crlf("version ( \n"
                           "vnam \"[New Version]\"\n"
                           "gchp 00\n"
                           "memc 1024\n"
                           "dord 00\n"
                           "comp 0AAA2810AA2A000200020000000AAA500811608002150B0F02\n"
                           ")\n")),
            std::string::npos)
      << text;
  auto read = ParseDatabase(text);
  EXPECT_EQ(read->games[0].versions[0].parentVersion, 0);
  game.versions[0].parentVersion = 0;
  EXPECT_EQ(*read, builder.Database());
}

// What the writer puts on the lines of one game.
TEST(DidFile, FieldLinesFollowTheirRules) {
  struct Case {
    const char* what;
    void (*fill)(GameRecord&);
    const char* present;  // a line the text holds, or null
    const char* absent;   // a keyword that must not appear, or null
  };
  const Case cases[] = {
      {"release date",
       [](GameRecord& g) {
         g.releaseDate = {1991, 3, 5};
       },
       "rdat 19910305\r\n", nullptr},
      {"year 0 drops the date",
       [](GameRecord& g) {
         g.releaseDate = {0, 3, 0};
       },
       nullptr, "rdat"},
      {"range of blocks 2 to 3",
       [](GameRecord& g) {
         RangeRecord& r = AppendRange(AppendDisk(g));
         r.firstByte = 2 * 512;
         r.lastByte = 3 * 512 + 511;
       },
       "range ( rbeg 00000400 rend 000007FF crcv 00000000 info 00000000 )\r\n", nullptr},
      {"disk order 1, 2, 3",
       [](GameRecord& g) {
         VersionRecord& v = g.versions.Append();
         v.languages = 1;
         v.diskOrder[0] = 1, v.diskOrder[1] = 2, v.diskOrder[2] = 3;
       },
       "dord 010203\r\n", "lang"},
      {"disk order 1, 2, 10",
       [](GameRecord& g) {
         VersionRecord& v = g.versions.Append();
         v.diskOrder[0] = 1, v.diskOrder[1] = 2, v.diskOrder[2] = 10;
       },
       "dord 01020A\r\n", nullptr},
      {"entries after a 0 are not the version's",
       [](GameRecord& g) {
         VersionRecord& v = g.versions.Append();
         v.diskOrder[0] = 1, v.diskOrder[2] = 3;
       },
       "dord 01\r\n", nullptr},
      {"languages 0 and no memory", [](GameRecord& g) { g.versions.Append(); }, "lang 00000000\r\n",
       "mem"},
      {"fixes and trainer",
       [](GameRecord& g) {
         VersionRecord& v = g.versions.Append();
         v.fixes = kFixAga | kFix680x0;
         v.trainer = 0x0305;
         v.memSlow = 512;
       },
       "fixd 05\r\ntrnd 0305\r\n", nullptr},
      {"mems without memc", [](GameRecord& g) { g.versions.Append().memSlow = 512; },
       "gchp 00\r\nmems 512\r\n", "memc"},
      {"no fixes, no trainer", [](GameRecord& g) { g.versions.Append(); }, nullptr, "fixd"},
      {"file fields in order",
       [](GameRecord& g) {
         FileRecord& f = AppendFile(AppendDisk(g));
         f.path = "/c/run";
         f.description = "two words";
         f.size = 4;
       },
       "file ( fnam \"/c/run\" desc \"two words\" size 4 crcv 00000000 info 00000000 )\r\n",
       nullptr},
      {"a name that must match, but no name",
       [](GameRecord& g) { g.disks.Append().nameMustMatch = 1; }, "disk ( \r\ndnmm \"\"\r\n)\r\n",
       nullptr},
      {"comments of the disk",
       [](GameRecord& g) {
         DiskRecord& d = g.disks.Append();
         d.comment = "x";
       },
       "disk ( \r\ncmmt \"x\"\r\n)\r\n", "dnam"},
  };
  for (const Case& c : cases) {
    test::DidBuilder builder;
    GameRecord& game = builder.Game("G");
    c.fill(game);
    std::string text = FormatDatabase(builder.Database());
    if (c.present) {
      EXPECT_NE(text.find(c.present), std::string::npos) << c.what << "\n" << text;
    }
    if (c.absent) {
      EXPECT_EQ(text.find(c.absent), std::string::npos) << c.what << "\n" << text;
    }
  }
}

TEST(DidFile, ReleaseGroupAndCrackerStayApart) {
  test::DidBuilder builder;
  VersionRecord& version = builder.Version(builder.Game("G"), {1});
  version.releasedBy = "Releasers";
  auto read = ParseDatabase(FormatDatabase(builder.Database()));
  EXPECT_EQ(read->games[0].versions[0].releasedBy.Value(), "Releasers");
  EXPECT_FALSE(read->games[0].versions[0].crackedBy.Present());
}

// Numbers and structured values as the reader takes them.
TEST(DidFile, ValuesAreReadLeniently) {
  auto version = [](const std::string& fields) {
    auto database = ParseDatabase("soft ( version ( " + fields + " ) )");
    return std::move(database->games[0].versions[0]);
  };
  EXPECT_EQ(version("fixd 3").fixes, 3);
  EXPECT_EQ(version("memc 51x2").memChip, 512);
  EXPECT_EQ(version("memc 70000").memChip, static_cast<uint16_t>(70000));
  EXPECT_EQ(version("gchp 1FF").chipset, 0xFF);
  EXPECT_EQ(version("lang 3").languages, 3u);
  EXPECT_EQ(version("").languages, kLangEn);
  EXPECT_EQ(version("rdat 1991").releaseDate, (ReleaseDate{1991, 0, 0}));
  EXPECT_EQ(version("rdat 1993031").releaseDate, (ReleaseDate{1993, 3, 1}));
  EXPECT_EQ(version("rdat 0500x0x1").releaseDate, (ReleaseDate{500, 0, 1}));

  DiskOrder order = version("dord 0102030").diskOrder;
  EXPECT_EQ(order[0], 1);
  EXPECT_EQ(order[2], 3);
  EXPECT_EQ(order[3], 0);
  // A second "dord" overwrites its own entries only.
  order = version("dord 010203 dord 09").diskOrder;
  EXPECT_EQ(order[0], 9);
  EXPECT_EQ(order[1], 2);
  // More pairs than entries: the rest is dropped.
  order = version("dord " + std::string(2 * 300, '7')).diskOrder;
  EXPECT_EQ(order[255], 0x77);

  CompatInfo compat = version("comp 0AAA2810AA2A00020002000000").compat;
  EXPECT_EQ(compat.cpu, 0x0AAA);
  EXPECT_EQ(compat.specialFastKb, 0x0000);
  EXPECT_EQ(compat.kickstart, 0);
  compat = version("comp 0AAA2810AA2A000200020000000AAA500811608002150B0F").compat;
  EXPECT_EQ(compat.winUae, 0x11608002u);
  EXPECT_EQ(compat.winFellow, 0x150B0Fu);
  EXPECT_EQ(version("").compat, CompatInfo{});
}

TEST(DidFile, UnknownKeywordsAndTheirValuesAreSkipped) {
  auto database = ParseDatabase(
      "soft ( zzzz \"text\" name \"G\" Name \"x\" wxyz publ \"P\" crcv 1234 "
      "version ( size 12 vnam \"V\" fnam \"f\" ) disk ( dnam \"D\" gchp 01 file ( info 7 zz vnam "
      "\"x\" ) ) )");
  const GameRecord& game = database->games[0];
  EXPECT_EQ(game.name.Value(), "G");  // "Name" is not "name"
  EXPECT_EQ(game.publisher.Value(), "P");
  EXPECT_EQ(game.versions[0].versionName.Value(), "V");
  EXPECT_EQ(game.disks[0].name.Value(), "D");
  EXPECT_EQ(game.disks[0].files[0].attributes, 7u);
  EXPECT_FALSE(game.disks[0].files[0].path.Present());
  EXPECT_EQ(game.versions.Size(), 1u);
}

// A file an editor saved with a byte order mark keeps its first record.
TEST(DidFile, AByteOrderMarkIsPassedOver) {
  test::TempDir dir;
  const std::filesystem::path path = dir.Path() / "marked.did";
  std::ofstream(path, std::ios::binary) << "\xEF\xBB\xBFinfo ( name \"N\" )\r\n";
  const DidReadResult read = ReadDatabase(path);
  ASSERT_TRUE(read.database);
  EXPECT_EQ(read.database->name.Value(), "N");
  EXPECT_FALSE(read.skips.Any());
}

TEST(DidFile, FieldAtTheEndOfTheFileGetsAnEmptyValue) {
  auto database = ParseDatabase("soft ( name \"G\" version ( memc 5 ) name");
  EXPECT_FALSE(database->games[0].name.Present());
  database = ParseDatabase("soft ( version ( memc 5 memc");
  EXPECT_EQ(database->games[0].versions[0].memChip, 0);
}

TEST(DidFile, EmptyQuotedTextIsAnEmptyValue) {
  auto database = ParseDatabase("info ( name \"\" creator \"\" date 20010203 )\r\nsoft (\r\n)\r\n");
  EXPECT_FALSE(database->name.Present());
  EXPECT_FALSE(database->creator.Present());
  EXPECT_EQ(database->date, (ReleaseDate{2001, 2, 3}));
  EXPECT_EQ(database->games.Size(), 1u);
}

TEST(DidFile, QuotedTokensEndAtTheQuoteOrTheLine) {
  auto database =
      ParseDatabase("soft ( name \"two words\"publ \"to the end\r\ncode x\"y\" dsgn \"(\" )");
  const GameRecord& game = database->games[0];
  EXPECT_EQ(game.name.Value(), "two words");
  EXPECT_EQ(game.publisher.Value(), "to the end");
  EXPECT_EQ(game.code.Value(), "x'y'");  // a quote inside a text cannot be written back
  EXPECT_EQ(game.design.Value(), "(");
}

TEST(DidFile, LongLinesAreReadWhole) {
  std::string words;
  for (int i = 0; i < 2000; ++i) words += "unknown ";
  std::string description(255, 'd');
  auto database =
      ParseDatabase("soft ( " + words + "name \"G\" disk ( file ( fnam \"" + std::string(255, 'p') +
                    "\" desc \"" + description + "\" size 9 ) ) )");
  ASSERT_EQ(database->games.Size(), 1u);
  EXPECT_EQ(database->games[0].name.Value(), "G");
  const FileRecord& file = database->games[0].disks[0].files[0];
  EXPECT_EQ(file.description.Value(), description);
  EXPECT_EQ(file.size, 9u);
}

TEST(DidFile, LineEndsAndLayoutDoNotChangeTheTree) {
  std::string text = DataFile("worked_example.did");
  auto expected = ParseDatabase(text);
  std::string lf;
  for (char c : text) {
    if (c != '\r') lf.push_back(c);
  }
  DidSkips skips;
  EXPECT_EQ(*ParseDatabase(lf, &skips), *expected);
  for (uint32_t seed = 0; seed < 20; ++seed) {
    EXPECT_EQ(*ParseDatabase(Respaced(text, seed), &skips), *expected) << seed;
  }
  // Hand-made layouts of known keywords are understood whole.
  EXPECT_EQ(skips, DidSkips{});
}

TEST(DidFile, RandomDatabasesRoundTrip) {
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    auto database = test::RandomDatabase(seed);
    std::string text = FormatDatabase(*database);
    DidSkips skips;
    auto read = ParseDatabase(text, &skips);
    ASSERT_EQ(*read, *database) << "seed " << seed << "\n" << text;
    ASSERT_EQ(FormatDatabase(*read), text) << "seed " << seed;
    ASSERT_EQ(*ParseDatabase(Respaced(text, seed), &skips), *database) << "seed " << seed;
    ASSERT_FALSE(skips.Any()) << "seed " << seed << ": " << DidSkipWarning("", skips);
  }
}

// The fixtures, the samples the build writes and their rewrites: nothing is
// left out, so none of them is ever warned about.
TEST(DidFile, FixturesAndSamplesReadWithoutSkips) {
  std::vector<std::string> texts = {DataFile("worked_example.did"), DataFile("standard_names.did"),
                                    FileText(MOSWIT_SAMPLE_DID)};
  for (const std::string& text : texts) {
    ASSERT_FALSE(text.empty());
    DidSkips skips;
    const std::string again = FormatDatabase(*ParseDatabase(text, &skips));
    ParseDatabase(again, &skips);
    EXPECT_FALSE(skips.Any()) << DidSkipWarning("", skips);
  }
}

// Records out of place are dropped; nothing lands in another record.
TEST(DidFile, MisplacedRecordsAreIgnored) {
  struct Case {
    const char* text;
    size_t games, versions, disks, files, ranges;
  };
  const Case cases[] = {
      {"version ( vnam \"V\" ) disk ( file ( size 1 ) )", 0, 0, 0, 0, 0},
      {"soft ( file ( size 1 ) range ( rbeg 1 ) )", 1, 0, 0, 0, 0},
      {"soft ( version ( file ( size 1 ) ) )", 1, 1, 0, 0, 0},
      {"soft ( disk ( ) ) soft ( version ( file ( size 1 ) ) )", 2, 1, 1, 0, 0},
      {"soft ( soft ( version ( ) ) )", 1, 0, 0, 0, 0},
      {") ) ) soft ( version ( ) )", 0, 0, 0, 0, 0},
      {"soft ( ( ( ( ( disk ( file ( ) ) ) ) ) ) )", 1, 0, 0, 0, 0},
      {"soft ( disk ( file ( ( size 5 ( crcv 1 ) ) ) ) ) )", 1, 0, 1, 1, 0},
      {"soft ( disk ( range ( range ( file ( ) ) ) ) )", 1, 0, 1, 0, 1},
      {"info ( version ( ) disk ( ) )", 0, 0, 0, 0, 0},
      {"soft ( disk ( ) ( ( file ( ) ) ) )", 1, 0, 1, 0, 0},
      {"( soft ( ) )", 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    auto database = ParseDatabase(c.text);
    size_t versions = 0, disks = 0, files = 0, ranges = 0;
    for (const GameRecord& game : database->games) {
      versions += game.versions.Size();
      disks += game.disks.Size();
      for (const DiskRecord& disk : game.disks) {
        files += disk.files.Size();
        ranges += disk.ranges.Size();
      }
    }
    EXPECT_EQ(database->games.Size(), c.games) << c.text;
    EXPECT_EQ(versions, c.versions) << c.text;
    EXPECT_EQ(disks, c.disks) << c.text;
    EXPECT_EQ(files, c.files) << c.text;
    EXPECT_EQ(ranges, c.ranges) << c.text;
  }
  // Fields deeper than a file do not reach it.
  auto database = ParseDatabase("soft ( disk ( file ( ( size 5 ) crcv 7 ) ) )");
  EXPECT_EQ(database->games[0].disks[0].files[0].size, 0u);
  EXPECT_EQ(database->games[0].disks[0].files[0].crc32, 7u);
}

// Random flips and cuts of good files: the reader takes whatever it gets.
TEST(DidFile, MutatedFilesNeverBreakTheReader) {
  std::string good = FormatDatabase(*test::RandomDatabase(7));
  std::mt19937 random(11);
  for (int round = 0; round < 500; ++round) {
    std::string text = good;
    int flips = 1 + static_cast<int>(random() % 20);
    for (int f = 0; f < flips; ++f) {
      size_t at = random() % text.size();
      static constexpr char kBytes[] = {'(', ')', '"', ' ', '\n', '\0', 'x', '\xff'};
      text[at] = random() % 2 ? kBytes[random() % std::size(kBytes)] : static_cast<char>(random());
    }
    if (random() % 3 == 0) text.resize(random() % text.size());
    auto database = ParseDatabase(text);
    ASSERT_NE(database, nullptr);
    std::string again = FormatDatabase(*database);
    EXPECT_NE(ParseDatabase(again), nullptr);
  }
}

TEST(DidFile, SaveAndReadAFile) {
  test::TempDir dir;
  auto database = test::RandomDatabase(5);
  std::filesystem::path path = dir.Path() / "games.did";
  ASSERT_FALSE(WriteDatabase(*database, path));
  EXPECT_EQ(FileText(path), FormatDatabase(*database));
  DidReadResult read = ReadDatabase(path);
  ASSERT_TRUE(read.database) << FormatFileError(read.error);
  EXPECT_EQ(*read.database, *database);

  // Saving again replaces the file and leaves nothing else in the folder.
  auto other = test::RandomDatabase(6);
  ASSERT_FALSE(WriteDatabase(*other, path));
  EXPECT_EQ(FileText(path), FormatDatabase(*other));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// Large files are read a piece at a time; values may stand on the line
// after their keyword, and a line may be longer than a piece.
TEST(DidFile, LargeFilesReadAsTheirText) {
  test::TempDir dir;
  test::RandomShape big;
  big.maxGames = 1000;
  std::string text = Respaced(FormatDatabase(*test::RandomDatabase(8, big)), 8);
  std::string longLine = "soft ( ";
  while (longLine.size() < 3'000'000) longLine += "unknown words ";
  text += longLine + "name \"Last\" )";
  ASSERT_GT(text.size(), 4'000'000u);
  std::filesystem::path path = dir.Path() / "large.did";
  std::ofstream(path, std::ios::binary) << text;

  DidReadResult read = ReadDatabase(path);
  ASSERT_TRUE(read.database) << FormatFileError(read.error);
  DidSkips skips;
  EXPECT_EQ(*read.database, *ParseDatabase(text, &skips));
  EXPECT_EQ(read.database->games[read.database->games.Size() - 1].name.Value(), "Last");
  // Lines are counted across the pieces the file is read in.
  EXPECT_EQ(read.skips, skips);
  EXPECT_EQ(read.skips.count, (longLine.size() - 7) / 7);  // "unknown" and "words"
  EXPECT_EQ(read.skips.firstLine,
            static_cast<uint64_t>(std::count(text.begin(), text.end(), '\n') + 1));
}

TEST(DidFile, FilesThatCannotBeReadOrWrittenGiveThePlatformError) {
  test::TempDir dir;
  DidReadResult read = ReadDatabase(dir.Path() / "missing.did");
  EXPECT_FALSE(read.database);
  EXPECT_EQ(FormatFileError(read.error),
            (dir.Path() / "missing.did").string() + ": No such file or directory");
  read = ReadDatabase(dir.Path());
  EXPECT_FALSE(read.database);
  EXPECT_EQ(read.error.message, "Is a directory");

  const auto error = WriteDatabase(DatabaseInfo{}, dir.Path() / "no" / "such.did");
  ASSERT_TRUE(error);
  EXPECT_EQ(FormatFileError(*error),
            (dir.Path() / "no" / "such.did").string() + ": No such file or directory");
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "no"));
  // Nothing but a regular file is ever replaced.
  EXPECT_EQ(WriteDatabase(DatabaseInfo{}, dir.Path())->message, kNotRegularFile);
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path()));
}

// Every name of a file keeps it through a save: a hard link stays the same
// file, a symbolic link stays a link, and a shorter text leaves nothing of
// the longer one behind.
TEST(DidFile, SavingKeepsHardAndSymbolicLinks) {
  namespace fs = std::filesystem;
  test::TempDir dir;
  const fs::path path = dir.Path() / "games.did";
  ASSERT_FALSE(WriteDatabase(*test::RandomDatabase(5), path));
  const fs::path other = dir.Path() / "other name.did";
  fs::create_hard_link(path, other);
  std::vector<fs::path> names = {path, other};
#ifndef _WIN32
  fs::create_symlink("games.did", dir.Path() / "link.did");
  names.push_back(dir.Path() / "link.did");
#endif
  for (const fs::path& name : names) {
    for (const auto& database :
         {test::RandomDatabase(6), test::RandomDatabase(1, {1, 1, 1, 1, 1})}) {
      SCOPED_TRACE(name.filename().string());
      DidFileIdentity written;
      ASSERT_FALSE(WriteDatabase(*database, name, &written));
      EXPECT_TRUE(fs::equivalent(path, other));
      EXPECT_EQ(FileText(path), FormatDatabase(*database));
      EXPECT_TRUE(StillTheSameFile(other, written));
      EXPECT_EQ(FactsOfFile(path).links, 2u);
    }
  }
#ifndef _WIN32
  EXPECT_TRUE(fs::is_symlink(dir.Path() / "link.did"));
#endif
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}),
            static_cast<std::ptrdiff_t>(names.size()));
}

#ifndef _WIN32
// A write that fails half-way (here: the file size limit) keeps the old file.
TEST(DidFile, FailedSaveLeavesThePreviousFile) {
  test::TempDir dir;
  std::filesystem::path path = dir.Path() / "games.did";
  auto small = test::RandomDatabase(3, {1, 1, 1, 1, 1});
  ASSERT_FALSE(WriteDatabase(*small, path));
  std::string before = FileText(path);

  test::RandomShape big;
  big.maxGames = 40;
  auto large = test::RandomDatabase(4, big);
  ASSERT_GT(FormatDatabase(*large).size(), before.size() + 8192);

  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit limited = old;
  limited.rlim_cur = static_cast<rlim_t>(before.size() + 4096);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const auto error = WriteDatabase(*large, path);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);

  ASSERT_TRUE(error);
  EXPECT_EQ(error->message, "File too large");
  EXPECT_EQ(FileText(path), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}
#endif  // a file size limit is a POSIX resource limit

}  // namespace
}  // namespace moswit
