#include <string>
#include <vector>

#include "cli/commands.h"
#include "compare/comparetables.h"
#include "image/adf.h"
#include "image/filesystem.h"

namespace moswit::cli {

namespace {

void AppendRow(std::string& out, std::string_view kind, const std::vector<std::string_view>& head,
               const TableRow& row, size_t skip) {
  out.append(kind);
  for (std::string_view field : head) {
    out.push_back('\t');
    out.append(field);
  }
  out.push_back('\t');
  out.push_back(row.equal ? '=' : '!');
  for (size_t i = skip; i < row.subItems.size(); ++i) {
    out.push_back('\t');
    out.append(row.subItems[i]);
  }
  out.push_back('\n');
}

}  // namespace

int RunCompare(const Args& args) {
  // Every image is walked as the Inspector walks it, numbered in argument order.
  std::vector<ImagePtr> images;
  std::vector<FileList> lists;
  for (const std::string& path : args) {
    ImagePtr image = LoadOrReport(path);
    if (!image) return 1;
    lists.push_back(ListFiles(*image, ImageIsFfs(*image)));
    images.push_back(std::move(image));
  }
  std::vector<CompareImage> compared;
  for (size_t k = 0; k < images.size(); ++k) {
    compared.push_back({static_cast<uint8_t>(k), images[k]->Data, lists[k]});
  }
  const CompareTables tables = BuildCompareTables(compared);
  std::string out;
  for (const TableRow& row : tables.files.rows) AppendRow(out, "F", {row.caption}, row, 0);
  for (const TableRow& row : tables.ranges.rows) {
    AppendRow(out, "R", {row.caption, row.subItems[0]}, row, 1);
  }
  WriteOut(out);
  return 0;
}

}  // namespace moswit::cli
