// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/mainform.h"

#include <filesystem>
#include <system_error>

#include "base/asciicase.h"
#include "base/pathtext.h"
#include "base/platformfile.h"
#include "scan/imagelist.h"

namespace moswit {

bool ShowInBrowser(std::string_view fullPath, bool isFolder, bool driveLetters) {
  if (isFolder) {
    if (!driveLetters) return true;
    const std::string_view head = fullPath.substr(0, 2);
    return head != "A:" && head != "B:";
  }
  return ImageEndingLength(fullPath) > 0;
}

std::string WithDidExtension(std::string path) {
  if (!EndsWithUpper(path, ".DID")) path += ".did";
  return path;
}

std::string DidFileKey(std::string_view path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(PathFromText(path), error);
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, error);
  return PathText((error ? absolute : resolved).lexically_normal());
}

bool SameDidFile(std::string_view a, std::string_view b) {
  return SameFileOnDisk(PathFromText(a), PathFromText(b)) || DidFileKey(a) == DidFileKey(b);
}

std::string ToolkitFilter(std::string_view filter) {
  std::string result;
  while (!filter.empty()) {
    const size_t bar = filter.find('|');
    const std::string_view text = filter.substr(0, bar);
    std::string_view pattern;
    if (bar == std::string_view::npos) {
      filter = {};
    } else {
      filter.remove_prefix(bar + 1);
      const size_t next = filter.find('|');
      pattern = filter.substr(0, next);
      filter = next == std::string_view::npos ? std::string_view{} : filter.substr(next + 1);
    }
    if (!result.empty()) result += ";;";
    result += text;
    const std::string named = "(" + std::string(pattern) + ")";
    if (!pattern.empty() && text.find(named) == std::string_view::npos) result += " " + named;
  }
  return result;
}

std::string InitialDialogFolder(std::string_view home, bool driveLetters) {
  return driveLetters ? std::string("c:\\") : std::string(home);
}

}  // namespace moswit
