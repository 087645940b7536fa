#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the fuzzers (clang, libFuzzer with address and undefined-behaviour
# sanitizers) and runs each for SECONDS (default 600), one after the other,
# so a long run by hand never takes more than one core.
#   scripts/fuzz.sh [SECONDS] [FUZZER...]     FUZZER: image did wildcard identify onepass dat zip
# The corpus grows in BUILD/fuzz/corpus/NAME from run to run; crashes,
# timeouts and leaks land in BUILD/fuzz/artifacts. FUZZ_BUILD_DIR picks the
# build folder (default build-fuzz). Exits non-zero when a fuzzer found
# something.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-600}"
shift || true
fuzzers=("$@")
[ ${#fuzzers[@]} -gt 0 ] || fuzzers=(image did wildcard identify onepass dat zip)
build="${FUZZ_BUILD_DIR:-build-fuzz}"

werror=OFF
if [ "${CI:-}" = "true" ]; then
  werror=ON
fi
cmake --preset fuzz -B "$build" -DMOSWIT_WERROR="$werror" >/dev/null
cmake --build "$build" --parallel 2

artifacts="$build/fuzz/artifacts"
mkdir -p "$artifacts"
status=0
for name in "${fuzzers[@]}"; do
  corpus="$build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$artifacts/$name-")
  case "$name" in
    did) options+=(-dict=fuzz/did.dict -max_len=8192) ;;
    dat) options+=(-dict=fuzz/dat.dict -max_len=16384) ;;
    # Stored patterns hold at most 255 characters and paths 119; longer
    # texts are covered by the unit tests and only slow the search down.
    wildcard) options+=(-max_len=512) ;;
    image | identify) options+=(-max_len=1048576) ;;
    # A high-density disk and a little more.
    onepass) options+=(-max_len=1900000) ;;
    # Directories and small members; large members are the image fuzzer's.
    zip) options+=(-max_len=65536) ;;
  esac
  echo "== fuzzing $name for ${seconds}s"
  log="$build/fuzz/$name.log"
  if ! "$build/fuzz/moswit_fuzz_$name" "${options[@]}" "$corpus" "$build/fuzz/seeds/$name" \
      >"$log" 2>&1; then
    status=1
    tail -n 60 "$log" >&2
    echo "!! $name found a fault; see $log and $artifacts" >&2
  fi
  grep -E '^stat::number_of_executed_units|^Done [0-9]+ runs' "$log" | tail -2 || true
done
exit "$status"
