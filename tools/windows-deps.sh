#!/usr/bin/env bash
# tools/windows-deps.sh [CACHE]: the Windows build's libraries, cross-built with mingw-w64 once per version.
#
#   glfw-3.3.8          GLFW as a static library (linked into the game)
#   openal-soft-1.24.2  OpenAL Soft as OpenAL32.dll with its import library (LGPL: shipped as the DLL)
#   googletest-V        GoogleTest as static libraries, for the tests run under Wine (V: Debian's googletest)
#
# Each lands in CACHE/<name>-<version>/ (an install prefix: include/, lib/, bin/, its licence), made in a
# scratch folder and moved into place only when complete, so a build cut short is redone, never half-used.
# CACHE defaults to ${XDG_CACHE_HOME:-~/.cache}/tolvane-golf/windows-x86_64: outside the clone, so a second
# build folder or a fresh clone on the same machine reuses what was built (OpenAL alone takes minutes).
#
# Sources come from Debian's source archive through apt-get source, with deb-src entries made from this
# machine's own apt sources in a folder of our own (the system's apt configuration is left untouched).
# GLFW 3.3.8 is the release's own glfw3; OpenAL Soft 1.24.2 is the next release's openal-soft, whose
# .dsc may not be served beside its tarball: the tarball, verified by apt against the archive's index,
# is all that is used of either package. GoogleTest is the source Debian's googletest installs under
# /usr/src/googletest. Prints the cache folder on its last line.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
toolchain=$here/mingw-w64-x86_64.cmake
cache=${1:-${XDG_CACHE_HOME:-$HOME/.cache}/tolvane-golf/windows-x86_64}
jobs=$(nproc)
glfw_version=3.3.8
openal_version=1.24.2
openal_suite=trixie   # the first suite whose openal-soft is 1.24.2
gtest_version=$(dpkg-query -W -f '${Version}' googletest 2>/dev/null | sed 's/-[^-]*$//') || gtest_version=""
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)

log() { echo "windows-deps: $*" >&2; }

# ---- Sources from Debian's archive ----

# The URIs of this machine's Debian archive: those of `deb` entries that serve its release's suite, in
# one-line or deb822 form. Security and update suites are left out.
archive_uris() {
  local codename=$1
  {
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
      awk -v s="$codename" '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i !~ /^\[/ && $i !~ /\]$/) break;
                                          if ($(i + 1) == s) print $i }'
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] || continue
      awk -v s="$codename" 'BEGIN { RS = ""; FS = "\n" }
        { types = uris = suites = ""
          for (i = 1; i <= NF; i++) {
            if ($i ~ /^Types:/) types = $i; else if ($i ~ /^URIs:/) uris = $i; else if ($i ~ /^Suites:/) suites = $i }
          if (types ~ /[ \t]deb([ \t]|$)/ && (" " suites " ") ~ ("[ \t]" s "[ \t]")) {
            sub(/^URIs:[ \t]*/, "", uris); print uris } }' "$f"
    done
  } | tr ' ' '\n' | sed '/^$/d' | sort -u
}

# A private apt configuration with deb-src entries for the release and the next one; prints the options
# that select it. Downloads run as the calling user: the folder is ours, not apt's sandbox user's.
apt_options() {
  local apt=$cache/apt codename
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/archives/partial"
  local uris
  uris=$(archive_uris "$codename" | tr '\n' ' ')
  [ -n "$uris" ] || { log "no Debian archive among this machine's apt sources"; exit 1; }
  printf 'Types: deb-src\nURIs: %s\nSuites: %s %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$uris" "$codename" "$openal_suite" >"$apt/sources.list.d/sources.sources"
  : >"$apt/sources.list"
  echo -o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts="$apt/sources.list.d" \
    -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt" -o Dir::Cache::Archives="$apt/archives" \
    -o APT::Sandbox::User="$(id -un)" -o Debug::NoLocking=1
}

