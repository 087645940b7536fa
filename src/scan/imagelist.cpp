#include "scan/imagelist.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>

namespace moswit {

namespace {

using FolderId = std::pair<dev_t, ino_t>;

void ListFolder(const std::string& folder, size_t sourceLength, std::set<FolderId>& entered,
                std::vector<ImageRow>& rows) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0 || !entered.insert({info.st_dev, info.st_ino}).second) {
    return;
  }
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    const char* name = entry->d_name;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    const std::string path = folder + name;
    if (::stat(path.c_str(), &info) != 0) continue;  // a dangling link
    if (S_ISDIR(info.st_mode)) {
      ListFolder(path + kPathSeparator, sourceLength, entered, rows);
    } else if (S_ISREG(info.st_mode) && HasAdfExtension(path)) {
      // Fifos and devices are never opened: reading one could block the scan.
      rows.push_back({path.substr(sourceLength, path.size() - sourceLength - 4), path});
    }
  }
  ::closedir(dir);
}

}  // namespace

std::string WithTrailingSeparator(const std::string& folder) {
  if (folder.empty() || folder.back() == kPathSeparator) return folder;
  return folder + kPathSeparator;
}

bool HasAdfExtension(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return tail == ".ADF";
}

std::vector<ImageRow> ListImages(const std::string& folder) {
  std::vector<ImageRow> rows;
  if (folder.empty()) return rows;
  std::set<FolderId> entered;
  ListFolder(folder, folder.size(), entered, rows);
  return rows;
}

void SortRows(std::vector<ImageRow>& rows) {
  std::stable_sort(rows.begin(), rows.end(), [](const ImageRow& a, const ImageRow& b) {
    const int order = std::strcoll(a.caption.c_str(), b.caption.c_str());
    if (order != 0) return order < 0;
    return a.caption < b.caption;
  });
}

}  // namespace moswit
