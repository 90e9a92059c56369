#!/usr/bin/env bash
# tools/deps.sh [GROUP...]: installs the Debian packages of the named groups, only those missing.
# The one list of packages lives here; every make target calls this first with the groups it needs.
#   game   building and running the game (make run, make build); the default
#   test   the test suite, the sanitizer pass, benchmarks, fuzzing and the Debian package
#   web    the browser build (make web) and its tests in chromium; npm comes with node
#   windows  the Windows build (mingw-w64 with posix threads, the sources of its libraries) and Wine, which
#          runs its tests; make test installs it with the test group
set -eu

game=(
  g++ cmake make pkg-config
  libglfw3-dev libgl-dev libgl1-mesa-dri libopenal-dev libstb-dev
  libcairo2-dev zlib1g-dev libvorbis-dev libogg-dev   # the asset generator draws with cairo, writes PNGs with zlib, encodes the tunes
)
test=(
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick sox vorbis-tools valgrind
  dpkg-dev lintian
  clang-14 libclang-rt-14-dev
  libsdl2-dev libgc-dev   # the peers the renderer and the collector are held against
)
web=(emscripten chromium)
command -v npm >/dev/null 2>&1 || web+=(nodejs npm)   # a node of another origin brings its own npm
windows=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  googletest   # the GoogleTest source, cross-built for the tests run under Wine
  wine wine64 zip unzip
)

[ $# -eq 0 ] && set -- game
wanted=()
for group in "$@"; do
  case "$group" in
    game) wanted+=("${game[@]}") ;;
    test) wanted+=("${test[@]}") ;;
    web) wanted+=("${web[@]}") ;;
    windows) wanted+=("${windows[@]}") ;;
    *) echo "deps.sh: unknown group '$group'" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${wanted[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
