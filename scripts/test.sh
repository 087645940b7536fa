#!/usr/bin/env bash
# Builds everything and runs every test, in build-test: with the "test"
# preset, or under CI with the "ci" preset, where warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

preset=test
if [ "${CI:-}" = "true" ]; then
  preset=ci
fi
cmake --preset "$preset"
cmake --build build-test --parallel 2
ctest --test-dir build-test --output-on-failure --parallel 2

# The .deb of this build: its files, its desktop entry and its Depends.
scripts/checkpackage.sh build-test

# Sanitizer builds and a bounded fuzzing run (scripts/hardening.sh);
# MOSWIT_HARDENING=0 skips them for a quick local run.
if [ "${MOSWIT_HARDENING:-1}" != 0 ]; then
  scripts/hardening.sh
fi
