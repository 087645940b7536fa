// SPDX-License-Identifier: GPL-2.0-or-later
#include "collection/organize.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>

#include "base/platformfile.h"
#include "collection/destinationname.h"
#include "collection/noreplace.h"
#include "database/didwriter.h"
#include "image/crc32.h"
#include "scan/scanner.h"
#include "support/adfbuilder.h"
#include "support/didbuilder.h"
#include "support/runprogram.h"
#include "support/tempdir.h"
#include "support/zipwriter.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace moswit {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

TEST(DestinationName, CleanedForEveryFileSystem) {
  const std::pair<const char*, const char*> cases[] = {
      {"Game (1991)(Soft)[1|2]", "Game (1991)(Soft)[1_2]"},
      {"a\\b/c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j"},
      {"Tab\there\x01\x1f", "Tab_here__"},
      {"Name. . ", "Name"},
      {"...", "_"},
      // DEL and the five bytes Windows-1252 leaves undefined; its letters stay
      {"Caf\xe9 \x7f\x81\x8d\x8f\x90\x9d\x80", "Caf\xe9 ______\x80"},
  };
  for (const auto& [name, clean] : cases) EXPECT_EQ(CleanFileName(name), clean) << name;
}

// Every line of a run: action, source, destination; and why steps failed
// or are conflicts.
class Lines : public OrganizeReport {
 public:
  void StepDone(size_t, const OrganizeStep& step) override {
    text += std::string(ActionWord(step.action)) + "\t" + step.sourceRelative + "\t" +
            step.destination + "\n";
    if (!step.error.empty()) errors += step.error + "\n";
  }
  std::string text;
  std::string errors;
};

// A DID of Quest (two disks), Racer and Lost, and a source folder holding a
// good and a damaged disk of Quest, Racer twice, nothing of Lost, an
// unknown and an unreadable image.
class OrganizeTest : public ::testing::Test {
 protected:
  OrganizeTest() {
    AddGame("Quest", {1990, 0, 0}, {"Quest 1.adf", "Quest 2 bad.adf"});
    AddGame("Racer", {1991, 0, 0}, {"Racer.adf"});
    AddGame("Lost", {}, {""});
    // After Racer.adf in every collation, the C locale's and Windows' alike.
    dir_.Write("src/spare/Racer copy.ADF", images_["Racer.adf"]);
    dir_.Write("src/unknown.adf", test::AdfBuilder().Build());
    dir_.Write("src/broken.adf", Bytes{1, 2});
  }

  // One disk per image name (empty: no image); a name with "bad" gets a
  // damaged copy.
  void AddGame(const std::string& title, ReleaseDate date, const std::vector<std::string>& images) {
    GameRecord& game = db_.Game(title, "Soft", date);
    VersionRecord& version = db_.Version(game, {});
    for (size_t d = 0; d < images.size(); ++d) {
      version.diskOrder[d] = static_cast<uint8_t>(d + 1);
      DiskRecord& disk = db_.Disk(game, "D");
      test::AdfBuilder builder;
      const bool bad = images[d].find("bad") != std::string::npos;
      for (const char* path : {"/game", "/data"}) {
        const Bytes contents = test::PatternBytes(4000, static_cast<uint32_t>(++seed_));
        FileRecord& record = AppendFile(disk);
        record.path = path;
        record.size = static_cast<uint32_t>(contents.size());
        record.crc32 = Crc32(contents);
        record.attributes = kAttrGame;
        builder.AddFile(path, bad && record.path.Value() == "/game" ? Bytes(4000) : contents);
      }
      if (images[d].empty()) continue;
      images_[images[d]] = builder.Build();
      dir_.Write("src/" + images[d], images_[images[d]]);
    }
  }

  std::string Src() const { return (dir_.Path() / "src").string() + "/"; }
  std::string Target() const { return (dir_.Path() / target_).string(); }

  // On one worker, so the seams are called in step order.
  std::string Organize(OrganizeOptions options = {}, const FileSeams& seams = {}) {
    options.jobs = 1;
    OutcomeRecorder recorder(Src());
    RunScan(db_.Database(), Src(), recorder, nullptr, 1, Target());
    scanned_ = recorder.Outcomes().images.size();
    std::vector<OrganizeStep> steps = PlanOrganize(
        BuildCollectionReport(db_.Database(), recorder.TakeOutcomes()), Target(), options);
    if (afterScan_) afterScan_();
    Lines lines;
    RunOrganize(steps, Target(), options, lines, nullptr, seams);
    errors_ = lines.errors;
    return lines.text;
  }

