// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/commands.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "base/pathtext.h"
#include "database/didreader.h"
#include "database/didwriter.h"
#include "image/adf.h"

namespace moswit::cli {

namespace {

// The first failure of a write to standard output (an errno value), and
// whether anything was written at all.
int outputError = 0;
bool outputWritten = false;

void NoteOutput(bool failed) {
  if (failed && outputError == 0) outputError = errno != 0 ? errno : EIO;
}

}  // namespace

void WriteOut(std::string_view text) {
  if (text.empty()) return;
  outputWritten = true;
  errno = 0;
  NoteOutput(std::fwrite(text.data(), 1, text.size(), stdout) != text.size());
}

void FlushOut() {
  errno = 0;
  NoteOutput(std::fflush(stdout) != 0);
}

int CloseOut(int status) {
  FlushOut();
  if (std::ferror(stdout) != 0) NoteOutput(true);
  errno = 0;
  // Closing an output that was closed from the start loses nothing.
  if (std::fclose(stdout) != 0 && (errno != EBADF || outputWritten)) NoteOutput(true);
  if (outputError == 0) return status;
  ReportError(std::string("standard output: ") + std::strerror(outputError));
  return status == 0 ? 1 : status;
}

void ReportError(std::string_view message) {
  std::string line = "moswit-cli: ";
  line.append(message);
  line.push_back('\n');
  std::fwrite(line.data(), 1, line.size(), stderr);
}

bool DidTargetUsable(const std::string& path) {
  const std::string trouble = DidTargetTrouble(PathFromText(path));
  if (!trouble.empty()) ReportError(path + ": " + trouble);
  return trouble.empty();
}

ImagePtr LoadOrReport(const std::string& path) {
  FileError error;
  ImagePtr image = LoadImage(path, &error);
  if (!image) ReportError(FormatFileError(error));
  return image;
}

std::unique_ptr<DatabaseInfo> ReadOrReport(const std::string& path, bool* partial) {
  DidReadResult read = ReadDatabase(PathFromText(path));
  if (!read.database) ReportError(FormatFileError(read.error));
  if (read.database && partial != nullptr) {
    *partial = read.skips.Any();
    if (*partial) ReportError(DidSkipWarning(path, read.skips));
  }
  return std::move(read.database);
}

bool FolderReadable(const std::string& folder) {
  std::error_code error;
  std::filesystem::directory_iterator probe(PathFromText(folder), error);
  if (error) ReportError(FormatFileError({folder, error.message()}));
  return !error;
}

}  // namespace moswit::cli
