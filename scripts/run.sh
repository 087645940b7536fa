#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what is missing, builds Moswit and starts it. The build writes
# sample images and a sample DID to build/samples.
#
# Without a display (neither DISPLAY nor WAYLAND_DISPLAY set), or with
# MOSWIT_RUN_CHECK=1, it only checks that Moswit starts: it runs it on Qt's
# offscreen platform for MOSWIT_RUN_SECONDS (default 5) seconds, stops it,
# and prints the sample scan as moswit-cli sees it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset dev
cmake --build build --parallel 2

echo "Samples: DID build/samples/sample.did, images build/samples/renamer/"
if [ "${MOSWIT_RUN_CHECK:-0}" != 1 ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec build/moswit
fi

seconds="${MOSWIT_RUN_SECONDS:-5}"
echo "No display: starting Moswit offscreen for ${seconds}s to check that it runs"
status=0
QT_QPA_PLATFORM=offscreen timeout "$seconds" build/moswit || status=$?
if [ "$status" -ne 124 ]; then
  echo "Moswit ended by itself with status $status" >&2
  exit 1
fi
echo "Moswit started and ran until stopped."
echo "== moswit-cli identify build/samples/sample.did build/samples/renamer/"
build/moswit-cli identify build/samples/sample.did build/samples/renamer/