  // Every file below the target, with its bytes.
  std::map<std::string, Bytes> TargetFiles() const {
    std::map<std::string, Bytes> files;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(Target(), error)) {
      if (entry.is_regular_file()) {
        files[fs::relative(entry.path(), Target()).generic_string()] =
            test::ReadFileBytes(entry.path().string());
      }
    }
    return files;
  }

  static constexpr char kQuest1[] = "Quest (1990)(Soft)[1_2].adf";
  static constexpr char kQuest2[] = "partial/Quest (1990)(Soft)[2_2][md1].adf";
  static constexpr char kRacer[] = "Racer (1991)(Soft).adf";

  test::DidBuilder db_;
  test::TempDir dir_;
  std::map<std::string, Bytes> images_;
  std::string target_ = "target";
  size_t scanned_ = 0;
  int seed_ = 0;
  std::function<void()> afterScan_;  // between the scan and the copies
  std::string errors_;               // of the last run
};

TEST_F(OrganizeTest, GoodDisksAreCopiedUnderTheirNamesAndSourcesStayAsTheyWere) {
  std::map<std::string, fs::file_time_type> times;
  for (const auto& entry : fs::recursive_directory_iterator(Src())) {
    times[entry.path().string()] = entry.last_write_time();
  }
  const std::string copies = std::string("copy\tQuest 1.adf\t") + kQuest1 + "\n" +
                             "copy\tQuest 2 bad.adf\t" + kQuest2 + "\n" + "copy\tRacer.adf\t" +
                             kRacer + "\n";
  EXPECT_EQ(Organize({.partial = true}), copies);
  EXPECT_EQ(TargetFiles(), (std::map<std::string, Bytes>{{kQuest1, images_["Quest 1.adf"]},
                                                         {kQuest2, images_["Quest 2 bad.adf"]},
                                                         {kRacer, images_["Racer.adf"]}}));
  std::string same = copies;
  for (size_t at = same.find("copy"); at != std::string::npos; at = same.find("copy", at))
    same.replace(at, 4, "same");
  EXPECT_EQ(Organize({.partial = true}), same);
  for (const auto& [path, time] : times) {
    EXPECT_EQ(fs::last_write_time(path), time) << path;
    const auto image = images_.find(fs::path(path).filename().string());
    if (image != images_.end()) {
      EXPECT_EQ(test::ReadFileBytes(path), image->second) << path;
    }
  }
}

// A file at the destination is never replaced, nor is a second disk of the
// same name written; only the same bytes count as done.
TEST_F(OrganizeTest, NothingIsOverwritten) {
  AddGame("Racer", {1991, 0, 0}, {"Racer twin.adf"});
  const std::string other = dir_.Write("target/" + std::string(kQuest1), Bytes{7, 7, 7});
  EXPECT_EQ(Organize(), std::string("conflict\tQuest 1.adf\t") + kQuest1 + "\n" +
                            "copy\tRacer.adf\t" + kRacer + "\n" + "conflict\tRacer twin.adf\t" +
                            kRacer + "\n");
  EXPECT_EQ(test::ReadFileBytes(other), (Bytes{7, 7, 7}));
  EXPECT_EQ(TargetFiles()[kRacer], images_["Racer.adf"]);
}

TEST_F(OrganizeTest, ACopyThatReadsBackOtherwiseIsRemoved) {
  FileSeams seams;
  seams.readBack = [](const std::string& path) {
    std::optional<FileCheck> check = CheckFile(path);
    if (check) check->crc ^= 1;
    return check;
  };
  EXPECT_EQ(Organize({}, seams), std::string("failed\tQuest 1.adf\t") + kQuest1 + "\n" +
                                     "failed\tRacer.adf\t" + kRacer + "\n");
  EXPECT_TRUE(TargetFiles().empty());
}

// Between the read-back and the rename another program puts a file at the
// destination: it stays, and the copy goes.
TEST_F(OrganizeTest, AFileThatAppearsMeanwhileIsNotReplaced) {
  FileSeams seams;
  seams.readBack = [this](const std::string& path) {
    dir_.Write("target/" + std::string(kRacer), Bytes{1});
    return CheckFile(path);
  };
  EXPECT_EQ(Organize({}, seams), std::string("copy\tQuest 1.adf\t") + kQuest1 + "\n" +
                                     "conflict\tRacer.adf\t" + kRacer + "\n");
  EXPECT_EQ(TargetFiles().size(), 2u);
  EXPECT_EQ(TargetFiles()[kRacer], Bytes{1});
  for (auto* place : {&RenameNoReplace, &ClaimThenRename}) {
    const std::string from = dir_.Write("from", Bytes{2});
    std::error_code error;
    EXPECT_EQ(place(from, Target() + "/" + kRacer, error), PlaceOutcome::kExists);
    EXPECT_EQ(place(from, Target() + "/new", error), PlaceOutcome::kPlaced);
    EXPECT_EQ(test::ReadFileBytes(Target() + "/" + kRacer), Bytes{1});
    EXPECT_FALSE(fs::exists(from));
    fs::remove(Target() + "/new");
  }
}

