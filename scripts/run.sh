#!/usr/bin/env bash
# Installs what is missing, makes a release build and starts Quillmoder on the
# user's display. It cleans the Wine-style prefix named by $WINEPREFIX
# (default $HOME/.wine).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

ensure_packages "${BUILD_PACKAGES[@]}"
build_program
exec build/quillmoder
