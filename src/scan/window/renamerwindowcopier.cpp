// SPDX-License-Identifier: GPL-2.0-or-later
#include "scan/window/renamerwindowcopier.h"

#include "collection/collectionform.h"
#include "gui/texts.h"

namespace moswit {

// The destination is the disk's standard name, bytes of the DID.
void CopyChannel::StepStarted(size_t index, size_t count, const OrganizeStep& step) {
  emit Started(static_cast<qsizetype>(index + 1), static_cast<qsizetype>(count),
               DidText(CopyingStatus(index + 1, count, step.destination)));
}

void CopyChannel::StepDone(size_t, const OrganizeStep&) {}

void CopyChannel::Finish(const OrganizeTotals& totals, const std::vector<OrganizeStep>& steps) {
  emit Finished(static_cast<qsizetype>(totals.done), FileNameText(CopySummary(totals)),
                FileNameText(CopyTroubles(steps)));
}

}  // namespace moswit