apt_ready=""
# fetch_source PACKAGE/SUITE TARBALL FOLDER: the upstream tarball of a source package, unpacked in FOLDER.
fetch_source() {
  local package=$1 tarball=$2 folder=$3 opts
  opts=$(apt_options)
  if [ -z "$apt_ready" ]; then
    # shellcheck disable=SC2086
    apt-get $opts -q update >&2
    apt_ready=1
  fi
  # shellcheck disable=SC2086
  (cd "$folder" && apt-get $opts -q source --download-only "$package" >&2) || true   # a missing .dsc fails after the tarball
  [ -f "$folder/$tarball" ] || { log "apt-get source $package gave no $tarball"; exit 1; }
  tar xzf "$folder/$tarball" -C "$folder"
}

# ---- Builds ----

# cross_build NAME SOURCE [CMAKE OPTION...]: configures, builds and installs SOURCE into CACHE/NAME.
cross_build() {
  local name=$1 src=$2
  shift 2
  local scratch=$cache/.$name.building
  cmake -S "$src" -B "$scratch/build" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$cache/$name" "$@" >&2
  cmake --build "$scratch/build" -j "$jobs" >&2
  cmake --install "$scratch/build" >&2
}

# built NAME: true when CACHE/NAME is complete; otherwise false, with a clean scratch folder to build it in.
built() {
  [ -f "$cache/$1/.complete" ] && return 0
  rm -rf "${cache:?}/.$1.building" "${cache:?}/$1"
  mkdir -p "$cache/.$1.building"
  log "building $1 into $cache (once per version)"
  return 1
}

# finish NAME LICENCE: marks CACHE/NAME complete.
finish() {
  cp "$2" "$cache/$1/"   # the licence travels with the library
  touch "$cache/$1/.complete"
  rm -rf "${cache:?}/.$1.building"
}

glfw=glfw-$glfw_version
if ! built "$glfw"; then
  fetch_source "glfw3/$(. /etc/os-release && echo "$VERSION_CODENAME")" "glfw3_$glfw_version.orig.tar.gz" \
    "$cache/.$glfw.building"
  src=$(find "$cache/.$glfw.building" -maxdepth 1 -type d -name 'glfw*' | head -n 1)
  cross_build "$glfw" "$src" -DBUILD_SHARED_LIBS=OFF -DGLFW_BUILD_EXAMPLES=OFF -DGLFW_BUILD_TESTS=OFF \
    -DGLFW_BUILD_DOCS=OFF
  finish "$glfw" "$src/LICENSE.md"
fi

openal=openal-soft-$openal_version
openal_tarball=openal-soft_$openal_version.orig.tar.gz
if ! built "$openal"; then
  fetch_source "openal-soft/$openal_suite" "$openal_tarball" "$cache/.$openal.building"
  mkdir -p "$cache/$openal/source"
  cp "$cache/.$openal.building/$openal_tarball" "$cache/$openal/source/"   # shipped beside the DLL (LGPL)
  src=$(find "$cache/.$openal.building" -maxdepth 1 -type d -name 'openal-soft*' | head -n 1)
  # One DLL that needs nothing but Windows itself: the C and C++ runtimes and the thread library inside it.
  cross_build "$openal" "$src" -DALSOFT_UTILS=OFF -DALSOFT_EXAMPLES=OFF -DALSOFT_TESTS=OFF \
    -DALSOFT_INSTALL_CONFIG=OFF -DALSOFT_INSTALL_HRTF_DATA=OFF -DALSOFT_INSTALL_AMBDEC_PRESETS=OFF \
    -DALSOFT_STATIC_LIBGCC=ON -DALSOFT_STATIC_STDCXX=ON -DALSOFT_STATIC_WINPTHREAD=ON
  finish "$openal" "$src/COPYING"
elif [ ! -f "$cache/$openal/source/$openal_tarball" ]; then   # a cache made before the source was kept
  mkdir -p "$cache/.$openal.source" "$cache/$openal/source"
  fetch_source "openal-soft/$openal_suite" "$openal_tarball" "$cache/.$openal.source"
  cp "$cache/.$openal.source/$openal_tarball" "$cache/$openal/source/"
  rm -rf "${cache:?}/.$openal.source"
fi

if [ -n "$gtest_version" ] && [ -d /usr/src/googletest ]; then
  gtest=googletest-$gtest_version
  if ! built "$gtest"; then
    cross_build "$gtest" /usr/src/googletest -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON
    finish "$gtest" /usr/share/doc/googletest/copyright
  fi
fi

echo "$cache"
