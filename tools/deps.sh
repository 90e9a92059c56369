#!/usr/bin/env bash
# Installs the Debian packages this project needs, and only those that are missing.
# The one list of packages lives here; every make target calls this first.
set -eu
packages=(
  g++ cmake make pkg-config
  libglfw3-dev libgl-dev libgl1-mesa-dri libopenal-dev libstb-dev
  libcairo2-dev libvorbis-dev libogg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick sox vorbis-tools valgrind
  dpkg-dev lintian
  clang-14 libclang-rt-14-dev
  libsdl2-dev libgc-dev   # for the benchmarks only (the peers the renderer and the collector are held against)
)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
