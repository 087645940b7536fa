// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/window/renamerwindowworker.h"

#include <utility>

namespace moswit {

TCustomThread::TCustomThread(QObject* owner) : QThread(owner) {
  connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void TCustomThread::run() {
  if (callback) callback(user);
}

void ScanChannel::Status(const std::string& text) {
  ScanEvent event;
  event.text = text;
  Push(std::move(event));
}

void ScanChannel::RowsCleared() {
  ScanEvent event;
  event.kind = ScanEvent::kRowsCleared;
  Push(std::move(event));
}

void ScanChannel::RowsListed(const std::vector<ImageRow>& rows) {
  ScanEvent event;
  event.kind = ScanEvent::kRowsListed;
  event.captions.reserve(rows.size());
  for (const ImageRow& row : rows) event.captions.push_back(row.caption);
  Push(std::move(event));
}

void ScanChannel::RowResult(size_t row, const std::string& line, bool hadCandidates) {
  ScanEvent event;
  event.kind = ScanEvent::kRowResult;
  event.row = row;
  event.text = line;
  event.hadCandidates = hadCandidates;
  Push(std::move(event));
}

void ScanChannel::Progress(size_t done, size_t total) {
  ScanEvent event;
  event.kind = ScanEvent::kProgress;
  event.done = done;
  event.total = total;
  Push(std::move(event));
}

void ScanChannel::Ended(bool) {
  ScanEvent event;
  event.kind = ScanEvent::kEnded;
  Push(std::move(event));
}

std::vector<ScanEvent> ScanChannel::Take() {
  std::lock_guard lock(mutex_);
  pending_ = false;
  return std::exchange(events_, {});
}

void ScanChannel::Push(ScanEvent event) {
  bool raise = false;
  {
    std::lock_guard lock(mutex_);
    events_.push_back(std::move(event));
    raise = !std::exchange(pending_, true);
  }
  // One queued signal per batch keeps the window's event queue short
  // however fast the scan reports.
  if (raise) emit Pending();
}

}  // namespace moswit
