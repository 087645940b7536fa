#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds everything and runs every test. The quick stages come first: the
# format check (clang-format and the SPDX lines), the build and the tests in
# build-test (the "test" preset, or under CI the "ci" preset, where warnings
# are errors), then the .deb of that build and its
# checks. The long ones follow: the sanitizer builds, the Windows build under
# Wine and a bounded fuzzing run. Each stage prints its time, and the run
# ends with all of them. MOSWIT_HARDENING=0 skips the long stages for a
# quick local run.
set -euo pipefail
cd "$(dirname "$0")/.."

times=()
summary() {
  local status=$?
  echo "== Stage times"
  printf '   %s\n' "${times[@]}"
  echo "   total: $((SECONDS))s"
  [ "$status" -eq 0 ] || echo "!! the run stopped with status $status" >&2
}
trap summary EXIT

# stage NAME COMMAND...: runs the command, timed.
stage() {
  local name=$1
  shift
  echo "== $name"
  local start=$SECONDS
  local status=0
  "$@" || status=$?
  times+=("$name: $((SECONDS - start))s$([ "$status" -eq 0 ] || echo ", failed")")
  echo "-- $name: $((SECONDS - start))s"
  return "$status"
}

preset=test
if [ "${CI:-}" = "true" ]; then
  preset=ci
fi

stage "setup" scripts/setup.sh
stage "format" scripts/checkformat.sh
stage "build" bash -c "cmake --preset $preset && cmake --build build-test --parallel 2"
stage "tests" ctest --test-dir build-test --output-on-failure --parallel 2
# The .deb of this build: its files, lintian, its desktop entry, its
# AppStream metadata and its Depends.
stage "package" scripts/checkpackage.sh build-test

if [ "${MOSWIT_HARDENING:-1}" != 0 ]; then
  stage "address and undefined-behaviour sanitizers" scripts/hardening.sh asan
  stage "thread sanitizer" scripts/hardening.sh tsan
  stage "Windows under Wine" scripts/windows.sh build-test
  stage "fuzzing" scripts/hardening.sh fuzz
fi
