// SPDX-License-Identifier: GPL-2.0-or-later
// Writes the fuzzers' seed corpora from the test builders: images of the
// builder set (plain and zipped; a high-density disk among them), gzip
// images of one and of several members, DID texts of random and image-set
// databases, wildcard pattern and name pairs, DATs (plain, zipped, in
// other encodings, and one as report --fixdat writes it), and ZIP archives
// of several members.
//   moswit_fuzz_seeds OUTPUT_FOLDER
// makes OUTPUT_FOLDER/{image,identify,onepass,did,wildcard,dat,zip}.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dat/datwriter.h"
#include "database/didwriter.h"
#include "support/adfbuilder.h"
#include "support/datbuilder.h"
#include "support/didbuilder.h"
#include "support/imageset.h"
#include "support/zipwriter.h"

namespace {

namespace fs = std::filesystem;
using moswit::test::Bytes;

void Write(const fs::path& file, const Bytes& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const fs::path& file, const std::string& text) {
  Write(file, Bytes(text.begin(), text.end()));
}

void ImageSeeds(const fs::path& folder, bool plainToo) {
  fs::create_directories(folder);
  for (const auto& image : moswit::test::BuilderImageSet()) {
    if (plainToo) Write(folder / (image.name + ".adf"), image.bytes);
    Write(folder / (image.name + ".zip"), moswit::test::MakeZip({{"disk.adf", image.bytes}}));
  }
  const Bytes small = moswit::test::BuilderImageSet().front().bytes;
  Write(folder / "stored.zip", moswit::test::MakeZip({{"disk.adf", small, false}}));
  Write(folder / "descriptor.zip",
        moswit::test::MakeZip({{"disk.adf", small, true, true}, {"readme", Bytes(10, 'x')}}));
  Bytes cut = moswit::test::MakeZip({{"disk.adf", small}});
  cut.resize(cut.size() / 2);
  Write(folder / "cut.zip", cut);
  Write(folder / "gzip.adz", moswit::test::Gzip(small));
  Write(folder / "members.adf.gz", moswit::test::Gzip(small, 3));
  Write(folder / "high-density.adz",
        moswit::test::Gzip(moswit::test::BuilderImage("twice-a-floppy")));
  Write(folder / "tiny", Bytes{'D', 'O', 'S', 0});
}

// ZIP archives of small members in the shapes zippers write: folders
// first, several images, stored and streamed members, names in UTF-8 and
// code page 437, one cut short.
void ZipSeeds(const fs::path& folder) {
  using moswit::test::MakeZip;
  fs::create_directories(folder);
  const Bytes a = moswit::test::PatternBytes(3000, 1);
  const Bytes b = moswit::test::PatternBytes(1500, 2);
  Write(folder / "folder-first.zip", MakeZip({{"Game/", {}}, {"Game/Game.adf", a}}));
  Write(folder / "set.zip",
        MakeZip({{"Set/Disk1.adf", a}, {"readme.txt", b}, {"Set/Disk2.ADF", b}}));
  Write(folder / "stored-streamed.zip",
        MakeZip({{"1.adf", a, false}, {"2.adf", b, true, true}, {"3.adf", a, false, true}}));
  const std::string cp437 = std::string("\x9A") + "bersicht.adf";
  const std::string utf8 = std::string("\xC3\x9C") + "bersicht.adf";
  Write(folder / "names.zip", MakeZip({{cp437, a}, {utf8, b}}));
  Write(folder / "no-image.zip", MakeZip({{"a.txt", a}, {"b/", {}}}));
  Bytes cut = MakeZip({{"1.adf", a}, {"2.adf", b}});
  cut.resize(cut.size() - 30);
  Write(folder / "cut.zip", cut);
}

// The one-pass fuzzer takes its input as the image's bytes: plain images.
void OnePassSeeds(const fs::path& folder) {
  fs::create_directories(folder);
  for (const auto& image : moswit::test::BuilderImageSet()) {
    Write(folder / (image.name + ".adf"), image.bytes);
  }
}

void DidSeeds(const fs::path& folder) {
  fs::create_directories(folder);
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    moswit::test::RandomShape shape{2, 2, 2, 3, 2};
    WriteText(folder / ("random" + std::to_string(seed) + ".did"),
              moswit::FormatDatabase(*moswit::test::RandomDatabase(seed, shape)));
  }
  WriteText(
      folder / "imageset.did",
      moswit::FormatDatabase(*moswit::test::ImageSetDatabase(moswit::test::BuilderImageSet())));
  WriteText(folder / "spread.did",
            "info\n(\nname\n\"A B\"\n)\nsoft ( name X version ( dord 0102 rdat 19910305 ) "
            "disk ( dnmm \"\" file ( fnam /a size 1 ) range ( rbeg 0 rend 1FF ) ) )\n");
  WriteText(folder / "unbalanced.did", "soft ( ( ) ) ) version ( disk ( file ( ( fnam \"x");
}

