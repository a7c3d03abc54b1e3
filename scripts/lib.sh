# Shared by the project's scripts: the Debian packages Quillmoder needs, and an
# installer that adds only what is missing (one apt-get update, then install).

BUILD_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev libqt6gui6 duktape-dev nettle-dev
                fonts-wqy-microhei)
TEST_PACKAGES=(python3 libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool imagemagick x11-utils)

ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
}

# Configures and builds a tree into `build` (or the folder given) with Ninja.
build_tree() {
  local dir=${1:-build}
  shift || true
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir"
}
