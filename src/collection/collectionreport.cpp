// SPDX-License-Identifier: GPL-2.0-or-later
#include "collection/collectionreport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <future>
#include <unordered_map>

#include "base/codepage.h"
#include "base/numbertext.h"
#include "base/pathtext.h"
#include "base/platformfile.h"
#include "database/standardname.h"

namespace moswit {

namespace {

// Whether `match` beats the disk's best image so far.
bool Beats(const GameMatch& match, const DiskEntry& entry) {
  if (entry.best == kNoImage) return true;
  if (match.accuracy != entry.accuracy) return match.accuracy > entry.accuracy;
  // Images come in listing order, so an equal one never replaces.
  return match.differences < entry.differences;
}

// A report field holds no TAB and no line end.
std::string OneField(std::string text) {
  for (char& c : text) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

}  // namespace

std::vector<DiskEntry> DiskEntries(const DatabaseInfo& database) {
  size_t count = 0;
  for (const GameRecord& game : database.games) count += game.disks.Size();
  std::vector<DiskEntry> disks;
  disks.reserve(count);
  for (const GameRecord& game : database.games) {
    for (const DiskRecord& disk : game.disks) {
      DiskEntry& entry = disks.emplace_back();
      entry.game = &game;
      entry.disk = &disk;
      entry.name = StandardName(game, disk);
    }
  }
  return disks;
}

CollectionReport BuildCollectionReport(std::vector<DiskEntry> disks, ScanOutcomes outcomes) {
  CollectionReport report;
  report.disks = std::move(disks);
  report.images = std::move(outcomes.images);
  // The few disks the images fill, each with its best image so far.
  std::unordered_map<const DiskRecord*, DiskEntry> filled;
  for (size_t i = 0; i < report.images.size(); ++i) {
    const ImageOutcome& image = report.images[i];
    if (!image.fills) {
      report.unknown.push_back(i);
      continue;
    }
    const GameMatch& match = *image.fills;
    DiskEntry& entry = filled[match.disk];
    if (!Beats(match, entry)) continue;
    entry.best = i;
    entry.accuracy = match.accuracy;
    entry.codes = match.codes;
    entry.differences = match.differences;
  }
  for (DiskEntry& entry : report.disks) {
    const auto named = outcomes.namedBy.find(entry.disk);
    entry.images = named == outcomes.namedBy.end() ? 0 : named->second;
    const auto found = filled.find(entry.disk);
    if (found == filled.end()) {
      entry.status = DiskStatus::kMissing;
      continue;
    }
    entry.best = found->second.best;
    entry.accuracy = found->second.accuracy;
    entry.codes = std::move(found->second.codes);
    entry.differences = found->second.differences;
    const bool perfect = entry.accuracy == 1000 && entry.codes.empty();
    entry.status = perfect ? DiskStatus::kHave : DiskStatus::kPartial;
  }
  return report;
}

CollectionReport BuildCollectionReport(const DatabaseInfo& database, ScanOutcomes outcomes) {
  return BuildCollectionReport(DiskEntries(database), std::move(outcomes));
}

CollectionReport ScanCollection(const DatabaseInfo& database, const std::string& folder,
                                ScanReport* progress, size_t jobs, const std::string& skipFolder,
                                bool checkFiles) {
  // The DID's half of the report does not wait for the scan.
  std::future<std::vector<DiskEntry>> disks =
      std::async(std::launch::async, DiskEntries, std::cref(database));
  OutcomeRecorder recorder(folder, progress, checkFiles);
  RunScan(database, folder, recorder, nullptr, jobs, skipFolder);
  return BuildCollectionReport(disks.get(), recorder.TakeOutcomes());
}

const char* StatusWord(DiskStatus status) {
  switch (status) {
    case DiskStatus::kHave:
      return "have";
    case DiskStatus::kPartial:
      return "partial";
    case DiskStatus::kMissing:
      break;
  }
  return "missing";
}

std::string ReportText(const CollectionReport& report) {
  size_t length = 0;
  for (const DiskEntry& entry : report.disks) length += entry.name.size() + 32;
  std::string text;
  text.reserve(length + 32 * report.unknown.size());
  for (const DiskEntry& entry : report.disks) {
    text += StatusWord(entry.status);
    text += '\t';
    text += Utf8FromCp1252(entry.name);
    text += '\t';
    if (entry.best != kNoImage) {
      text += report.images[entry.best].relative;
      text += '\t';
      text += IntToDec(entry.accuracy);
      text += '\t';
      text += entry.codes;
    } else {
      text += "\t\t";
    }
    text += '\t';
    text += std::to_string(entry.images);
    text += '\n';
  }
  for (size_t image : report.unknown) {
    text += "unknown\t\t" + report.images[image].relative + "\t\t" +
            OneField(report.images[image].unreadable) + "\t\n";
  }
  return text;
}

std::optional<FileError> WriteReport(const std::string& path, const CollectionReport& report) {
  const std::string text = ReportText(report);
  std::FILE* file = OpenFile(PathFromText(path), "wb");
  if (file == nullptr) return FileError{path, std::strerror(errno)};
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const int error = errno;
  if (std::fclose(file) != 0 || !written) {
    return FileError{path, std::strerror(written ? errno : error)};
  }
  return std::nullopt;
}

StatusCounts CountStatuses(const CollectionReport& report) {
  StatusCounts counts;
  for (const DiskEntry& entry : report.disks) {
    switch (entry.status) {
      case DiskStatus::kHave:
        ++counts.have;
        break;
      case DiskStatus::kPartial:
        ++counts.partial;
        break;
      case DiskStatus::kMissing:
        ++counts.missing;
        break;
    }
  }
  return counts;
}

std::string ReportSummary(const CollectionReport& report) {
  const StatusCounts counts = CountStatuses(report);
  return std::to_string(report.disks.size()) + " disks: " + std::to_string(counts.have) +
         " have, " + std::to_string(counts.partial) + " partial, " +
         std::to_string(counts.missing) + " missing; " + std::to_string(report.unknown.size()) +
         " unknown images";
}

}  // namespace moswit