// A title's Windows-1252 letters name the copy in UTF-8 on every system.
TEST_F(OrganizeTest, TitlesNameCopiesInUtf8) {
  AddGame("Caf\xe9 \x80", {1992, 0, 0}, {"Cafe.adf"});
  AddGame("Odd\x81\x7f", {1993, 0, 0}, {"Odd.adf"});
  Organize();
  EXPECT_TRUE(fs::exists(PathFromText(Target() + "/Caf\xC3\xA9 \xE2\x82\xAC (1992)(Soft).adf")));
  EXPECT_TRUE(fs::exists(PathFromText(Target() + "/Odd__ (1993)(Soft).adf")));
}

// The images of an archive holding several are copied out of it as plain
// images, verified as every copy is, never linked; a second run finds them.
TEST_F(OrganizeTest, MembersOfAnArchiveAreCopiedOutAsPlainImages) {
  AddGame("Duo", {1993, 0, 0}, {"duo/Disk1.adf", "duo/Disk2.adf"});
  fs::remove_all(Src() + "duo");
  dir_.Write("src/duo.zip", test::MakeZip({{"Duo/", {}},
                                           {"Duo/Disk1.adf", images_["duo/Disk1.adf"]},
                                           {"readme.txt", Bytes{1}},
                                           {"Duo/Disk2.ADF", images_["duo/Disk2.adf"], false}}));
  const std::string duo1 = "Duo (1993)(Soft)[1_2].adf";
  const std::string duo2 = "Duo (1993)(Soft)[2_2].adf";
  const auto lines = [&](const char* linked, const char* copied) {
    return std::string(linked) + "\tQuest 1.adf\t" + kQuest1 + "\n" + linked + "\tRacer.adf\t" +
           kRacer + "\n" + copied + "\tduo.zip/Duo/Disk1.adf\t" + duo1 + "\n" + copied +
           "\tduo.zip/Duo/Disk2.ADF\t" + duo2 + "\n";
  };
  EXPECT_EQ(Organize({.link = true}), lines("link", "copy"));
  EXPECT_EQ(TargetFiles()[duo1], images_["duo/Disk1.adf"]);
  EXPECT_EQ(TargetFiles()[duo2], images_["duo/Disk2.adf"]);
  EXPECT_EQ(Organize(), lines("same", "same"));

  // Members swapped after the scan are no longer the images it identified.
  target_ = "target swapped";
  afterScan_ = [&] {
    dir_.Write("src/duo.zip", test::MakeZip({{"Duo/", {}},
                                             {"Duo/Disk1.adf", images_["duo/Disk2.adf"]},
                                             {"readme.txt", Bytes{1}},
                                             {"Duo/Disk2.ADF", images_["duo/Disk1.adf"]}}));
  };
  EXPECT_EQ(Organize(), lines("copy", "failed"));
  EXPECT_EQ(errors_, Src() + "duo.zip: " + kChangedSinceScan + "\n" + Src() +
                         "duo.zip: " + kChangedSinceScan + "\n");
  EXPECT_EQ(TargetFiles().size(), 2u);
}

TEST_F(OrganizeTest, DryRunWritesNothing) {
  const std::string lines = Organize({.partial = true, .dryRun = true});
  EXPECT_EQ(lines, std::string("copy\tQuest 1.adf\t") + kQuest1 + "\n" + "copy\tQuest 2 bad.adf\t" +
                       kQuest2 + "\n" + "copy\tRacer.adf\t" + kRacer + "\n");
  EXPECT_FALSE(fs::exists(Target()));
  dir_.Write("target/" + std::string(kRacer), images_["Racer.adf"]);
  EXPECT_EQ(
      Organize({.link = true, .dryRun = true}),
      std::string("link\tQuest 1.adf\t") + kQuest1 + "\n" + "same\tRacer.adf\t" + kRacer + "\n");
  EXPECT_EQ(TargetFiles().size(), 1u);
}

