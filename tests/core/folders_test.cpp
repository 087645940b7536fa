// SPDX-License-Identifier: GPL-2.0-or-later
// The folders of src/ include each other one way: each folder includes only
// folders before it in the README's include order, and no folder includes one
// that, directly or through others, includes it back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace moswit {
namespace {

namespace fs = std::filesystem;
using Graph = std::map<std::string, std::set<std::string>>;

// Folder -> the folders its files include, by the quoted includes' paths.
Graph FolderIncludes(const fs::path& src) {
  const std::regex include(R"re(#include "([^"]+)")re");
  Graph graph;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(src)) {
    const fs::path& path = entry.path();
    if (path.extension() != ".h" && path.extension() != ".cpp") continue;
    const std::string folder = fs::relative(path.parent_path(), src).generic_string();
    graph[folder];
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    const std::string source = text.str();
    for (std::sregex_iterator it(source.begin(), source.end(), include), end; it != end; ++it) {
      const std::string target = fs::path((*it)[1].str()).parent_path().generic_string();
      if (!target.empty() && target != folder) graph[folder].insert(target);
    }
  }
  return graph;
}

// The first cycle found, as its folders in include order; empty for none.
std::vector<std::string> FindCycle(const Graph& graph) {
  enum State { kNew, kOnPath, kDone };
  std::map<std::string, State> state;
  std::vector<std::string> path;
  std::vector<std::string> cycle;
  const auto visit = [&](const auto& self, const std::string& folder) -> bool {
    state[folder] = kOnPath;
    path.push_back(folder);
    const auto edges = graph.find(folder);
    if (edges != graph.end()) {
      for (const std::string& next : edges->second) {
        if (state[next] == kOnPath) {
          cycle.assign(std::find(path.begin(), path.end(), next), path.end());
          cycle.push_back(next);
          return true;
        }
        if (state[next] == kNew && self(self, next)) return true;
      }
    }
    path.pop_back();
    state[folder] = kDone;
    return false;
  };
  for (const auto& [folder, edges] : graph) {
    if (state[folder] == kNew && visit(visit, folder)) break;
  }
  return cycle;
}

// The folders named in backquotes on the README's "Include order:" lines,
// lowest first, up to the blank line that ends them.
std::vector<std::string> ReadmeOrder(const fs::path& readme) {
  std::ifstream file(readme);
  std::vector<std::string> order;
  const std::regex quoted("`([^`]+)`");
  bool inOrder = false;
  for (std::string line; std::getline(file, line);) {
    if (line.starts_with("Include order:")) inOrder = true;
    if (!inOrder) continue;
    if (line.empty()) break;
    for (std::sregex_iterator it(line.begin(), line.end(), quoted), end; it != end; ++it) {
      order.push_back((*it)[1].str());
    }
  }
  return order;
}

// Every include against the order, as "from -> to", and every folder the
// order does not name, as "from: not in the order".
std::vector<std::string> OrderBreaks(const Graph& graph, const std::vector<std::string>& order) {
  const auto rank = [&](const std::string& folder) {
    return std::find(order.begin(), order.end(), folder) - order.begin();
  };
  const auto unplaced = static_cast<std::ptrdiff_t>(order.size());
  std::vector<std::string> breaks;
  for (const auto& [folder, targets] : graph) {
    if (rank(folder) == unplaced) {
      breaks.push_back(folder + ": not in the order");
      continue;
    }
    for (const std::string& target : targets) {
      if (rank(target) >= rank(folder)) breaks.push_back(folder + " -> " + target);
    }
  }
  return breaks;
}

std::string Joined(const std::vector<std::string>& folders) {
  std::string text;
  for (const std::string& folder : folders) text += (text.empty() ? "" : " -> ") + folder;
  return text;
}

TEST(Folders, IncludeEachOtherOneWayOnly) {
  EXPECT_EQ(Joined(FindCycle(FolderIncludes(MOSWIT_SOURCE_DIR))), "");
}

TEST(Folders, IncludeOnlyFoldersBeforeThem) {
  const std::vector<std::string> order = ReadmeOrder(fs::path(MOSWIT_SOURCE_DIR) / "../README.md");
  ASSERT_GT(order.size(), 10u) << "no include order in README.md";
  for (const std::string& breach : OrderBreaks(FolderIncludes(MOSWIT_SOURCE_DIR), order)) {
    ADD_FAILURE() << breach;
  }
}

TEST(Folders, OrderBreaksAreIncludesUpwardAndFoldersOutsideTheOrder) {
  const std::vector<std::string> order{"base", "image", "gui", "image/window"};
  const Graph graph{{"base", {}},
                    {"image", {"base"}},
                    {"gui", {"image", "image/window"}},
                    {"image/window", {"gui", "base"}},
                    {"app", {"gui"}}};
  EXPECT_EQ(OrderBreaks(graph, order),
            (std::vector<std::string>{"app: not in the order", "gui -> image/window"}));
  EXPECT_EQ(OrderBreaks({{"base", {"base"}}}, order), (std::vector<std::string>{"base -> base"}));
}

TEST(Folders, CycleFinderFindsLongCycles) {
  const Graph graph{{"a", {"b"}}, {"b", {"c"}}, {"c", {"a", "d"}}, {"d", {}}};
  EXPECT_EQ(Joined(FindCycle(graph)), "a -> b -> c -> a");
  EXPECT_EQ(Joined(FindCycle({{"a", {"b"}}, {"b", {"c"}}, {"a2", {"c"}}})), "");
}

}  // namespace
}  // namespace moswit
