// Writes sample images into the folder given on the command line.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/adfbuilder.h"
#include "support/zipwriter.h"

namespace {

using moswit::test::AdfBuilder;
using moswit::test::Bytes;

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

bool WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
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
      !WriteBytes(folder / "sample.zip", moswit::test::MakeZip({member}))) {
    std::fprintf(stderr, "moswit-samples: cannot write to %s\n", folder.c_str());
    return 1;
  }
  return 0;
}
