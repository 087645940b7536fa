#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The hardening stages of the test run: every test of the core built with
# the address and undefined-behaviour sanitizers, with the window tests of
# the record editors, the Inspector and Compare (those windows hold
# references into a database that records are deleted from, and into image
# buffers that hex viewers show); then the tests of the scan and the
# collection, the code that starts threads, with the thread sanitizer; then
# each fuzzer for FUZZ_SECONDS (default 25) from its seeds. The sanitizer
# builds have line tables and no benchmarks; the address sanitizer's is at
# -O0, which compiles a third faster than -O1 while its tests stay short,
# the thread sanitizer's at -O1.
# Build folders: build-asan, build-tsan, build-fuzz.
#   scripts/hardening.sh [asan|tsan|fuzz]...     the stages named, or all three
set -euo pipefail
cd "$(dirname "$0")/.."

stages=("$@")
[ ${#stages[@]} -gt 0 ] || stages=(asan tsan fuzz)

werror=OFF
if [ "${CI:-}" = "true" ]; then
  werror=ON
fi

# A sanitizer report fails the test that caused it.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}"

for stage in "${stages[@]}"; do
  case "$stage" in
    asan)
      echo "== AddressSanitizer and UndefinedBehaviorSanitizer"
      cmake --preset asan -DMOSWIT_WERROR="$werror" >/dev/null
      cmake --build build-asan --parallel 2
      ctest --test-dir build-asan --output-on-failure --parallel 2 --timeout 600
      ;;
    tsan)
      echo "== ThreadSanitizer"
      cmake --preset tsan -DMOSWIT_WERROR="$werror" >/dev/null
      # Only the scan and the collection start threads: their tests (the
      # concurrent scans, organize's copy workers, moswit-cli --jobs) run
      # here. The mutation sweep is single-threaded and already ran under
      # the other sanitizers.
      cmake --build build-tsan --parallel 2 --target moswit_tests_scan moswit_tests_collection
      ctest --test-dir build-tsan --output-on-failure --parallel 2 --timeout 600 \
        -R '^(scan|collection)[.]' -E 'Sweep/'
      ;;
    fuzz)
      echo "== Fuzzing, ${FUZZ_SECONDS:-25}s per fuzzer"
      scripts/fuzz.sh "${FUZZ_SECONDS:-25}"
      ;;
    *)
      echo "usage: scripts/hardening.sh [asan|tsan|fuzz]..." >&2
      exit 2
      ;;
  esac
done
