#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Renders each window of Moswit to a PNG in OUTDIR on Qt's offscreen
# platform: the main window, the About box, a Renamer after a finished scan (and its Collection window)
# of the sample folder, an Inspector with its map enlarged, a Hex Viewer, a
# Compare, the DID Editor with a Game, a Version, a Disk and a File editor,
# and a new disk that got an Inspector's files (the hand-over menu, the Disk
# editor, a File editor). BUILD_DIR picks the build folder (default build).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ne 1 ]; then
  echo "usage: scripts/screenshots.sh OUTDIR" >&2
  exit 2
fi
build="${BUILD_DIR:-build}"

scripts/setup.sh
cmake --preset dev -B "$build"
cmake --build "$build" --parallel 2 --target samples moswit-screenshots
QT_QPA_PLATFORM=offscreen "$build/samples/moswit-screenshots" "$1" "$build/samples"
