// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/scanoutcomes.h"

#include "base/pathtext.h"

namespace moswit {

namespace {

std::string LowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

const GameMatch* FilledDisk(const std::vector<GameMatch>& games) {
  const GameMatch* best = nullptr;
  for (const GameMatch& match : games) {
    if (best == nullptr || match.accuracy > best->accuracy ||
        (match.accuracy == best->accuracy && match.differences < best->differences)) {
      best = &match;
    }
  }
  return best;
}

void AddLine(ScanOutcomes& outcomes, size_t image, const std::vector<GameMatch>& games) {
  for (const GameMatch& match : games) ++outcomes.namedBy[match.disk];
  if (image >= outcomes.images.size()) return;
  const GameMatch* filled = FilledDisk(games);
  outcomes.images[image].fills.reset();
  if (filled != nullptr) outcomes.images[image].fills = *filled;
}

std::string RowEnding(const ImageRow& row) {
  if (row.member != kFirstImageMember) return ".adf";
  const std::string name = PathText(PathFromText(row.path).filename());
  if (const size_t ending = ImageEndingLength(name); ending > 0) {
    return LowerCase(name.substr(name.size() - ending));
  }
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : LowerCase(name.substr(dot));
}

void DropOutcomesBelow(std::vector<ImageOutcome>& outcomes, const std::string& folder) {
  if (folder.empty()) return;
  std::vector<ImageRow> rows;
  rows.reserve(outcomes.size());
  for (const ImageOutcome& outcome : outcomes) rows.push_back({{}, outcome.path});
  DropRowsBelow(rows, folder);
  // Both keep their order, so the rows left pick the outcomes left.
  size_t kept = 0;
  for (size_t i = 0; i < outcomes.size() && kept < rows.size(); ++i) {
    if (rows[kept].path != outcomes[i].path) continue;
    if (i != kept) outcomes[kept] = std::move(outcomes[i]);
    ++kept;
  }
  outcomes.resize(kept);
}

OutcomeRecorder::OutcomeRecorder(const std::string& sourceFolder, ScanReport* next, bool checkFiles)
    : folder_(WithTrailingSeparator(sourceFolder)), next_(next), checkFiles_(checkFiles) {}

void OutcomeRecorder::Status(const std::string& text) {
  if (next_) next_->Status(text);
}

void OutcomeRecorder::RowsCleared() {
  outcomes_ = {};
  complete_ = false;
  if (next_) next_->RowsCleared();
}

void OutcomeRecorder::RowsListed(const std::vector<ImageRow>& rows) {
  outcomes_.images.reserve(rows.size());
  for (const ImageRow& row : rows) {
    ImageOutcome outcome;
    outcome.path = row.path;
    outcome.relative = row.path.starts_with(folder_) ? row.path.substr(folder_.size()) : row.path;
    if (row.member != kFirstImageMember) outcome.relative += kPathSeparator + row.memberName;
    outcome.ending = RowEnding(row);
    outcome.member = row.member;
    outcomes_.images.push_back(std::move(outcome));
  }
  if (next_) next_->RowsListed(rows);
}

void OutcomeRecorder::RowRead(size_t row, const RowFile& file) {
  if (row < outcomes_.images.size()) {
    outcomes_.images[row].file = file.check;
    outcomes_.images[row].unreadable = file.unreadable;
  }
  if (next_) next_->RowRead(row, file);
}

void OutcomeRecorder::RowGames(size_t row, const std::vector<GameMatch>& games) {
  AddLine(outcomes_, row, games);
  if (next_) next_->RowGames(row, games);
}

void OutcomeRecorder::RowResult(size_t row, const std::string& line, bool hadCandidates) {
  if (next_) next_->RowResult(row, line, hadCandidates);
}

void OutcomeRecorder::Progress(size_t done, size_t total) {
  if (next_) next_->Progress(done, total);
}

void OutcomeRecorder::Ended(bool stopped) {
  complete_ = !stopped;
  if (next_) next_->Ended(stopped);
}

}  // namespace moswit
