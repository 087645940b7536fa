// SPDX-License-Identifier: GPL-2.0-or-later
// Organizing a collection: the best image of every good disk (and, when
// asked, of every partial one) copied or linked into a target folder under
// the disk's standard name, never replacing a file there. Sources are only
// read.
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "collection/collectionreport.h"
#include "collection/verifiedcopy.h"

namespace moswit {

enum class OrganizeAction { kCopy, kLink, kSame, kConflict, kFailed };

// "copy", "link", "same", "conflict", "failed".
const char* ActionWord(OrganizeAction action);

struct OrganizeOptions {
  bool link = false;     // hard links, with copies where linking fails
  bool partial = false;  // partial disks too, below kPartialFolder
  bool dryRun = false;   // look, but write nothing
  size_t jobs = 0;       // workers doing the steps; 0: one per processor core
};

// Why a step is a conflict, after its destination path and ": ".
constexpr char kOtherBytesThere[] = "a file with other contents is there; it is left as it is";
constexpr char kNameTaken[] = "an earlier disk of the DID has this name";
constexpr char kOtherCaseThere[] =
    "a file whose name differs only in letter case is there; it is left as it is";

struct OrganizeStep {
  size_t disk = 0;                                // in the report's disks
  std::string source;                             // the image's file
  uint32_t member = kFirstImageMember;            // a member of the archive `source`, copied out
  std::string sourceRelative;                     // below the source folder
  std::string destination;                        // below the target folder, '/' between folders
  bool exists = false;                            // something was at the destination when planned
  OrganizeAction action = OrganizeAction::kCopy;  // planned, then what was done
  std::string error;                              // why it failed or is a conflict
  std::optional<FileCheck> expected;              // the source as the scan identified it
};

// The steps in the report's order, one per have disk (and partial disk with
// `partial`). A destination an earlier step takes, a-z in any case (so the
// plan is the same on every file system), is a conflict, as is one where
// the target folder holds a name differing from it only in case, or
// something that is not a file of the identified image's size. Every other
// step is planned as a copy or a link, `exists` telling whether something
// is at its destination already (to be compared).
std::vector<OrganizeStep> PlanOrganize(const CollectionReport& report, const std::string& target,
                                       const OrganizeOptions& options);

// The full path of a step's destination.
std::string DestinationPath(const std::string& target, const OrganizeStep& step);

// Does one planned step. A destination that exists (also one that appears
// meanwhile) is compared with the image the scan identified (without that,
// with the source): the same bytes give "same", any other "conflict", and
// it is left as it is. Otherwise the source is linked or copied there, its
// folder made first; a link that fails is a copy. A member of an archive is
// extracted and written as a plain image (never linked). With `dryRun`
// nothing is written: a step to do keeps its planned action unless its
// folder could not be made or written to (a file on the way, no
// permission), which fails it as the run would.
void DoStep(OrganizeStep& step, const std::string& target, const OrganizeOptions& options,
            const FileSeams& seams = {});

struct OrganizeTotals {
  size_t copied = 0;  // copies and links
  size_t same = 0;
  size_t conflicts = 0;
  size_t failed = 0;
  size_t done = 0;  // steps done, of all the steps
  bool stopped = false;
};

// Told of each step of RunOrganize, in order, on the thread that runs it.
class OrganizeReport {
 public:
  virtual ~OrganizeReport() = default;
  // Step `index` (from 0) of `count` is the next to be reported.
  virtual void StepStarted(size_t /*index*/, size_t /*count*/, const OrganizeStep& /*step*/) {}
  virtual void StepDone(size_t index, const OrganizeStep& step) = 0;
};

// Does the steps on `options.jobs` workers and reports them in order from
// the calling thread. `stop`, when given and set, lets the workers finish
// the steps they hold and take no more; the steps not done keep their
// planned action. First the temporary files that killed runs left in the
// destination folders are removed (RemoveLeftoverTemporaries).
OrganizeTotals RunOrganize(std::vector<OrganizeStep>& steps, const std::string& target,
                           const OrganizeOptions& options, OrganizeReport& report,
                           const std::atomic<bool>* stop = nullptr, const FileSeams& seams = {});

// Whether any step ended as a conflict or failed.
bool AnyTrouble(const std::vector<OrganizeStep>& steps);

}  // namespace moswit
