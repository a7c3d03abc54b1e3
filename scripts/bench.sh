#!/usr/bin/env bash
# Builds a release tree and runs the benchmark on a synthetic prefix made in a
# temporary folder. Optional argument: the number of files in the temp folder.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

ensure_packages "${BUILD_PACKAGES[@]}"
configure_tree build-release -DCMAKE_BUILD_TYPE=Release
cmake --build build-release --target quillmoder_bench
build-release/bench/quillmoder_bench "$@"
