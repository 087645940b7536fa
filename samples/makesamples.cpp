// SPDX-License-Identifier: GPL-2.0-or-later
// Writes sample images into the folder given on the command line, and a
// collection for the Renamer: renamer/ with perfect, damaged, renamed and
// unknown disks and a ZIP archive of two disks, sample.did describing them
// file by file, and sample.dat listing the good ones (and one the folder
// lacks) as a DAT does.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "base/pathtext.h"
#include "dat/datwriter.h"
#include "database/attributes.h"
#include "database/didwriter.h"
#include "image/crc32.h"
#include "support/adfbuilder.h"
#include "support/didbuilder.h"
#include "support/zipwriter.h"

namespace {

using moswit::test::AdfBuilder;
using moswit::test::Bytes;

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

bool WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

Bytes SampleDisk() {
  AdfBuilder::Options options;
  options.volume = "Sample Disk";
  AdfBuilder disk(options);
  disk.AddFile("/s/startup-sequence", Text("echo \"Moswit sample disk\"\nc/run game\n"));
  disk.AddFile("/c/run", moswit::test::PatternBytes(2'345, 1));
  disk.AddFile("/game", moswit::test::PatternBytes(60'000, 2));
  disk.AddFile("/data/level1.dat", moswit::test::PatternBytes(12'000, 3));
  disk.AddFile("/data/level2.dat", moswit::test::PatternBytes(12'500, 4));
  disk.AddFile("/highscores", Bytes(200, 0));
  return disk.Build();
}

using Files = std::vector<std::pair<std::string, Bytes>>;

Bytes BuildDisk(const std::string& volume, const Files& files) {
  AdfBuilder::Options options;
  options.volume = volume;
  AdfBuilder disk(options);
  for (const auto& [path, contents] : files) disk.AddFile(path, contents);
  return disk.Build();
}

void Describe(moswit::DiskRecord& disk, const Files& files) {
  for (const auto& [path, contents] : files) {
    moswit::FileRecord& file = moswit::AppendFile(disk);
    file.path = path;
    file.size = static_cast<uint32_t>(contents.size());
    file.crc32 = moswit::Crc32(contents);
    file.attributes = path == "/s/startup-sequence" ? moswit::kAttrBoot : moswit::kAttrGame;
  }
}

Files QuestDisk(uint32_t disk) {
  return {{"/s/startup-sequence", Text("quest\n")},
          {"/quest", moswit::test::PatternBytes(40'000 + disk, 10 + disk)},
          {"/gfx/tiles.iff", moswit::test::PatternBytes(9'000 + disk, 20 + disk)},
          {"/music/theme.mod", moswit::test::PatternBytes(15'000 + disk, 30 + disk)}};
}

Files RacerDisk() {
  return {{"/s/startup-sequence", Text("racer\n")},
          {"/racer", moswit::test::PatternBytes(52'000, 40)},
          {"/tracks/track1.dat", moswit::test::PatternBytes(6'000, 41)},
          {"/tracks/track2.dat", moswit::test::PatternBytes(6'100, 42)}};
}

// The Renamer's sample folder and the database that knows its disks.
bool WriteRenamerSamples(const std::filesystem::path& folder) {
  moswit::test::DidBuilder db;
  moswit::GameRecord& quest = db.Game("Sample Quest", "Moswit Samples", {1991, 3, 0});
  db.Version(quest, {1, 2});
  Describe(db.Disk(quest, "Quest1"), QuestDisk(1));
  Describe(db.Disk(quest, "Quest2"), QuestDisk(2));
  moswit::GameRecord& racer = db.Game("Demo Racer", "Moswit Samples", {1992, 0, 0});
  db.Version(racer, {1});
  Describe(db.Disk(racer, "Racer"), RacerDisk());
  db.Database().name = "Moswit sample database";
  db.Database().creator = "moswit-samples";
  if (moswit::WriteDatabase(db.Database(), folder / "sample.did")) return false;

  Files damaged = RacerDisk();
  damaged[1].second[1'000] ^= 0x40;
  Files renamed = QuestDisk(1);
  renamed[2].first = "/gfx/tileset.iff";
  const Files unknown = {{"/readme", Text("nothing the database knows\n")},
                         {"/tool", moswit::test::PatternBytes(20'000, 99)}};
  const std::filesystem::path images = folder / "renamer";
  std::filesystem::create_directories(images / "more");
  Files trained = RacerDisk();
  trained.push_back({"/trainer", moswit::test::PatternBytes(1'500, 43)});
  const auto entry = [](const std::string& name, const Bytes& image) {
    return moswit::DatEntry{name, image.size(), moswit::Crc32(image)};
  };
  const std::vector<moswit::DatEntry> dat = {
      entry("Demo Racer (1992)(Moswit Samples)", BuildDisk("Racer", RacerDisk())),
      entry("Demo Racer (1992)(Moswit Samples)[t +2 Moswit Crew]", BuildDisk("Racer", trained)),
      entry("Sample Quest (1991-03)(Moswit Samples)(Disk 1 of 2)",
            BuildDisk("Quest1", QuestDisk(1))),
      entry("Sample Quest (1991-03)(Moswit Samples)(Disk 2 of 2)",
            BuildDisk("Quest2", QuestDisk(2)))};
  if (moswit::WriteDat(moswit::PathText(folder / "sample.dat"),
                       {"Moswit sample DAT", "The good sample images, as a DAT lists them"}, dat)) {
    return false;
  }
  return WriteBytes(images / "Sample Quest Disk 1.adf", BuildDisk("Quest1", QuestDisk(1))) &&
         WriteBytes(images / "Sample Quest Disk 2.adf", BuildDisk("Quest2", QuestDisk(2))) &&
         WriteBytes(images / "Demo Racer.adf", BuildDisk("Racer", RacerDisk())) &&
         WriteBytes(images / "more" / "Demo Racer (bad file).adf", BuildDisk("Racer", damaged)) &&
         WriteBytes(images / "more" / "Quest copy.ADF", BuildDisk("Quest1", renamed)) &&
         WriteBytes(images / "more" / "Unknown.adf", BuildDisk("Utilities", unknown)) &&
         WriteBytes(images / "more" / "Quest set.zip",
                    moswit::test::MakeZip({{"Quest/", {}},
                                           {"Quest/Disk 1.adf", BuildDisk("Quest1", QuestDisk(1))},
                                           {"Quest/Disk 2.adf", BuildDisk("Quest2", QuestDisk(2))},
                                           {"Quest/readme.txt", Text("both disks\n")}}));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: moswit-samples FOLDER\n", stderr);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  const Bytes disk = SampleDisk();
  moswit::test::ZipMember member;
  member.name = "sample.adf";
  member.contents = disk;
  if (!WriteBytes(folder / "sample.adf", disk) ||
      !WriteBytes(folder / "sample.zip", moswit::test::MakeZip({member})) ||
      !WriteRenamerSamples(folder)) {
    std::fprintf(stderr, "moswit-samples: cannot write to %s\n", moswit::PathText(folder).c_str());
    return 1;
  }
  return 0;
}
