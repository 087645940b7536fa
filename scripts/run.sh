#!/usr/bin/env bash
# Installs what is missing, builds Moswit and shows the sample image the
# build writes.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel 2

sample=build/samples/sample.adf
echo "== moswit-cli info $sample"
build/moswit-cli info "$sample"
echo "== moswit-cli list $sample"
build/moswit-cli list "$sample"
