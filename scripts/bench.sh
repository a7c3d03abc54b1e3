#!/usr/bin/env bash
# Builds a release tree and runs the benchmark on a synthetic prefix made in a
# temporary folder. Optional argument: the number of files in the temp folder.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

ensure_packages "${BUILD_PACKAGES[@]}"
configure_tree build -DCMAKE_BUILD_TYPE=Release  # the tree test.sh and run.sh build
cmake --build build --target quillmoder_bench
build/bench/quillmoder_bench "$@"
