#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite with ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
build_tree build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cd build
ctest --output-on-failure -j"$(nproc)"
