// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/didfilestate.h"

#include "base/pathtext.h"
#include "database/didwriter.h"

namespace moswit {

namespace {

constexpr char kReplace[] = "Replace";
constexpr char kKeepAndEdit[] = "Keep the file and go on editing";

std::string PathList(const std::vector<std::string>& paths) {
  std::string text;
  for (const std::string& path : paths) text += "\n" + path;
  return text;
}

}  // namespace

std::string OpenedWithSkipsMessage(const std::string& path, const DidSkips& skips) {
  return DidSkipWarning(path, skips) +
         "\n\nOkay and Save ask before they replace the file with what was understood.";
}

Question UnwrittenAtEndQuestion(const std::vector<std::string>& paths) {
  return {"These DID files have changes that are not written yet:\n" + PathList(paths) +
              "\n\nSave them all before Moswit ends, or discard the changes?",
          {"Save all", "Discard", "Cancel"}};
}

std::string NotSavedAtEndMessage(const std::vector<std::string>& paths) {
  return "These DID files were not saved, so Moswit stays open:\n" + PathList(paths);
}

std::string NotStoredAtEndMessage(std::string_view window, std::string_view didPath,
                                  std::string_view field, std::string_view reason) {
  std::string text(window);
  text += " of ";
  text += didPath;
  text += " cannot store ";
  text += field.empty() ? std::string("what it holds") : "its " + std::string(field);
  text += ": ";
  text += reason;
  return text + ".\n\nCorrect it there, or end Moswit and discard the changes.";
}

std::string HeldElsewhereMessage(const std::string& path) {
  return path + " is open in another DID Editor. Save it there, or close that one first.";
}

DidFileState::DidFileState(const std::filesystem::path& path, const DatabaseInfo& database)
    : path_(path), written_(DigestDatabase(database)) {}

DidFileState DidFileState::Opened(const std::filesystem::path& path, const DatabaseInfo& database,
                                  const DidReadResult& read) {
  DidFileState state(path, database);
  state.skips_ = read.skips;
  state.identity_ = read.identity;
  return state;
}

DidFileState DidFileState::Created(const std::filesystem::path& path,
                                   const DatabaseInfo& database) {
  DidFileState state(path, database);
  state.identity_ = CurrentIdentity(path);
  return state;
}

std::optional<Question> DidFileState::NotUnderstoodQuestion() const {
  if (!skips_.Any() || replaceAgreed_) return std::nullopt;
  return Question{DidSkipWarning(PathText(path_), skips_) +
                      "\n\nWriting now replaces the file with this database, which does not "
                      "hold what was left out. Replace the file?",
                  {kReplace, kKeepAndEdit}};
}

std::optional<Question> DidFileState::ChangedOnDiskQuestion() const {
  if (StillTheSameFile(path_, identity_)) return std::nullopt;
  return Question{PathText(path_) +
                      " has changed since this window read or wrote it, perhaps in another "
                      "window or program.\n\nReplace it with this database?",
                  {kReplace, kKeepAndEdit}};
}

std::optional<FileError> DidFileState::Write(const DatabaseInfo& database) {
  DidFileIdentity written;
  if (std::optional<FileError> error = WriteDatabase(database, path_, &written)) {
    writeFailed_ = true;
    return error;
  }
  writeFailed_ = false;
  replaceAgreed_ = true;
  identity_ = written;
  written_ = written.content;
  return std::nullopt;
}

Question DidFileState::DiscardQuestion() const {
  return {PathText(path_) +
              " could not be written, so this window's changes are not saved.\n\nDiscard "
              "them and close the window?",
          {"Discard", "Go on editing"}};
}

bool DidFileState::Unwritten(const DatabaseInfo& database) const {
  return !(DigestDatabase(database) == written_);
}

}  // namespace moswit
