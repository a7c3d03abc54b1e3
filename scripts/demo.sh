#!/usr/bin/env bash
# Makes a sample Wine-style prefix with junk in a temporary folder and starts
# Quillmoder on it, so a scan and a clean can be seen without touching real
# files. The sample is removed when the program ends.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

ensure_packages "${BUILD_PACKAGES[@]}"
build_program
sample=$(mktemp -d "${TMPDIR:-/tmp}/quillmoder-demo-XXXXXX")
trap 'chmod -R u+rwx "$sample" 2>/dev/null; rm -rf "$sample"' EXIT
python3 tests/e2e/fixture.py demo "$sample"
echo "Sample prefix: $sample (user alice)"
WINEPREFIX="$sample" WINEUSERNAME=alice build/quillmoder
