#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The Windows stage of the test run. Builds the core, its tests and
# moswit-cli for 64-bit Windows (the windows preset: Debian's MinGW-w64,
# build-windows; no windows, no benchmarks; -O1, as the stage checks what
# the programs do, not how fast) and runs the core's tests under Wine. Debian
# has no MinGW build of pugixml, which reads DATs: its source package is
# fetched first, through an apt configuration of this script's own (the
# system's sources and lists stay as they are; the archive is checked
# against the system's Debian keyring), and built statically into
# build-windows/pugixml, once. Then runs moswit-cli under Wine and the Linux
# moswit-cli of LINUX_BUILD (default build-test) on that build's samples,
# also copied into a folder with a name outside ASCII (with an image named
# in letters Windows-1252 does and does not hold): list, identify, mkdid and
# identify with the DID made, enrich of that DID, report, organize by the
# sample DID and by the DID made, import-dat of the sample DAT, identify with
# that DID and report --fixdat. What each prints, its exit status and the
# files it writes (the DIDs, the organized copies, the DAT of the missing)
# must be the same on both systems.
#   scripts/windows.sh [LINUX_BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."

linux="${1:-build-test}"
build=build-windows
if [ ! -x "$linux/moswit-cli" ] || [ ! -f "$linux/samples/sample.did" ]; then
  echo "!! no moswit-cli and samples in $linux: build it first" >&2
  exit 2
fi
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

werror=OFF
if [ "${CI:-}" = "true" ]; then
  werror=ON
fi

# Runs a command with its output shown only when it fails.
quiet() {
  local log status=0
  log=$(mktemp)
  "$@" >"$log" 2>&1 || status=$?
  [ "$status" -eq 0 ] || cat "$log" >&2
  rm -f "$log"
  return "$status"
}

pugixml="$build/pugixml"
if [ ! -f "$pugixml/lib/cmake/pugixml/pugixml-config.cmake" ]; then
  echo "== pugixml for Windows, from Debian's source package"
  work="$PWD/$build/pugixml-source"
  rm -rf "$work"
  mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/source"
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]" \
    "http://deb.debian.org/debian bookworm main" >"$work/sources.list"
  apt=(apt-get -q -o Dir::Etc::SourceList="$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
       -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache"
       -o APT::Sandbox::User="$(id -un)")
  quiet "${apt[@]}" update
  (cd "$work/source" && quiet "${apt[@]}" source pugixml)
  # Its own CMake project, as a static library with its package files, so
  # the windows preset finds it as Linux finds Debian's.
  project=$(echo "$work"/source/pugixml-*/)
  quiet cmake -S "$project" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PWD/$pugixml" -DCMAKE_INSTALL_LIBDIR=lib -DBUILD_SHARED_LIBS=OFF \
    -DPUGIXML_BUILD_TESTS=OFF
  quiet cmake --build "$work/build" --parallel 2
  quiet cmake --install "$work/build"
  rm -rf "$work"
fi

cmake --preset windows -DMOSWIT_WERROR="$werror" >/dev/null
# The Wine prefix the tests run in (cmake/mingw-w64.cmake sets the same).
export WINEPREFIX="$PWD/$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cmake --build "$build" --parallel 2

# One Wine server for every program that follows, instead of one starting
# for each test. The first programs after its start, run two at a time,
# now and then never end: one program run alone first lets Wine finish
# starting.
"$wineserver" -p 2>/dev/null || true  # one may be running already
trap '"$wineserver" -k 2>/dev/null || true' EXIT
"$wine" "$build/moswit-cli.exe" --help >/dev/null
# Wine also fails to start a program now and then (the test fails at once,
# printing nothing): the tests that failed run once more, and are named.
if ! ctest --test-dir "$build" --output-on-failure --parallel 2 --timeout 60; then
  echo "!! under Wine, once more: $(tr '\n' ' ' <"$build/Testing/Temporary/LastTestsFailed.log")" >&2
  ctest --test-dir "$build" --rerun-failed --output-on-failure --timeout 60
fi

echo "== moswit-cli under Wine and on Linux"
smoke="$PWD/$build/smoke"
rm -rf "$smoke"
mkdir -p "$smoke/input" "$smoke/linux" "$smoke/windows"
cp "$linux/samples/sample.adf" "$linux/samples/sample.zip" "$linux/samples/sample.did" \
  "$linux/samples/sample.dat" "$smoke/input/"
cp -r "$linux/samples/renamer" "$smoke/input/renamer"
cp -r "$linux/samples/renamer" "$smoke/input/Sammlung Übersicht 日本"
# A letter of Windows-1252 and two it cannot hold: mkdid replaces and counts
# those in the DID, organize names the copy in UTF-8 from it.
cp "$linux/samples/sample.adf" "$smoke/input/Sammlung Übersicht 日本/Café 日本.adf"
# Rows are sorted with the user's collation: US English on both sides, built
# here for the C library so the machine's locales stay as they are. Wine
# takes its names' encoding from it as well.
mkdir -p "$smoke/locale"
localedef -i en_US -f UTF-8 "$smoke/locale/en_US.UTF-8"
locale=(env LOCPATH="$smoke/locale" LC_ALL=en_US.UTF-8)

# Each side runs in a folder of its own with the same relative arguments, so
# what it writes (a DID holds its own path) is comparable. Arguments are
# separated by "|".
named="../input/Sammlung Übersicht 日本"
commands=(
  "list|../input/sample.adf"
  "list|../input/sample.zip"
  "list|../input/absent.adf"
  "identify|../input/sample.did|../input/renamer"
  "mkdid|made.did|$named"
  "identify|made.did|$named"
  "enrich|made.did|$named|enriched.did"
  "report|../input/sample.did|$named"
  "organize|--partial|../input/sample.did|$named|organized"
  "organize|made.did|$named|organized-made"
  "import-dat|imported.did|../input/sample.dat"
  "identify|imported.did|$named"
  "report|--fixdat|missing.dat|imported.did|$named"
)
for side in linux windows; do
  program=("${locale[@]}" "$PWD/$linux/moswit-cli")
  [ "$side" = windows ] && program=("${locale[@]}" "$wine" "$PWD/$build/moswit-cli.exe")
  (
    cd "$smoke/$side"
    number=0
    for command in "${commands[@]}"; do
      number=$((number + 1))
      IFS='|' read -r -a args <<<"$command"
      status=0
      "${program[@]}" "${args[@]}" >"$number.out" 2>"$number.err" || status=$?
      echo "$status" >"$number.status"
    done
  )
done
if ! diff -r "$smoke/linux" "$smoke/windows"; then
  echo "!! moswit-cli under Wine differs from Linux (left: Linux, right: Wine)" >&2
  exit 1
fi
echo "moswit-cli under Wine: ${#commands[@]} commands, output the same as on Linux"
