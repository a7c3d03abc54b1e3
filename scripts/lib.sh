# Shared by the project's scripts: the Debian packages Quillmoder needs, an
# installer that adds only what is missing (one apt-get update, then install),
# and the configure and build steps.

# What configuring the tree needs, the program alone included: the tree also
# declares the test binaries (GoogleTest) and the end-to-end tests (Python).
BUILD_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev libqt6gui6 duktape-dev nettle-dev
                libgtest-dev libgmock-dev python3 fonts-wqy-microhei)
# What the end-to-end tests add: a virtual display, clicks from outside, and
# screenshots (ImageMagick's import) when a window looks wrong.
TEST_PACKAGES=(xvfb xdotool imagemagick)

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

# configure_tree DIR [CMAKE ARGS...]: configures DIR with Ninja.
configure_tree() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
}

# Makes the release build of the program alone in build/.
build_program() {
  configure_tree build -DCMAKE_BUILD_TYPE=Release
  cmake --build build --target quillmoder
}
