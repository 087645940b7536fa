// SPDX-License-Identifier: GPL-2.0-or-later
// The Renamer's scan thread, and the queue through which the scan reports
// to its window: the worker only appends to the queue; the window empties
// it on its own thread and applies the reports in the order they came.
#pragma once

#include <QObject>
#include <QThread>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "scan/scanner.h"

namespace moswit {

// A thread that runs one callback with its user pointer and then frees
// itself (through its owner's event loop).
class TCustomThread : public QThread {
  Q_OBJECT

 public:
  using Callback = std::function<void(void* user)>;

  explicit TCustomThread(QObject* owner = nullptr);

  Callback callback;
  void* user = nullptr;

 protected:
  void run() override;
};

struct ScanEvent {
  enum Kind { kStatus, kRowsCleared, kRowsListed, kRowResult, kProgress, kEnded };
  Kind kind = kStatus;
  std::string text;                   // status text or result line
  std::vector<std::string> captions;  // the listed rows
  size_t row = 0;
  size_t done = 0;  // progress: image done of total
  size_t total = 0;
  bool hadCandidates = false;
};

class ScanChannel : public QObject, public ScanReport {
  Q_OBJECT

 public:
  using QObject::QObject;

  // Called on the worker thread.
  void Status(const std::string& text) override;
  void RowsCleared() override;
  void RowsListed(const std::vector<ImageRow>& rows) override;
  void RowResult(size_t row, const std::string& line, bool hadCandidates) override;
  void Progress(size_t done, size_t total) override;
  void Ended(bool stopped) override;

  // Called on the window's thread: every report queued so far, in order.
  std::vector<ScanEvent> Take();

 signals:
  // Raised once for each batch: a report arrived while the queue was empty.
  void Pending();

 private:
  void Push(ScanEvent event);

  std::mutex mutex_;
  std::vector<ScanEvent> events_;
  bool pending_ = false;
};

}  // namespace moswit
