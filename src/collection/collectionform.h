// SPDX-License-Identifier: GPL-2.0-or-later
// The texts and rules of the Renamer's result menu, apart from its
// widgets: saving the report of a scan and copying the identified images
// to the target folder.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "collection/organize.h"

namespace moswit {

constexpr char kCopyRowsCaption[] = "Copy";
constexpr char kSaveReportCaption[] = "Save report...";
constexpr char kCopyToTargetCaption[] = "Copy identified images to target directory";
constexpr char kStopCopyingCaption[] = "Stop copying";

constexpr char kStoppingCopyStatus[] = "Stopping after the image being copied ...";

constexpr char kSaveReportTitle[] = "Save report";
constexpr char kReportFilter[] = "Text files (*.txt);;All files (*)";
constexpr char kReportFileName[] = "report.txt";

constexpr char kCopyChoice[] = "Copy";
constexpr char kCancelChoice[] = "Cancel";
constexpr int kCopyChosen = 0;

struct PlanCounts {
  size_t toCopy = 0;     // nothing at the destination yet
  size_t there = 0;      // something at the destination: compared, never replaced
  size_t conflicts = 0;  // a name taken by an earlier disk, or by another file there
};
PlanCounts CountPlan(const std::vector<OrganizeStep>& steps);

// The question before copying, naming the target folder and what will be
// done; empty when there is nothing to do (then NothingToCopy says so).
std::string CopyQuestion(const PlanCounts& counts, const std::string& target);
std::string NothingToCopy(const std::string& target);

// Said instead of copying when the target folder holds the source folder
// (no image would be left to copy, since none below the target is taken),
// or when no target folder is given.
std::string NoUsableTarget(const std::string& target);

// Where "Save report..." starts: the target folder when one is given
// outside the collection, else the home folder, else (a collection that
// holds the home folder) the folder above the collection; never inside it.
std::string ReportFolder(const std::string& target, const std::string& collection,
                         const std::string& home);

// The status line once the report is saved: "Report saved. " + its summary.
std::string ReportSavedStatus(const CollectionReport& report);

// "Copying file i of n [p] / " + destination, as the scan's status line.
std::string CopyingStatus(size_t i, size_t n, const std::string& destination);

// "Copied C, same S, conflicts K, failed F." after "Stopped. " when the
// run was stopped.
std::string CopySummary(const OrganizeTotals& totals);

// Why steps are conflicts or failed, one line each, at most `most` lines
// and then how many more; empty when every step went well.
std::string CopyTroubles(const std::vector<OrganizeStep>& steps, size_t most = 10);

// The choices of CopyQuestion: Copy, then Cancel (which keeps everything).
std::vector<std::string> CopyChoices();

}  // namespace moswit
