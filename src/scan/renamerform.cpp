#include "scan/renamerform.h"

namespace moswit {

namespace {

// Reads the decimal number at the front of `text` and drops it.
std::optional<size_t> TakeNumber(std::string_view& text) {
  size_t value = 0;
  size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
    value = value * 10 + static_cast<size_t>(text[digits] - '0');
    ++digits;
  }
  if (digits == 0 || digits > 10) return std::nullopt;
  text.remove_prefix(digits);
  return value;
}

bool TakePrefix(std::string_view& text, std::string_view prefix) {
  if (text.substr(0, prefix.size()) != prefix) return false;
  text.remove_prefix(prefix.size());
  return true;
}

}  // namespace

std::string DefaultScanFolder(std::string_view home, bool driveLetters, char separator) {
  if (driveLetters) return "C:\\";
  std::string folder(home);
  if (folder.empty() || folder.back() != separator) folder += separator;
  return folder;
}

std::optional<std::string> PickedFolder(std::string_view path, char separator) {
  const size_t last = path.rfind(separator);
  if (last == std::string_view::npos) return std::nullopt;
  return std::string(path.substr(0, last + 1));
}

std::optional<ScanProgress> ParseScanningStatus(std::string_view status) {
  if (!TakePrefix(status, "Scanning file ")) return std::nullopt;
  const auto done = TakeNumber(status);
  if (!done || !TakePrefix(status, " of ")) return std::nullopt;
  const auto total = TakeNumber(status);
  if (!total || !TakePrefix(status, " [") || *done > *total) return std::nullopt;
  return ScanProgress{*done, *total};
}

}  // namespace moswit
