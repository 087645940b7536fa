// SPDX-License-Identifier: GPL-2.0-or-later
// The Renamer's copying of identified images to its target folder, on a
// worker thread: the worker reports each step and the end through queued
// signals, so it never touches a widget and a closed window simply stops
// receiving.
#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "collection/organize.h"

namespace moswit {

class CopyChannel : public QObject, public OrganizeReport {
  Q_OBJECT

 public:
  using QObject::QObject;

  // Called on the worker thread.
  void StepStarted(size_t index, size_t count, const OrganizeStep& step) override;
  void StepDone(size_t index, const OrganizeStep& step) override;
  void Finish(const OrganizeTotals& totals, const std::vector<OrganizeStep>& steps);

 signals:
  // Step `done` of `total` begins; `status` is the status line for it.
  void Started(qsizetype done, qsizetype total, const QString& status);
  // The run is over after `done` steps: the summary, and why steps are
  // conflicts or failed.
  void Finished(qsizetype done, const QString& summary, const QString& troubles);
};

}  // namespace moswit
