#include "base/pathtext.h"

namespace moswit {

#ifdef _WIN32

std::filesystem::path PathFromText(std::string_view text) {
  return std::filesystem::path(
      std::u8string_view(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

#else

std::filesystem::path PathFromText(std::string_view text) { return std::filesystem::path(text); }

std::string PathText(const std::filesystem::path& path) { return path.string(); }

#endif

}  // namespace moswit
