// SPDX-License-Identifier: GPL-2.0-or-later
#include "editors/commentmemo.h"

namespace moswit {

std::vector<std::string> SplitMemoLines(std::string_view memo) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < memo.size()) {
    size_t end = memo.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(memo.substr(start));
      break;
    }
    lines.emplace_back(memo.substr(start, end - start));
    start = end + 1;
    if (memo[end] == '\r' && start < memo.size() && memo[start] == '\n') ++start;
  }
  return lines;
}

std::string JoinMemoLines(std::string_view memo) { return JoinLines(SplitMemoLines(memo)); }

std::string LoadComment(const RecordText& comment) { return LoadText(comment); }

void StoreComment(std::string_view memo, RecordText& comment) {
  StoreText(comment, JoinMemoLines(memo));
}

}  // namespace moswit
