// SPDX-License-Identifier: GPL-2.0-or-later
// The check before a write that a DID file is still the one read or written.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "database/didfileidentity.h"
#include "database/didreader.h"
#include "database/didwriter.h"
#include "support/didbuilder.h"
#include "support/tempdir.h"

namespace moswit {
namespace {

namespace fs = std::filesystem;

// Each change made after the file was read; any change of content must be
// seen, and a time alone is no change.
TEST(DidFileIdentity, AnyChangeOnDiskIsSeen) {
  const std::pair<const char*, void (*)(const fs::path&)> cases[] = {
      {"nothing", [](const fs::path&) {}},
      {"appended", [](const fs::path& p) { std::ofstream(p, std::ios::app) << "x"; }},
      {"removed", [](const fs::path& p) { fs::remove(p); }},
      {"touched",
       [](const fs::path& p) {
         fs::last_write_time(p, fs::last_write_time(p) - std::chrono::hours(1));
       }},
      {"rewritten", [](const fs::path& p) { WriteDatabase(*test::RandomDatabase(4), p); }},
      // Only the content tells.
      {"same size and time",
       [](const fs::path& p) {
         const auto time = fs::last_write_time(p);
         std::ofstream(p, std::ios::binary) << "soft ( name \"H\" )";
         fs::last_write_time(p, time);
       }},
  };
  for (const auto& [what, change] : cases) {
    test::TempDir dir;
    const fs::path path = dir.Path() / "g.did";
    std::ofstream(path, std::ios::binary) << "soft ( name \"G\" )";
    const DidFileIdentity known = ReadDatabase(path).identity;
    change(path);
    const bool same = std::string(what) == "nothing" || std::string(what) == "touched";
    EXPECT_EQ(StillTheSameFile(path, known), same) << what;
  }
}

// A write's identity is that of the file it left and of the database's text.
TEST(DidFileIdentity, AWriteTakesTheIdentityOfWhatItWrote) {
  test::TempDir dir;
  const fs::path path = dir.Path() / "g.did";
  EXPECT_TRUE(StillTheSameFile(path, CurrentIdentity(path)));  // nothing there, still
  const auto database = test::RandomDatabase(4);
  DidFileIdentity written;
  ASSERT_FALSE(WriteDatabase(*database, path, &written));
  EXPECT_TRUE(StillTheSameFile(path, written));
  EXPECT_EQ(written.content, DigestDatabase(*database));
  EXPECT_FALSE(written.content == DigestDatabase(DatabaseInfo{}));
}

}  // namespace
}  // namespace moswit
