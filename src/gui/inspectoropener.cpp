// SPDX-License-Identifier: GPL-2.0-or-later
#include "gui/inspectoropener.h"

#include <utility>

namespace moswit {

namespace {

struct Installed {
  const void* owner = nullptr;
  InspectorOpener opener;
};

// Windows live on the GUI thread only, so no lock.
Installed& Current() {
  static Installed installed;
  return installed;
}

}  // namespace

void InstallInspectorOpener(const void* owner, InspectorOpener opener) {
  Current() = {owner, std::move(opener)};
}

void RemoveInspectorOpener(const void* owner) {
  if (Current().owner == owner) Current() = {};
}

bool OpenImageInInspector(const InspectorRequest& request) {
  // A copy: the opener may install another while it runs.
  const InspectorOpener opener = Current().opener;
  if (!opener) return false;
  opener(request);
  return true;
}

}  // namespace moswit
