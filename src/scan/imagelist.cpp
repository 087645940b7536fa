#include "scan/imagelist.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>
#include <utility>

#include "base/asciicase.h"
#include "base/collate.h"

namespace moswit {

namespace {

using FolderId = std::pair<dev_t, ino_t>;

void ListFolder(const std::string& folder, size_t sourceLength, std::set<FolderId>& entered,
                std::vector<ImageRow>& rows, const std::atomic<bool>* stop) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0 || !entered.insert({info.st_dev, info.st_ino}).second) {
    return;
  }
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    if (stop && stop->load(std::memory_order_relaxed)) break;
    const char* name = entry->d_name;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    const std::string path = folder + name;
    if (::stat(path.c_str(), &info) != 0) continue;  // a dangling link
    if (S_ISDIR(info.st_mode)) {
      ListFolder(path + kPathSeparator, sourceLength, entered, rows, stop);
    } else if (const size_t ending = ImageEndingLength(name); S_ISREG(info.st_mode) && ending > 0) {
      // Fifos and devices are never opened: reading one could block the scan.
      rows.push_back({path.substr(sourceLength, path.size() - sourceLength - ending), path});
    }
  }
  ::closedir(dir);
}

}  // namespace

std::string WithTrailingSeparator(const std::string& folder) {
  if (folder.empty() || folder.back() == kPathSeparator) return folder;
  return folder + kPathSeparator;
}

bool HasAdfExtension(const std::string& name) { return EndsWithUpper(name, ".ADF"); }

size_t ImageEndingLength(std::string_view name) {
  for (std::string_view ending : kImageEndings) {
    if (EndsWithUpper(name, ending)) return ending.size();
  }
  return 0;
}

std::string ImageFileStem(const std::string& path) {
  const std::filesystem::path file(path);
  const std::string name = file.filename().string();
  const size_t ending = ImageEndingLength(name);
  return ending > 0 ? name.substr(0, name.size() - ending) : file.stem().string();
}

std::vector<ImageRow> ListImages(const std::string& folder, const std::atomic<bool>* stop) {
  std::vector<ImageRow> rows;
  if (folder.empty()) return rows;
  std::set<FolderId> entered;
  ListFolder(folder, folder.size(), entered, rows, stop);
  return rows;
}

void SortRows(std::vector<ImageRow>& rows) {
  std::stable_sort(rows.begin(), rows.end(), [](const ImageRow& a, const ImageRow& b) {
    return CollateLess(a.caption, b.caption);
  });
}

}  // namespace moswit
