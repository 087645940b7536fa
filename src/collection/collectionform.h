// SPDX-License-Identifier: GPL-2.0-or-later
// The texts and rules of the collection's windows, apart from their
// widgets: the Renamer's result menu (saving the report of a scan, copying
// the identified images to the target folder, opening the Collection
// window) and the Collection window.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "collection/organize.h"

namespace moswit {

constexpr char kCopyRowsCaption[] = "Copy";
constexpr char kSaveReportCaption[] = "Save report...";
constexpr char kCopyToTargetCaption[] = "Copy identified images to target directory";
constexpr char kCollectionMenuCaption[] = "Collection...";
constexpr char kStopCopyingCaption[] = "Stop copying";

constexpr char kStoppingCopyStatus[] = "Stopping after the image being copied ...";

// A file dialog that asks where to save: its title, filter and the name
// it suggests.
struct SaveDialogText {
  const char* title;
  const char* filter;
  const char* fileName;
};
constexpr SaveDialogText kReportDialog = {"Save report", "Text files (*.txt);;All files (*)",
                                          "report.txt"};
constexpr SaveDialogText kFixDatDialog = {"Save missing as DAT", "DAT files (*.dat);;All files (*)",
                                          "missing.dat"};

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

// "Copying file <number> of <count> [<percent>] / " + destination, as the
// scan's status line; `number` counts from 1.
std::string CopyingStatus(size_t number, size_t count, const std::string& destination);

// "Copied C, same S, conflicts K, failed F." after "Stopped. " when the
// run was stopped.
std::string CopySummary(const OrganizeTotals& totals);

// Why steps are conflicts or failed, one line each, at most `most` lines
// and then how many more; empty when every step went well.
std::string CopyTroubles(const std::vector<OrganizeStep>& steps, size_t most = 10);

// The choices of CopyQuestion: Copy, then Cancel (which keeps everything).
std::vector<std::string> CopyChoices();

// The Collection window.
constexpr char kCollectionCaption[] = "Collection";
// "Collection - " and the DID's name (DID bytes), or the caption alone for
// a DID without a name.
std::string CollectionTitle(const DatabaseInfo& database);
constexpr int kCollectionWidth = 780;
constexpr int kCollectionHeight = 520;

struct CollectionColumn {
  const char* title;
  int width;
};
// The disk (in the tree), its state with its mark, its best image and that
// image's accuracy and codes.
constexpr std::array<CollectionColumn, 5> kCollectionColumns = {{
    {"Disk", 330},
    {"State", 100},
    {"Best image", 200},
    {"Acc", 46},
    {"Codes", 90},
}};
constexpr int kStateColumn = 1;
constexpr int kAccuracyColumn = 3;

constexpr char kFilterLabel[] = "&Filter";
constexpr char kFilterHint[] = "Part of a disk's name or of an image's path";
constexpr char kOnlyMissingCaption[] = "Only &missing";
constexpr char kOnlyPartialCaption[] = "Only &partial";
constexpr char kCopyNamesCaption[] = "Copy names";
constexpr char kSaveMissingCaption[] = "Save missing as DAT...";

// The status line once the missing are saved as a DAT listing `listed`
// disks.
std::string FixDatSavedStatus(size_t listed);

// Why no DAT is written: no disk is missing, or none of the `missing`
// disks is known by its whole image, which a DAT needs. Empty when
// `listable` disks can be listed.
std::string NothingToListAsDat(size_t missing, size_t listable);

}  // namespace moswit
