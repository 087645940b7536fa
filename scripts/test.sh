#!/usr/bin/env bash
# Builds everything and runs every test. BUILD_DIR picks the build folder
# (default build-test); under CI warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

build="${BUILD_DIR:-build-test}"
werror=OFF
if [ "${CI:-}" = "true" ]; then
  werror=ON
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOSWIT_WERROR="$werror"
cmake --build "$build" --parallel 2
ctest --test-dir "$build" --output-on-failure --parallel 2

# Sanitizer builds and a bounded fuzzing run (scripts/hardening.sh);
# MOSWIT_HARDENING=0 skips them for a quick local run.
if [ "${MOSWIT_HARDENING:-1}" != 0 ]; then
  scripts/hardening.sh
fi
