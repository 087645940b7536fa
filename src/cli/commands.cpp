// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/commands.h"

#include <filesystem>

#include "base/pathtext.h"
#include "database/didreader.h"
#include "image/adf.h"

namespace moswit::cli {

void WriteOut(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void ReportError(std::string_view message) {
  std::string line = "moswit-cli: ";
  line.append(message);
  line.push_back('\n');
  std::fwrite(line.data(), 1, line.size(), stderr);
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