TEST_F(OrganizeTest, LinksFallBackToCopiesWhereLinkingFails) {
  EXPECT_EQ(Organize({.link = true}), std::string("link\tQuest 1.adf\t") + kQuest1 + "\n" +
                                          "link\tRacer.adf\t" + kRacer + "\n");
  EXPECT_TRUE(fs::equivalent(Src() + "Racer.adf", Target() + "/" + kRacer));
  target_ = "other";
  FileSeams seams;
  seams.hardLink = [](const std::string&, const std::string&, std::error_code& error) {
    error = std::make_error_code(std::errc::cross_device_link);
  };
  EXPECT_EQ(Organize({.link = true}, seams), std::string("copy\tQuest 1.adf\t") + kQuest1 + "\n" +
                                                 "copy\tRacer.adf\t" + kRacer + "\n");
  EXPECT_FALSE(fs::equivalent(Src() + "Racer.adf", Target() + "/" + kRacer));
  EXPECT_EQ(TargetFiles()[kRacer], images_["Racer.adf"]);
}

// A source rewritten after the scan is no longer the image the scan
// identified: its copy or link fails, and nothing stays under its name.
TEST_F(OrganizeTest, ASourceChangedAfterTheScanIsNotPlaced) {
  const Bytes racer = images_["Racer.adf"];
  const std::pair<const char*, Bytes> changes[] = {
      {"truncated", Bytes(racer.begin(), racer.begin() + 1000)},
      {"emptied", Bytes{}},
      {"another game's bytes", images_["Quest 1.adf"]},
  };
  for (const bool link : {false, true}) {
    for (const auto& [change, bytes] : changes) {
      SCOPED_TRACE(std::string(change) + (link ? ", linked" : ", copied"));
      target_ = std::string("target ") + change + (link ? " link" : "");
      dir_.Write("src/Racer.adf", racer);
      afterScan_ = [&, &bytes = bytes] { dir_.Write("src/Racer.adf", bytes); };
      EXPECT_EQ(Organize({.link = link}), std::string(link ? "link" : "copy") + "\tQuest 1.adf\t" +
                                              kQuest1 + "\n" + "failed\tRacer.adf\t" + kRacer +
                                              "\n");
      EXPECT_EQ(errors_, Src() + "Racer.adf: " + kChangedSinceScan + "\n");
      EXPECT_EQ(TargetFiles().size(), 1u);
    }
  }
#ifndef _WIN32
  // Nor does a pipe put in its place hold the run.
  target_ = "target fifo";
  dir_.Write("src/Racer.adf", racer);
  afterScan_ = [&] {
    fs::remove(Src() + "Racer.adf");
    mkfifo((Src() + "Racer.adf").c_str(), 0600);
  };
  EXPECT_EQ(Organize(), std::string("copy\tQuest 1.adf\t") + kQuest1 + "\n" +
                            "failed\tRacer.adf\t" + kRacer + "\n");
#endif
}

