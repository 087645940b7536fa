// SPDX-License-Identifier: GPL-2.0-or-later
// Names outside ASCII, from the listing through loading, DID files and
// moswit-cli's arguments and output: on Windows each of them passes between
// UTF-8 and the system's UTF-16.
#include "base/pathtext.h"

#include <gtest/gtest.h>

#include "database/didreader.h"
#include "database/didwriter.h"
#include "image/adf.h"
#include "scan/imagelist.h"
#include "support/adfbuilder.h"
#include "support/didbuilder.h"
#include "support/runprogram.h"
#include "support/tempdir.h"

namespace moswit {
namespace {

namespace fs = std::filesystem;

// Latin-1 letters, CJK, and a character beyond 16 bits (two UTF-16 units),
// each with the standard name mkdid gives it: the DID holds Windows-1252,
// so what that cannot hold becomes "?" and is counted, in the image's name
// and in the DID's path (which names the database) alike.
struct NameCase {
  const char* name;
  const char* standardName;
  const char* replaced;
};
const NameCase kNames[] = {{"Übersicht façade", "Übersicht façade", ""},
                           {"日本語のゲーム", "???????", "14 letters of the file names"},
                           {"Spiel \xF0\x9F\x8E\xAE", "Spiel ?", "2 letters of the file names"}};

TEST(PathText, NamesOutsideAsciiReachTheSystemAndComeBack) {
  for (const auto& [nameText, standardName, replaced] : kNames) {
    const std::string name = nameText;
    test::TempDir dir;
    const std::string folder = PathText(dir.Path()) + "/" + name + "/";
    const test::Bytes image = test::AdfBuilder().Build();
    dir.Write(name + "/" + name + ".adf", image);
    // The system holds the name itself, not its bytes read in a code page.
    EXPECT_EQ(PathText(fs::directory_iterator(dir.Path())->path().filename()), name);

    const std::vector<ImageRow> rows = ListImages(folder);
    ASSERT_EQ(rows.size(), 1u) << name;
    EXPECT_EQ(rows[0].caption, name);
    EXPECT_EQ(ImageFileStem(rows[0].path), name);
    FileError error;
    ImagePtr loaded = LoadImage(rows[0].path, &error);
    ASSERT_TRUE(loaded) << FormatFileError(error);
    EXPECT_EQ(loaded->Data, image);

    const fs::path did = PathFromText(folder + name + ".did");
    ASSERT_FALSE(WriteDatabase(*test::RandomDatabase(2), did));
    EXPECT_TRUE(ReadDatabase(did).database) << name;
    EXPECT_EQ(FormatFileError(ReadDatabase(PathFromText(folder + "x.did")).error),
              folder + "x.did: No such file or directory");

    const test::ProgramResult made = test::Cli({"mkdid", folder + "m.did", folder});
    EXPECT_EQ(made.exitStatus, 0) << made.err;
    EXPECT_EQ(made.out, folder + name + ".adf\t" + standardName + " (-)()\n");
    // One warning counts the letters replaced; none were, none is given.
    EXPECT_NE(made.err.find(replaced), std::string::npos) << made.err;
    EXPECT_EQ(made.err.empty(), *replaced == '\0') << made.err;
  }
}

// Bytes that are not UTF-8 (a Latin-1 name) still name a file: as they are
// on POSIX systems, with U+FFFD in their place on Windows.
TEST(PathText, BytesThatAreNotUtf8StillNameAFile) {
  test::TempDir dir;
  const std::string path = PathText(dir.Path()) + "/Caf\xe9.adf";
  dir.Write("Caf\xe9.adf", test::AdfBuilder().Build());
  EXPECT_TRUE(LoadImage(path));
  EXPECT_EQ(ListImages(PathText(dir.Path()) + "/").size(), 1u);
}

}  // namespace
}  // namespace moswit
