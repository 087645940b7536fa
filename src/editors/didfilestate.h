// SPDX-License-Identifier: GPL-2.0-or-later
// What a DID Editor knows of its DID file between reads and writes, and the
// questions it asks before it writes over that file or drops changes:
//
// - a file the reader did not fully understand is replaced only after the
//   user agreed once (a database that lacks part of it would replace it);
// - a file that changed on disk since it was read or last written (another
//   window, another program) is replaced only after the user agreed;
// - after a failed write, closing without writing drops changes only after
//   the user agreed;
// - when Moswit ends with changes not written, it asks once for all files.
//
// Every question ends with the choice that keeps everything as it is.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/fileerror.h"
#include "database/didfileidentity.h"
#include "database/didreader.h"
#include "database/didskips.h"
#include "database/records.h"

namespace moswit {

struct Question {
  std::string text;
  // The answers, as buttons; the last keeps everything as it is and is what
  // Escape or the box's close button gives.
  std::vector<std::string> choices;
};

// The answers, as indexes into the choices.
enum ReplaceChoice : size_t { kReplaceFile = 0, kKeepFileAndEdit = 1 };
enum DiscardChoice : size_t { kDiscardChanges = 0, kGoOnEditing = 1 };
enum EndChoice : size_t { kSaveAll = 0, kDiscardAll = 1, kCancelEnd = 2 };

// Shown when the DID Editor opens a file that was not fully understood.
std::string OpenedWithSkipsMessage(const std::string& path, const DidSkips& skips);

// Moswit is ending while these DID files have changes not written yet.
Question UnwrittenAtEndQuestion(const std::vector<std::string>& paths);
// "Save all" stopped at these files; Moswit stays open.
std::string NotSavedAtEndMessage(const std::vector<std::string>& paths);
// "Save all" stopped at a value a window cannot store: the window, the DID
// it belongs to, the field (when known) and why, all of them UTF-8.
std::string NotStoredAtEndMessage(std::string_view window, std::string_view didPath,
                                  std::string_view field, std::string_view reason);

// "Save As...": its dialog, and what it says when the file chosen is held
// by another DID Editor.
constexpr char kSaveAsTitle[] = "Save the DID as";
constexpr char kSaveAsFilter[] = "Disk Image Database (*.did);;All files (*)";
std::string HeldElsewhereMessage(const std::string& path);

class DidFileState {
 public:
  // A database just read from `path`, with what its read found.
  static DidFileState Opened(const std::filesystem::path& path, const DatabaseInfo& database,
                             const DidReadResult& read);
  // A new database to be saved at `path`: whatever is there now (a file the
  // user chose to replace, or nothing) is what its first write replaces.
  static DidFileState Created(const std::filesystem::path& path, const DatabaseInfo& database);

  const std::filesystem::path& Path() const { return path_; }
  const DidSkips& Skips() const { return skips_; }

  // Before each write, in this order. The first asks until the user agreed
  // to replace the file or a write replaced it; the second reads the file
  // and asks when it is no longer the one last read or written.
  std::optional<Question> NotUnderstoodQuestion() const;
  void ReplaceAgreed() { replaceAgreed_ = true; }
  std::optional<Question> ChangedOnDiskQuestion() const;

  // Writes the database; on success the file's identity and the text to
  // compare with become those just written.
  std::optional<FileError> Write(const DatabaseInfo& database);
  // The last write failed: a close without writing asks first.
  bool WriteFailed() const { return writeFailed_; }
  Question DiscardQuestion() const;

  // Whether the database no longer formats to the text last read or
  // written (compared by size and CRC-32).
  bool Unwritten(const DatabaseInfo& database) const;

 private:
  DidFileState(const std::filesystem::path& path, const DatabaseInfo& database);

  std::filesystem::path path_;
  DidSkips skips_;
  bool replaceAgreed_ = false;
  DidFileIdentity identity_;
  DidDigest written_;
  bool writeFailed_ = false;
};

}  // namespace moswit
