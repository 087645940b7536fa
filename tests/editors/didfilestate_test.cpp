// What the DID Editor asks before it writes over its file or drops changes,
// on files in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "database/didreader.h"
#include "database/didwriter.h"
#include "editors/didfilestate.h"
#include "support/didbuilder.h"
#include "support/tempdir.h"

namespace moswit {
namespace {

namespace fs = std::filesystem;

class DidFileStateTest : public ::testing::Test {
 protected:
  DidFileState Open(const std::string& text) {
    std::ofstream(path_, std::ios::binary) << text;
    read_ = ReadDatabase(path_);
    return DidFileState::Opened(path_, *read_.database, read_);
  }

  test::TempDir dir_;
  fs::path path_ = dir_.Path() / "g.did";
  DidReadResult read_;
};

// A file read only in part is replaced only once the user agreed; after a
// write the file is one the reader understands.
TEST_F(DidFileStateTest, APartlyReadFileAsksUntilTheUserAgreedOrAWriteReplacedIt) {
  DidFileState file = Open("soft ( name \"G\" )\nbogus\n");
  ASSERT_TRUE(file.NotUnderstoodQuestion());
  EXPECT_EQ(file.NotUnderstoodQuestion()->text.find(path_.string() + ": 1 part"), 0u);
  EXPECT_EQ(file.NotUnderstoodQuestion()->choices.size(), 2u);
  file.ReplaceAgreed();
  EXPECT_FALSE(file.NotUnderstoodQuestion());

  DidFileState again = Open("bogus");
  ASSERT_FALSE(again.Write(*read_.database));
  EXPECT_FALSE(again.NotUnderstoodQuestion());
  EXPECT_FALSE(Open("soft ( name \"G\" )").NotUnderstoodQuestion());
}

// Two windows on one file: the second write sees the first one's file.
TEST_F(DidFileStateTest, AFileChangedOnDiskAsksBeforeEveryWriteOverIt) {
  DidFileState a = Open("soft ( name \"G\" )");
  DidFileState b = DidFileState::Opened(path_, *read_.database, read_);
  EXPECT_FALSE(a.ChangedOnDiskQuestion());
  AppendGame(*read_.database).name = "A's";
  ASSERT_FALSE(a.Write(*read_.database));
  EXPECT_FALSE(a.ChangedOnDiskQuestion());
  ASSERT_TRUE(b.ChangedOnDiskQuestion());
  EXPECT_EQ(b.ChangedOnDiskQuestion()->text.find(path_.string() + " has changed"), 0u);
  // Replacing it anyway makes the file b's: now a is asked.
  ASSERT_FALSE(b.Write(DatabaseInfo{}));
  EXPECT_FALSE(b.ChangedOnDiskQuestion());
  EXPECT_TRUE(a.ChangedOnDiskQuestion());
}

// A new database replaces what was at its path when it was made (the user
// chose that file), but not a file that appeared there since.
TEST_F(DidFileStateTest, ANewDatabaseReplacesOnlyWhatWasThereWhenItWasMade) {
  std::ofstream(path_, std::ios::binary) << "old";
  const auto database = CreateDatabase(path_.string());
  EXPECT_FALSE(DidFileState::Created(path_, *database).ChangedOnDiskQuestion());
  const fs::path fresh = dir_.Path() / "new.did";
  DidFileState created = DidFileState::Created(fresh, *database);
  EXPECT_FALSE(created.ChangedOnDiskQuestion());
  std::ofstream(fresh, std::ios::binary) << "made elsewhere";
  EXPECT_TRUE(created.ChangedOnDiskQuestion());
  EXPECT_FALSE(created.NotUnderstoodQuestion());
}

TEST_F(DidFileStateTest, AFailedWriteIsRememberedUntilOneSucceeds) {
  const auto database = CreateDatabase("x");
  DidFileState file = DidFileState::Created(dir_.Path() / "no" / "g.did", *database);
  ASSERT_TRUE(file.Write(*database));
  EXPECT_TRUE(file.WriteFailed());
  EXPECT_EQ(file.DiscardQuestion().choices.size(), 2u);
  fs::create_directory(dir_.Path() / "no");
  ASSERT_FALSE(file.Write(*database));
  EXPECT_FALSE(file.WriteFailed());
}

// Unwritten compares what the database would write with what was last read
// or written, so a change undone is no change.
TEST_F(DidFileStateTest, UnwrittenIsWhatTheFileWouldNotHold) {
  DidFileState file = Open("soft ( name \"G\" )  bogus");
  DatabaseInfo& database = *read_.database;
  EXPECT_FALSE(file.Unwritten(database));
  database.games[0].name = "H";
  EXPECT_TRUE(file.Unwritten(database));
  database.games[0].name = "G";
  EXPECT_FALSE(file.Unwritten(database));
  AppendGame(database);
  EXPECT_TRUE(file.Unwritten(database));
  ASSERT_FALSE(file.Write(database));
  EXPECT_FALSE(file.Unwritten(database));
}

}  // namespace
}  // namespace moswit
