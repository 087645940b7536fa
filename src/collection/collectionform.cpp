// SPDX-License-Identifier: GPL-2.0-or-later
#include "collection/collectionform.h"

#include <filesystem>

#include "base/pathtext.h"
#include "scan/identify.h"
#include "scan/imagelist.h"
#include "scan/scanner.h"

namespace moswit {

namespace {

std::string Images(size_t n) { return std::to_string(n) + (n == 1 ? " image" : " images"); }

}  // namespace

PlanCounts CountPlan(const std::vector<OrganizeStep>& steps) {
  PlanCounts counts;
  for (const OrganizeStep& step : steps) {
    if (step.action == OrganizeAction::kConflict) {
      ++counts.conflicts;
    } else if (step.exists) {
      ++counts.there;
    } else {
      ++counts.toCopy;
    }
  }
  return counts;
}

std::string CopyQuestion(const PlanCounts& counts, const std::string& target) {
  if (counts.toCopy + counts.there + counts.conflicts == 0) return {};
  std::string text = "Copy the images identified at 1000 without codes to " + target +
                     ", each under its disk's standard name?\n\n" + Images(counts.toCopy) +
                     " to copy, " + std::to_string(counts.there) +
                     " already there (compared, and left as they are)";
  if (counts.conflicts > 0) {
    text += ", " + std::to_string(counts.conflicts) +
            (counts.conflicts == 1 ? " conflict" : " conflicts") +
            " (an earlier disk has the name, or another file is there; left out)";
  }
  return text + ".\nThe images in the source directory are not changed.";
}

std::string NothingToCopy(const std::string& target) {
  return "No image of the scan is identified at 1000 without codes, so nothing is copied to " +
         target + ".";
}

std::string NoUsableTarget(const std::string& target) {
  if (target.empty()) return "Choose a target directory first.";
  return "The target directory " + target +
         " holds the source directory; choose a target directory outside it.";
}

std::string CopyingStatus(size_t number, size_t count, const std::string& destination) {
  const auto percent =
      TruncatedRatio(static_cast<uint32_t>(number), static_cast<uint32_t>(count), 100);
  return "Copying file " + std::to_string(number) + " of " + std::to_string(count) + " [" +
         std::to_string(percent) + "] / " + destination;
}

std::string ReportFolder(const std::string& target, const std::string& collection,
                         const std::string& home) {
  if (!target.empty() && !FolderLiesIn(target, collection)) return target;
  if (!FolderLiesIn(home, collection)) return home;
  std::filesystem::path folder = PathFromText(collection).lexically_normal();
  if (!folder.has_filename()) folder = folder.parent_path();
  return WithTrailingSeparator(PathText(folder.parent_path()));
}

std::string ReportSavedStatus(const CollectionReport& report) {
  return "Report saved. " + ReportSummary(report);
}

std::string CopySummary(const OrganizeTotals& totals) {
  return std::string(totals.stopped ? "Stopped. " : "") + "Copied " +
         std::to_string(totals.copied) + ", same " + std::to_string(totals.same) + ", conflicts " +
         std::to_string(totals.conflicts) + ", failed " + std::to_string(totals.failed) + ".";
}

std::string CopyTroubles(const std::vector<OrganizeStep>& steps, size_t most) {
  std::string text;
  size_t lines = 0;
  size_t more = 0;
  for (const OrganizeStep& step : steps) {
    if (step.action != OrganizeAction::kConflict && step.action != OrganizeAction::kFailed)
      continue;
    if (lines == most) {
      ++more;
      continue;
    }
    text += std::string(ActionWord(step.action)) + ": " + step.error + "\n";
    ++lines;
  }
  if (more > 0) text += "... and " + std::to_string(more) + " more\n";
  return text;
}

std::string CollectionTitle(const DatabaseInfo& database) {
  if (!database.name.Present()) return kCollectionCaption;
  return std::string(kCollectionCaption) + " - " + std::string(database.name.Value());
}

std::string FixDatSavedStatus(size_t listed) {
  return std::to_string(listed) + (listed == 1 ? " missing disk" : " missing disks") +
         " written as a DAT.";
}

std::string NothingToListAsDat(size_t missing, size_t listable) {
  if (listable > 0) return {};
  if (missing == 0) return "No disk of the DID is missing, so there is nothing to list.";
  const std::string which = missing == 1
                                ? "The missing disk is not"
                                : "None of the " + std::to_string(missing) + " missing disks is";
  return which +
         " known by its whole image, which a DAT needs (its size and CRC-32); disks known by "
         "their files alone cannot be listed.";
}

std::vector<std::string> CopyChoices() { return {kCopyChoice, kCancelChoice}; }

}  // namespace moswit