// The copy is the source's image, with its time; a link through a
// relative symbolic link is a link to the file it names.
TEST_F(OrganizeTest, CopiesKeepTheSourceTimeAndLinksResolveSymbolicLinks) {
  fs::last_write_time(Src() + "Racer.adf",
                      fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
  Organize();
  EXPECT_EQ(fs::last_write_time(Target() + "/" + kRacer), fs::last_write_time(Src() + "Racer.adf"));
#ifndef _WIN32
  target_ = "linked";
  fs::rename(Src() + "Racer.adf", dir_.Path() / "Racer real.adf");
  fs::create_symlink("../Racer real.adf", Src() + "Racer.adf");
  EXPECT_EQ(Organize({.link = true}), std::string("link\tQuest 1.adf\t") + kQuest1 + "\n" +
                                          "link\tRacer.adf\t" + kRacer + "\n");
  EXPECT_FALSE(fs::is_symlink(Target() + "/" + kRacer));
  EXPECT_TRUE(fs::equivalent(dir_.Path() / "Racer real.adf", Target() + "/" + kRacer));
#endif
}

// What the plan can tell without writing: a file there whose name differs
// only in case is a conflict on every file system, and a dry run into a
// TARGET that is a file fails as the run would.
TEST_F(OrganizeTest, ConflictsAndFailuresKnownBeforeWriting) {
  std::string lower = kRacer;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  dir_.Write("target/" + lower, images_["Racer.adf"]);
  EXPECT_EQ(Organize(), std::string("copy\tQuest 1.adf\t") + kQuest1 + "\n" +
                            "conflict\tRacer.adf\t" + kRacer + "\n");
  EXPECT_EQ(errors_, Target() + "/" + kRacer + ": " + kOtherCaseThere + "\n");
  EXPECT_EQ(TargetFiles().size(), 2u);

  target_ = "file";
  dir_.Write(target_, Bytes{1});
  EXPECT_EQ(Organize({.dryRun = true}), std::string("failed\tQuest 1.adf\t") + kQuest1 + "\n" +
                                            "failed\tRacer.adf\t" + kRacer + "\n");
  EXPECT_EQ(errors_.substr(0, errors_.find('\n')), Target() + ": " + std::strerror(ENOTDIR));
}

#ifndef _WIN32
// Temporary files of a killed run go at the next run; those of a run still
// going, and those of other machines, stay.
TEST_F(OrganizeTest, LeftoversOfKilledRunsAreRemoved) {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  ASSERT_GT(child, 0);
  waitpid(child, nullptr, 0);
  char machine[9];
  const std::string name = MachineName();
  std::snprintf(machine, sizeof machine, "%08x",
                Crc32({reinterpret_cast<const uint8_t*>(name.data()), name.size()}));
  const auto temporary = [&](const std::string& tag, uint64_t process) {
    return dir_.Write("target/.moswit-" + tag + "-" + std::to_string(process) + "-7.tmp", {1});
  };
  const std::string dead = temporary(machine, static_cast<uint64_t>(child));
  const std::string running = temporary(machine, static_cast<uint64_t>(getppid()));
  const std::string elsewhere = temporary("0badf00d", static_cast<uint64_t>(child));
  Organize();
  EXPECT_FALSE(fs::exists(dead));
  EXPECT_TRUE(fs::exists(running));
  EXPECT_TRUE(fs::exists(elsewhere));
}
#endif

TEST_F(OrganizeTest, ATargetInsideTheFolderIsNotScanned) {
  target_ = "src/organized";
  EXPECT_EQ(Organize(), std::string("copy\tQuest 1.adf\t") + kQuest1 + "\n" + "copy\tRacer.adf\t" +
                            kRacer + "\n");
  EXPECT_EQ(Organize(), std::string("same\tQuest 1.adf\t") + kQuest1 + "\n" + "same\tRacer.adf\t" +
                            kRacer + "\n");
  EXPECT_EQ(scanned_, 6u);
}

TEST_F(OrganizeTest, CommandLine) {
  const std::string did = (dir_.Path() / "c.did").string();
  ASSERT_FALSE(WriteDatabase(db_.Database(), did));
  test::ProgramResult report = test::Cli({"report", "--jobs", "2", did, Src()});
  EXPECT_EQ(report.exitStatus, 0);
  EXPECT_EQ(report.out,
            "have\tQuest (1990)(Soft)[1|2]\tQuest 1.adf\t1000\t\t1\n"
            "partial\tQuest (1990)(Soft)[2|2]\tQuest 2 bad.adf\t1000\t[md1]\t1\n"
            "have\tRacer (1991)(Soft)\tRacer.adf\t1000\t\t2\n"
            "missing\tLost (-)(Soft)\t\t\t\t0\n"
            "unknown\t\tbroken.adf\t\tRead beyond end of file\t\n"
            "unknown\t\tunknown.adf\t\t\t\n");
  EXPECT_EQ(report.err, "4 disks: 2 have, 1 partial, 1 missing; 2 unknown images\n");

  dir_.Write("target/" + std::string(kRacer), Bytes{1});
  test::ProgramResult organize = test::Cli({"organize", "--partial", did, Src(), Target()});
  EXPECT_EQ(organize.exitStatus, 1);
  EXPECT_EQ(organize.out, std::string("copy\tQuest 1.adf\t") + kQuest1 + "\n" +
                              "copy\tQuest 2 bad.adf\t" + kQuest2 + "\n" + "conflict\tRacer.adf\t" +
                              kRacer + "\n");
  EXPECT_EQ(organize.err,
            "moswit-cli: " + Target() + "/" + kRacer + ": " + kOtherBytesThere + "\n");

  // Organized names read back as the disks' names.
  test::ProgramResult mkdid = test::Cli({"mkdid", (dir_.Path() / "m.did").string(), Target()});
  EXPECT_NE(mkdid.out.find("\tQuest (1990)(Soft)[1|2]\n"), std::string::npos) << mkdid.out;

  const std::pair<std::vector<std::string>, int> failures[] = {
      {{"report", did, Src() + "none"}, 1},
      {{"report", "--jobs", "0", did, Src()}, 2},
      {{"report", "--link", did, Src()}, 2},
      {{"organize", "--partial", did, Src()}, 2},
      {{"organize", did, Src(), dir_.Path().string()}, 2},  // TARGET holds FOLDER
  };
  for (const auto& [args, status] : failures) EXPECT_EQ(test::Cli(args).exitStatus, status);
}

}  // namespace
}  // namespace moswit
