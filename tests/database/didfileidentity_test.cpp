// A DID file's identity: taken from the bytes read or written, and the check
// before a write that the file on disk is still that one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "database/didfileidentity.h"
#include "database/didreader.h"
#include "database/didwriter.h"
#include "image/crc32.h"
#include "support/didbuilder.h"
#include "support/tempdir.h"

namespace moswit {
namespace {

namespace fs = std::filesystem;

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

TEST(DidFileIdentity, ReadAndWriteTakeTheIdentityOfTheirBytes) {
  test::TempDir dir;
  const fs::path path = dir.Path() / "g.did";
  const std::string text = "soft ( name \"G\" )\r\n";
  WriteText(path, text);
  DidReadResult read = ReadDatabase(path);
  ASSERT_TRUE(read.database);
  EXPECT_TRUE(read.identity.exists && read.identity.readable);
  EXPECT_EQ(read.identity.modified, fs::last_write_time(path));
  EXPECT_EQ(read.identity.content.Size(), text.size());
  EXPECT_EQ(read.identity.content.Crc(),
            Crc32({reinterpret_cast<const uint8_t*>(text.data()), text.size()}));
  EXPECT_TRUE(StillTheSameFile(path, read.identity));

  const auto database = test::RandomDatabase(4);
  DidFileIdentity written;
  ASSERT_FALSE(WriteDatabase(*database, path, &written));
  EXPECT_FALSE(StillTheSameFile(path, read.identity));
  EXPECT_TRUE(StillTheSameFile(path, written));
  EXPECT_EQ(written.content, CurrentIdentity(path).content);
  // The digest of a database is that of its text, however it is taken.
  EXPECT_EQ(DigestDatabase(*database), written.content);
  EXPECT_FALSE(DigestDatabase(*database) == DigestDatabase(DatabaseInfo{}));
}

// Each change made to the file after it was read; any of them must be seen.
TEST(DidFileIdentity, AnyChangeOnDiskIsSeen) {
  struct Case {
    const char* what;
    void (*change)(const fs::path&);
  };
  const Case cases[] = {
      {"nothing", [](const fs::path&) {}},
      {"appended", [](const fs::path& p) { std::ofstream(p, std::ios::app) << "x"; }},
      {"removed", [](const fs::path& p) { fs::remove(p); }},
      // Same size and time, other bytes: only the content tells.
      {"same size and time",
       [](const fs::path& p) {
         const auto time = fs::last_write_time(p);
         WriteText(p, "soft ( name \"H\" )\r\n");
         fs::last_write_time(p, time);
       }},
      // Same bytes, touched: taken as changed, without reading it.
      {"touched",
       [](const fs::path& p) {
         fs::last_write_time(p, fs::last_write_time(p) + std::chrono::seconds(5));
       }},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    const fs::path path = dir.Path() / "g.did";
    WriteText(path, "soft ( name \"G\" )\r\n");
    const DidFileIdentity known = ReadDatabase(path).identity;
    c.change(path);
    EXPECT_EQ(StillTheSameFile(path, known), std::string(c.what) == "nothing") << c.what;
  }
}

TEST(DidFileIdentity, NoFileStaysTheSameUntilOneAppears) {
  test::TempDir dir;
  const fs::path path = dir.Path() / "new.did";
  const DidFileIdentity nothing = CurrentIdentity(path);
  EXPECT_FALSE(nothing.exists);
  EXPECT_TRUE(StillTheSameFile(path, nothing));
  WriteText(path, "");
  EXPECT_FALSE(StillTheSameFile(path, nothing));
  EXPECT_TRUE(StillTheSameFile(path, CurrentIdentity(path)));
}

}  // namespace
}  // namespace moswit
