// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/imagelist.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>

#include "base/asciicase.h"
#include "base/collate.h"
#include "base/pathtext.h"
#include "base/platformfile.h"

namespace moswit {

namespace {

namespace fs = std::filesystem;

void ListFolder(const std::string& folder, size_t sourceLength, std::set<FileKey>& entered,
                std::vector<ImageRow>& rows, const std::atomic<bool>* stop) {
  FileKey key;
  if (!KeyOfFile(PathFromText(folder), key) || !entered.insert(key).second) return;
  std::error_code error;
  for (fs::directory_iterator entry(PathFromText(folder), error), end; !error && entry != end;
       entry.increment(error)) {
    if (stop && stop->load(std::memory_order_relaxed)) break;
    const std::string name = PathText(entry->path().filename());
    const std::string path = folder + name;
    std::error_code statusError;
    const fs::file_status status = entry->status(statusError);
    if (statusError) continue;  // a dangling link
    if (fs::is_directory(status)) {
      ListFolder(path + kPathSeparator, sourceLength, entered, rows, stop);
    } else if (fs::is_regular_file(status) && ImageEndingLength(name) > 0) {
      // Fifos and devices are never opened: reading one could block the scan.
      AppendImageRows(path, ImageCaption(std::string_view(path).substr(sourceLength)), rows);
    }
  }
}

}  // namespace

std::string WithTrailingSeparator(const std::string& folder) {
  if (folder.empty() || folder.back() == kPathSeparator ||
      folder.back() == static_cast<char>(fs::path::preferred_separator)) {
    return folder;
  }
  return folder + kPathSeparator;
}

size_t ImageEndingLength(std::string_view name) {
  for (std::string_view ending : kImageEndings) {
    if (EndsWithUpper(name, ending)) return ending.size();
  }
  return 0;
}

std::string ImageFileStem(const std::string& path) {
  const fs::path file = PathFromText(path);
  const std::string name = PathText(file.filename());
  const size_t ending = ImageEndingLength(name);
  return ending > 0 ? name.substr(0, name.size() - ending) : PathText(file.stem());
}

std::string ImageCaption(std::string_view relative) {
  return std::string(EndsWithUpper(relative, ".ADF") ? relative.substr(0, relative.size() - 4)
                                                     : relative);
}

void AppendImageRows(const std::string& path, const std::string& caption,
                     std::vector<ImageRow>& rows) {
  if (EndsWithUpper(path, ".ZIP")) {
    std::vector<ArchiveMember> members = ArchiveImageMembers(path);
    if (members.size() > 1) {
      for (ArchiveMember& member : members) {
        rows.push_back({caption + kPathSeparator + ImageCaption(member.name), path, member.position,
                        std::move(member.name)});
      }
      return;
    }
  }
  rows.push_back({caption, path});
}

std::vector<ImageRow> ListImages(const std::string& folder, const std::atomic<bool>* stop) {
  std::vector<ImageRow> rows;
  if (folder.empty()) return rows;
  std::set<FileKey> entered;
  ListFolder(folder, folder.size(), entered, rows, stop);
  return rows;
}

void SortRows(std::vector<ImageRow>& rows) {
  std::stable_sort(rows.begin(), rows.end(), [](const ImageRow& a, const ImageRow& b) {
    return CollateLess(a.caption, b.caption);
  });
}

}  // namespace moswit
