// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "image/adf.h"
#include "image/blockcrcs.h"
#include "image/filecheck.h"
#include "image/gzipstream.h"
#include "image/zipmember.h"
#include "support/adfbuilder.h"
#include "support/tempdir.h"
#include "support/zipwriter.h"

namespace moswit {
namespace {

using test::Bytes;
using test::Gzip;
using test::MakeZip;
using test::ZipMember;

class LoaderTest : public ::testing::Test {
 protected:
  // The reason a load failed; the error names the file it was given.
  ImagePtr Load(const Bytes& bytes, std::string* reason = nullptr) {
    const std::string path = dir_.Write("image.adf", bytes);
    FileError error;
    ImagePtr image = LoadImage(path, &error);
    if (!image) {
      EXPECT_EQ(error.path, path);
    }
    if (reason) *reason = error.message;
    return image;
  }
  test::TempDir dir_;
};

TEST_F(LoaderTest, PlainImageKeepsEveryByte) {
  const Bytes disk = test::PatternBytes(901'120, 1);
  ImagePtr image = Load(disk);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Size, 901'120u);
  EXPECT_EQ(BlockCount(*image), 1760u);
  EXPECT_EQ(image->Data, disk);
  EXPECT_EQ(image->FileName, (dir_.Path() / "image.adf").string());
}

TEST_F(LoaderTest, TruncatedImageHasFewerBlocks) {
  ImagePtr image = Load(test::PatternBytes(450'000, 2));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Size, 450'000u);
  EXPECT_EQ(BlockCount(*image), 878u);
  EXPECT_NE(BlockData(*image, 877), nullptr);
  EXPECT_EQ(BlockData(*image, 878), nullptr);
}

// The only file of an archive loads whatever its name; of several files the
// first ".adf" loads, also after a folder entry; whatever the archive's name.
TEST_F(LoaderTest, ZipImageMemberIsLoadedWhateverTheArchiveName) {
  const Bytes disk = test::PatternBytes(901'120, 3);
  const std::vector<ZipMember> archives[] = {
      {{"readme.txt", disk}},
      {{"readme.txt", Bytes(100, 1)}, {"disk.adf", disk}, {"other.adf", Bytes(100, 1)}},
      {{"Game/", {}}, {"Game/Game.ADF", disk}},
  };
  for (const auto& members : archives) {
    for (const char* name : {"disk.zip", "disk.adf"}) {
      ImagePtr image = LoadImage(dir_.Write(name, MakeZip(members)));
      ASSERT_TRUE(image) << name << " " << members[0].name;
      EXPECT_EQ(image->Data, disk) << name << " " << members[0].name;
    }
  }
}

struct ZipCase {
  const char* what;
  bool deflate;
  bool descriptor;
};

TEST_F(LoaderTest, StoredAndStreamedMembers) {
  const ZipCase cases[] = {{"deflated", true, false},
                           {"stored", false, false},
                           {"deflated with data descriptor", true, true},
                           {"stored with data descriptor", false, true}};
  const Bytes disk = test::AdfBuilder().Build();
  for (const auto& c : cases) {
    ZipMember member{"disk.adf", disk, c.deflate, c.descriptor};
    ImagePtr image = Load(MakeZip({member, {"second", Bytes(5000, 7)}}));
    ASSERT_TRUE(image) << c.what;
    EXPECT_EQ(image->Size, disk.size()) << c.what;
    EXPECT_EQ(image->Data, disk) << c.what;
  }
}

TEST_F(LoaderTest, PlainImageStartingWithZipSignatureIsTakenForZip) {
  Bytes disk = test::PatternBytes(901'120, 4);
  disk[0] = 0x50;
  disk[1] = 0x4B;
  disk[2] = 0x03;
  disk[3] = 0x04;
  std::string reason;
  ImagePtr image = Load(disk, &reason);
  if (image) {
    EXPECT_NE(image->Data, disk);  // read as an archive, not as the plain bytes
  } else {
    EXPECT_FALSE(reason.empty());
  }
}

TEST_F(LoaderTest, FailuresGiveAReason) {
  const Bytes zip = MakeZip({{"disk.adf", test::PatternBytes(20'000, 5)}});
  Bytes hugeZip = zip;
  hugeZip[22] = 0xFF;  // uncompressed size 0xFF..., far over the limit
  hugeZip[25] = 0x7F;

  struct Case {
    const char* what;
    Bytes bytes;
    std::string reason;
  };
  const Case cases[] = {
      {"three bytes", Bytes{1, 2, 3}, "Read beyond end of file"},
      {"empty file", Bytes{}, "Read beyond end of file"},
      {"zip cut inside its header", Bytes(zip.begin(), zip.begin() + 20),
       "Read beyond end of file"},
      {"zip cut inside its data", Bytes(zip.begin(), zip.begin() + 200), "Read beyond end of file"},
  };
  for (const auto& c : cases) {
    std::string reason;
    EXPECT_FALSE(Load(c.bytes, &reason)) << c.what;
    EXPECT_EQ(reason, c.reason) << c.what;
  }
  std::string reason;
  EXPECT_FALSE(Load(hugeZip, &reason));
  EXPECT_NE(reason.find("too large"), std::string::npos) << reason;

  const std::string missing = (dir_.Path() / "missing.adf").string();
  FileError error;
  EXPECT_FALSE(LoadImage(missing, &error));
  EXPECT_EQ(FormatFileError(error), missing + ": No such file or directory");
  EXPECT_FALSE(LoadImage(dir_.Path().string(), &error));
  EXPECT_EQ(error.message, "Is a directory");
}

TEST_F(LoaderTest, PlainImageOverTheLimitIsRefusedWithoutReading) {
  const std::filesystem::path big = dir_.Path() / "big.adf";
  dir_.Write("big.adf", Bytes(16, 0));
  std::filesystem::resize_file(big, kMaxImageSize + 1ull);  // sparse
  FileError error;
  EXPECT_FALSE(LoadImage(big.string(), &error));
  EXPECT_NE(error.message.find("too large"), std::string::npos) << error.message;
}

TEST_F(LoaderTest, DeclaredSizeRulesTheBuffer) {
  const Bytes disk = test::PatternBytes(10'000, 6);
  Bytes zip = MakeZip({{"disk.adf", disk}});
  // Declared smaller than the stream: the rest is dropped.
  Bytes smaller = zip;
  smaller[22] = 0x10;  // 10000 = 0x2710 -> 0x2610
  smaller[23] = 0x26;
  ImagePtr image = Load(smaller);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Size, 0x2610u);
  EXPECT_TRUE(std::equal(image->Data.begin(), image->Data.end(), disk.begin()));

  // Declared larger: what did not decode stays zero.
  Bytes larger = zip;
  larger[22] = 0x10;
  larger[23] = 0x28;  // 0x2810
  image = Load(larger);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Size, 0x2810u);
  EXPECT_TRUE(std::equal(disk.begin(), disk.end(), image->Data.begin()));
  for (size_t i = disk.size(); i < image->Size; ++i) ASSERT_EQ(image->Data[i], 0) << i;
}

TEST_F(LoaderTest, DamagedDeflateStreamStillGivesTheDeclaredSize) {
  const Bytes disk = test::PatternBytes(50'000, 7);
  Bytes zip = MakeZip({{"disk.adf", disk}});
  for (size_t i = 40; i < 60; ++i) zip[i] ^= 0xA5;  // into the member data
  ImagePtr image = Load(zip);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Size, disk.size());
}

TEST_F(LoaderTest, MemoryAndFileLoadAlike) {
  const Bytes zip = MakeZip({{"d.adf", test::PatternBytes(3000, 8)}});
  ImagePtr fromFile = Load(zip);
  ImagePtr fromMemory = LoadImageFromMemory("d.zip", zip.data(), zip.size());
  ASSERT_TRUE(fromFile && fromMemory);
  EXPECT_EQ(fromFile->Data, fromMemory->Data);
  FreeImage(fromMemory);
  EXPECT_FALSE(fromMemory);
}

// One buffer loaded again and again, as a scan's worker does: each load
// gives exactly its own image, whatever the one before, and a failed load
// leaves no image behind.
TEST_F(LoaderTest, ReusedImageHoldsOnlyTheLastLoad) {
  const Bytes full = test::PatternBytes(901'120, 4);
  const Bytes other = test::PatternBytes(901'120, 5);
  const Bytes shorter = test::PatternBytes(450'000, 6);
  const Bytes zipped = MakeZip({{"disk.adf", test::PatternBytes(901'120, 7)}});
  tADF image;
  for (const Bytes* bytes : {&full, &shorter, &other, &zipped, &full}) {
    const std::string path = dir_.Write("reused.adf", *bytes);
    ASSERT_TRUE(LoadImageInto(path, image));
    ImagePtr fresh = LoadImage(path);
    EXPECT_EQ(image.Data, fresh->Data);
    EXPECT_EQ(image.Size, fresh->Size);
    EXPECT_EQ(image.FileName, path);
  }
  for (const Bytes& bad : {Bytes{}, Bytes{'P', 'K', 3, 4}}) {
    FileError error;
    EXPECT_FALSE(LoadImageInto(dir_.Write("bad.adf", bad), image, &error));
    EXPECT_EQ(image.Size, 0u);
    EXPECT_FALSE(error.message.empty());
  }
  EXPECT_FALSE(LoadImageInto((dir_.Path() / "missing.adf").string(), image));
  EXPECT_EQ(image.Size, 0u);
}

// The size and CRC-32 a load gives of its file are those of the file's own
// bytes, in every form: combined from the block CRCs for a plain image (a
// tail after the last whole block too), taken from an archive as read.
TEST_F(LoaderTest, TheFileCheckIsThatOfTheFilesBytes) {
  test::AdfBuilder builder;  // OFS: data blocks, whose CRCs are taken in two parts
  builder.AddFile("/f", test::PatternBytes(20'000, 1));
  const Bytes disk = builder.Build();
  std::vector<test::ImageForm> forms = test::ImageForms(disk);
  Bytes tail = disk;
  tail.insert(tail.end(), 300, 0x5A);
  forms.push_back({".adf", tail});
  Bytes trailing = test::Gzip(disk);
  trailing.insert(trailing.end(), {'e', 'n', 'd'});
  forms.push_back({".adz", trailing});
  tADF image;
  BlockCrcs crcs;
  for (const test::ImageForm& form : forms) {
    SCOPED_TRACE(form.ending + " of " + std::to_string(form.bytes.size()) + " bytes");
    const std::string path = dir_.Write("checked" + form.ending, form.bytes);
    FileCheck check;
    ASSERT_TRUE(LoadImageInto(path, image, crcs, nullptr, kFirstImageMember, &check));
    EXPECT_EQ(check, CheckFile(path));
    EXPECT_EQ(check.size, form.bytes.size());
  }
}

// Whatever the name, gzip data loads as the image it holds: members in a row
// as one stream, bytes after the last member that start none ignored.
TEST_F(LoaderTest, GzipFormsLoadAsThePlainImage) {
  const Bytes disk = test::AdfBuilder().Build();
  Bytes text = Gzip(disk);
  text.insert(text.end(), {'e', 'n', 'd'});
  Bytes lone1F = Gzip(disk);
  lone1F.push_back(0x1F);
  tADF image;
  for (const Bytes& form : {Gzip(disk), Gzip(disk, 3), text, lone1F}) {
    ASSERT_TRUE(LoadImageInto(dir_.Write("d.adz", form), image));
    EXPECT_TRUE(image.Data == disk);
  }
}

// Each member's trailer (CRC-32, then the length) is checked; a file ending
// inside a member fails; more than 4 MiB from all members is too much.
TEST_F(LoaderTest, DamagedOrTooLargeGzipFailsWithAReason) {
  const Bytes gz = Gzip(test::PatternBytes(100'000, 10), 2);
  Bytes badCrc = gz;
  badCrc[gz.size() - 8] ^= 1;
  Bytes badLength = gz;
  badLength[gz.size() - 4] ^= 1;
  const std::pair<Bytes, std::string> cases[] = {
      {badCrc, "Damaged gzip data: incorrect data check"},
      {badLength, "Damaged gzip data: incorrect length check"},
      {Bytes(gz.begin(), gz.end() - 3), "Damaged gzip data: unexpected end of file"},
      {Bytes(gz.begin(), gz.begin() + 1000), "Damaged gzip data: unexpected end of file"},
      {Gzip(Bytes(kMaxGzipImageSize + 1, 0), 2),
       "Image too large: the gzip data decodes to more than 4194304 bytes"}};
  for (const auto& [bytes, reason] : cases) {
    std::string got;
    EXPECT_FALSE(Load(bytes, &got));
    EXPECT_EQ(got, reason);
  }
  EXPECT_TRUE(Load(Gzip(Bytes(kMaxGzipImageSize, 0))));
}

}  // namespace
}  // namespace moswit
