#include "cli/commands.h"

namespace moswit::cli {

void WriteOut(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void ReportError(std::string_view message) {
  std::string line = "moswit-cli: ";
  line.append(message);
  line.push_back('\n');
  std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace moswit::cli
