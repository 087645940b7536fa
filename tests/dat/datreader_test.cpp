// SPDX-License-Identifier: GPL-2.0-or-later
#include "dat/datreader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "dat/datwriter.h"
#include "support/datbuilder.h"
#include "support/tempdir.h"
#include "support/zipwriter.h"

namespace moswit {
namespace {

struct Rom {
  std::string game;
  std::string name;
  std::optional<uint32_t> size;
  std::optional<uint32_t> crc;
  bool operator==(const Rom&) const = default;
};

std::vector<Rom> RomsOf(std::string_view bytes, std::optional<DatFault>* fault = nullptr) {
  std::vector<Rom> roms;
  const std::optional<DatFault> read = ParseDat(bytes, [&](const DatRom& rom) {
    roms.push_back({std::string(rom.game), std::string(rom.name), rom.size, rom.crc});
  });
  if (fault != nullptr) *fault = read;
  EXPECT_TRUE(fault != nullptr || !read) << DatFaultText(*read);
  return roms;
}

std::string OneRom(const char* size, const char* crc) {
  std::string rom = "<rom name=\"a.adf\"";
  if (size != nullptr) rom += " size=\"" + std::string(size) + "\"";
  if (crc != nullptr) rom += " crc=\"" + std::string(crc) + "\"";
  return "<datafile><game name=\"a\">" + rom + "/></game></datafile>";
}

TEST(DatReader, ReadsTheRomsOfGamesAndMachinesOnly) {
  const std::string dat =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE datafile PUBLIC \"-//Logiqx//DTD ROM Management Datafile//EN\" "
      "\"http://www.logiqx.com/Dats/datafile.dtd\" [<!ENTITY grp \"Crack Group\">]>\n"
      "<datafile>\n<header><name>x</name></header>\n<!-- <rom name=\"comment.adf\"/> -->\n"
      "<rom name=\"outside.adf\" size=\"1\" crc=\"1\"/>\n"
      "<game name=\"Caf&#233; &amp; Co (1990)\">\n<description>Caf&#xE9;</description>\n"
      "<rom name=\"Caf&#233; &amp; Co (1990)[cr &grp;].adf\" size=\"901120\" crc=\"0a1B2c3D\"/>\n"
      "<rom name=\"Manual.txt\" size=\"12\" crc=\"ffffffff\"/>\n"
      "<release name=\"r\"><rom name=\"inside-another.adf\" size=\"1\" crc=\"1\"/></release>\n"
      "<game name=\"game-in-a-game\"><rom name=\"n.adf\" size=\"1\" crc=\"1\"/></game>\n"
      "</game>\n"
      "<machine name=\"日本\"><rom name=\"日本.adf\" size=\"1802240\" crc=\"1\"/></machine>\n"
      "</datafile>\n";
  EXPECT_EQ(RomsOf(dat),
            (std::vector<Rom>{
                {"Café & Co (1990)", "Café & Co (1990)[cr &grp;].adf", 901120, 0x0A1B2C3D},
                {"Café & Co (1990)", "Manual.txt", 12, 0xFFFFFFFF},
                {"日本", "日本.adf", 1802240, 1},
            }));
}

TEST(DatReader, SizeAndCrcOnlyWhenTheyAreNumbers) {
  const std::optional<uint32_t> none;
  const struct {
    const char* size;
    const char* crc;
    std::optional<uint32_t> readSize, readCrc;
  } cases[] = {
      {"901120", "0a1b2c3d", 901120, 0x0A1B2C3D},
      {"4294967295", "FFFFFFFF", UINT32_MAX, UINT32_MAX},
      {"4294967296", "123456789", none, none},
      {"", "", none, none},
      {"-1", "xyz", none, none},
      {" 512", "1", none, 1},
      {nullptr, nullptr, none, none},  // a ROM not dumped
  };
  for (const auto& c : cases) {
    const std::vector<Rom> roms = RomsOf(OneRom(c.size, c.crc));
    ASSERT_EQ(roms.size(), 1u);
    EXPECT_EQ(roms[0].size, c.readSize) << c.size;
    EXPECT_EQ(roms[0].crc, c.readCrc) << c.crc;
  }
}

TEST(DatReader, ReadsTheEncodingsItsDeclarationNames) {
  std::string utf16 = "\xFF\xFE";
  for (char16_t c : std::u16string(u"<datafile><game name=\"\u20AC\"><rom name=\"Caf\u00E9.adf\" "
                                   u"size=\"1\" crc=\"1\"/></game></datafile>")) {
    utf16 += static_cast<char>(c & 0xFF);
    utf16 += static_cast<char>(c >> 8);
  }
  const std::string body =
      "<datafile><game name=\"\x80\"><rom name=\"Caf\xE9.adf\" size=\"1\" "
      "crc=\"1\"/></game></datafile>";
  for (const std::string& dat :
       {utf16, "<?xml version=\"1.0\" encoding=\"windows-1252\"?>" + body}) {
    EXPECT_EQ(RomsOf(dat), (std::vector<Rom>{{"€", "Café.adf", 1, 1}})) << dat;
  }
}

// The same DAT in the other encodings told by a mark, the first bytes or
// the declaration.
TEST(DatReader, ReadsUtf16EitherWayAndLatin1) {
  const std::u16string text =
      u"<datafile><game name=\"\u00E9\u65E5\"><rom name=\"Caf\u00E9.adf\" "
      u"size=\"1\" crc=\"1\"/></game></datafile>";
  const auto utf16 = [&](bool little, bool mark) {
    std::string bytes;
    for (const char16_t c : mark ? u"\uFEFF" + text : text) {
      const char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
      bytes += little ? low : high;
      bytes += little ? high : low;
    }
    return bytes;
  };
  const std::vector<Rom> read = {{"\u00E9\u65E5", "Caf\u00E9.adf", 1, 1}};
  const std::string latin1 =
      "<datafile><game name=\"\xE9\x80\"><rom name=\"Caf\xE9.adf\" size=\"1\" "
      "crc=\"1\"/></game></datafile>";
  const std::vector<Rom> readLatin1 = {{"\u00E9\u0080", "Caf\u00E9.adf", 1, 1}};
  EXPECT_EQ(RomsOf(utf16(false, true)), read);
  EXPECT_EQ(RomsOf(utf16(true, false)), read);
  EXPECT_EQ(RomsOf(utf16(false, false)), read);
  EXPECT_EQ(RomsOf("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"windows-1252\"?>"
                   "<datafile><game name=\"\xC3\xA9\xE6\x97\xA5\"><rom name=\"Caf\xC3\xA9.adf\" "
                   "size=\"1\" crc=\"1\"/></game></datafile>"),
            read);  // the mark wins over the declaration
  for (const char* declaration : {"<?xml version='1.0' encoding='iso-8859-1'?>",
                                  "<?xml version=\"1.0\" encoding = \"Latin1\" ?>"}) {
    EXPECT_EQ(RomsOf(declaration + latin1), readLatin1) << declaration;
  }

  std::string unpaired = utf16(true, true);
  unpaired.insert(unpaired.size() - 4, std::string("\n\0\x00\xD8", 4));
  std::string odd = utf16(true, true) + "x";
  for (const auto& [bytes, said] : {std::pair{unpaired, "line 2: not a DAT (not UTF-16)"},
                                    std::pair{odd, "line 1: not a DAT (not UTF-16)"}}) {
    std::optional<DatFault> fault;
    RomsOf(bytes, &fault);
    ASSERT_TRUE(fault) << said;
    EXPECT_EQ(DatFaultText(*fault), said);
  }
}

// pugixml ends names with a 0 where a line end may stand: lines are
// counted in the text as written, in memory and in a file alike.
TEST(DatReader, FaultsAreOnTheLineAsWritten) {
  const struct {
    std::string bytes;
    const char* text;
  } cases[] = {
      {"<datafile\n>\n<game\nname=\"a\"\n>\n<rom\nname=\"a.adf\"\n/>\n</datafile>",
       "line 9: not a DAT (Start-end tags mismatch)"},
      {"<datafile\n>\n<game\nname=\"a\">\n<rom\nname=\"a.adf/></game></datafile>",
       "line 6: not a DAT (Error parsing element attribute)"},
      {"<?xml version=\"1.0\"?>\n\n<datafile\n/>", "line 3: not a DAT (no rom in any game)"},
      {"<datafile\n>\n<game\nname=\"a\"><rom name=\"a.adf\"/></game></datafile>\n<datafile/>",
       "line 5: not a DAT (a second root element)"},
  };
  test::TempDir dir;
  for (const auto& c : cases) {
    std::optional<DatFault> fault;
    RomsOf(c.bytes, &fault);
    ASSERT_TRUE(fault) << c.text;
    EXPECT_EQ(DatFaultText(*fault), c.text);
    const std::string path = dir.Write("fault.dat", test::BytesOf(c.bytes));
    const std::optional<FileError> error = ReadDatFile(path, [](const DatRom&) {});
    ASSERT_TRUE(error) << c.text;
    EXPECT_EQ(error->message, c.text);
  }
}

TEST(DatReader, WhatIsNotADatSaysWhyAndWhere) {
  test::Bytes cutZip = test::MakeZip({{"a.dat", test::BytesOf(OneRom("1", "1"))}});
  cutZip.resize(20);
  const struct {
    std::string bytes;
    const char* text;
  } cases[] = {
      {"<datafile>\n<game name=\"a\">\n<rom name=\"a.adf\" size=\"1\" crc=\"1\"/>\n</datafile>\n",
       "line 4: not a DAT (Start-end tags mismatch)"},
      {"<datafile>\n<game name=\"a\">\n<rom name=\"a.ad",
       "line 3: not a DAT (Error parsing element attribute)"},
      {"<datafile>\n<game name=\"a\">\n<rom name=\"a.adf\"/>\n",
       "line 4: not a DAT (Start-end tags mismatch)"},
      {"\x8F\x01\xFF\xFE\x00\x01garbage", "line 1: not a DAT (not XML)"},
      {"", "line 1: not a DAT (No document element found)"},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?><datafile/>",
       "line 1: not a DAT (unknown encoding)"},
      {"<?xml version=\"1.0\"?>\n<html>\n<game name=\"no roms\"/>\n<rom name=\"a.adf\"/>\n</html>",
       "line 2: not a DAT (no rom in any game)"},
      {std::string(cutZip.begin(), cutZip.end()), "not a DAT (ZIP: Read beyond end of file)"},
  };
  for (const auto& c : cases) {
    std::optional<DatFault> fault;
    RomsOf(c.bytes, &fault);
    ASSERT_TRUE(fault) << c.text;
    EXPECT_EQ(DatFaultText(*fault), c.text);
  }
}

// A DAT of many pieces read from a file, plain or zipped, gives the ROMs
// that reading it in memory gives.
TEST(DatReader, AFileInPiecesOrZippedReadsAsInMemory) {
  std::vector<test::TestGame> games;
  for (int i = 0; i < 2000; ++i) {
    const std::string name = "Game " + std::to_string(i) + " (1990)(Soft)";
    games.push_back(
        {name, {{name + ".adf", std::to_string(901120 + i), "1234567" + std::to_string(i % 10)}}});
  }
  const std::string xml = test::DatXml(games);
  ASSERT_GT(xml.size(), 3u * 64 * 1024);
  const std::vector<Rom> inMemory = RomsOf(xml);
  ASSERT_EQ(inMemory.size(), games.size());
  test::TempDir dir;
  for (const std::string& path :
       {dir.Write("plain.dat", test::BytesOf(xml)),
        dir.Write("zipped.zip", test::MakeZip({{"plain.dat", test::BytesOf(xml)}}))}) {
    std::vector<Rom> fromFile;
    EXPECT_FALSE(ReadDatFile(path, [&](const DatRom& rom) {
      fromFile.push_back({std::string(rom.game), std::string(rom.name), rom.size, rom.crc});
    }));
    EXPECT_EQ(fromFile, inMemory) << path;
  }
  const std::optional<FileError> missing = ReadDatFile((dir.Path() / "none.dat").string(), {});
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->message, "No such file or directory");
}

// What the writer escapes, the reader takes back letter for letter.
TEST(DatWriter, NamesComeBackThroughTheReader) {
  const std::vector<DatEntry> entries = {
      {"Plain (1990)(Soft)", 901120, 0x0A1B2C3D},
      {"Tom & Jerry <\"1\"> 'x' &amp;", 1802240, 0xFFFFFFFF},
      {"Tab\there, Café 日本", 1, 0},
  };
  std::vector<Rom> expected;
  for (const DatEntry& entry : entries) {
    expected.push_back(
        {entry.name, entry.name + ".adf", static_cast<uint32_t>(entry.size), entry.crc});
  }
  EXPECT_EQ(RomsOf(FormatDat({"A & B", "<all>"}, entries)), expected);
  EXPECT_EQ(RomsOf(FormatDat({}, {{"Bell\x07", 1, 1}})),
            (std::vector<Rom>{{"Bell?", "Bell?.adf", 1, 1}}));
}

}  // namespace
}  // namespace moswit