void WildcardSeeds(const fs::path& folder) {
  fs::create_directories(folder);
  const char* pairs[][2] = {
      {"/s/*", "/S/Startup-Sequence"},
      {"*.info", "/disk.info"},
      {"/a*b*c", "/aXbYbc"},
      {"/data/level?", "/DATA/LEVEL1"},
      {"**", "x"},
      {"?", ""},
      {"*", ""},
      {"/*/*/file", "/x/y/file"},
      {"/a*a*a*a*a*b", "/aaaaaaaaaaaaaaaaaaaaaaaaaaaa"},
  };
  unsigned n = 0;
  for (const auto& pair : pairs) {
    std::string text = pair[0];
    text += '\0';
    text += pair[1];
    WriteText(folder / ("pair" + std::to_string(n++)), text);
  }
}

void DatSeeds(const fs::path& folder) {
  fs::create_directories(folder);
  const std::string sets = moswit::test::DatXml(
      {{"Quest (1990-03)(Soft)(Disk 1 of 2)",
        {{"Quest (1990-03)(Soft)(Disk 1 of 2).adf", "901120", "0a1b2c3d"}}},
       {"Quest (1990-03)(Soft)(Disk 2 of 2)[cr Group]",
        {{"Quest (1990-03)(Soft)(Disk 2 of 2)[cr Group].ADF", "901120", "0a1b2c3d"},
         {"Quest (1990-03)(Soft)(Manual).txt", "2000", "1"}}},
       {"Caf&#233; &amp; &quot;Co&quot; (19xx)(-)",
        {{"Caf&#233; &amp; &quot;Co&quot; (19xx)(-).adf", "1802240", "ffffffff"},
         {"Caf&#233;[b].adf", "", ""}}},
       {"Racer", {{"Racer.adf", "5632", "2"}}, "machine"}});
  WriteText(folder / "sets.dat", sets);
  Write(folder / "zipped.zip", moswit::test::MakeZip({{"sets.dat", moswit::test::BytesOf(sets)}}));
  WriteText(folder / "windows-1252.dat",
            "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<!DOCTYPE datafile [<!ENTITY g "
            "\"Group\">]>\n<datafile><game name=\"\x80\"><rom name=\"Caf\xE9 [cr &g;].adf\" "
            "size=\"901120\" crc=\"1\"/></game></datafile>\n");
  WriteText(folder / "fixdat.dat",
            moswit::FormatDat({"DID - missing", "missing"},
                              {{"Tom & Jerry (1990)(Soft)", 901120, 0x0A1B2C3D},
                               {"Tab\there 日本", 1802240, 0xFFFFFFFF}}));
  WriteText(folder / "no-rom.xml", "<?xml version=\"1.0\"?>\n<html><game name=\"x\"/></html>\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const fs::path out = argv[1];
  ImageSeeds(out / "image", true);
  ImageSeeds(out / "identify", true);
  OnePassSeeds(out / "onepass");
  DidSeeds(out / "did");
  WildcardSeeds(out / "wildcard");
  DatSeeds(out / "dat");
  ZipSeeds(out / "zip");
  return 0;
}
