// SPDX-License-Identifier: GPL-2.0-or-later
// A ScanReport that keeps everything a scan reports: each report as one
// text, in order, and the result line of each row by caption.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "scan/scanner.h"

namespace moswit::test {

class ScanRecorder : public ScanReport {
 public:
  void Status(const std::string& text) override { events.push_back("status " + text); }
  void RowsCleared() override { events.push_back("cleared"); }
  void RowsListed(const std::vector<ImageRow>& rows) override {
    std::string e = "listed";
    for (const ImageRow& r : rows) e += " " + r.caption;
    events.push_back(e);
    captions.clear();
    for (const ImageRow& r : rows) captions.push_back(r.caption);
  }
  void RowResult(size_t row, const std::string& line, bool beep) override {
    events.push_back("row " + std::to_string(row) + (beep ? " beep " : " ") + line);
    results[captions.at(row)] = line;
  }
  void Progress(size_t done, size_t total) override {
    events.push_back("progress " + std::to_string(done) + "/" + std::to_string(total));
  }
  void Ended(bool stopped) override { events.push_back(stopped ? "stopped" : "ended"); }

  std::vector<std::string> events;
  std::vector<std::string> captions;
  std::map<std::string, std::string> results;
};

}  // namespace moswit::test
