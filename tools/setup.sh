#!/usr/bin/env bash
# Machine set-up for Mozhou on Debian 12 (bookworm), run as root.
#
#  1. i386 architecture + a deb-src entry for bookworm main (own file).
#  2. Missing Debian packages (installed without recommends).
#  3. zh_CN.UTF-8 locale.
#  4. Static i686-w64-mingw32 builds of libjpeg-turbo, libpng and
#     GoogleTest/GoogleMock into <repo>/.cache/deps/i686 (include/ + lib/),
#     reused when their stamp (the version built) matches.
#
# Idempotent; a second run only checks and takes a few seconds.
# Environment:
#   MOZHOU_JOBS     parallel build jobs (default: 2)
#   MOZHOU_REBUILD  "1" forces the three libraries to be rebuilt
set -Eeuo pipefail

REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DEPS_ROOT="$REPO/.cache/deps"
PREFIX="$DEPS_ROOT/i686"
SRC_DIR="$DEPS_ROOT/src"
TOOLCHAIN="$REPO/tools/toolchain-i686-mingw-deps.cmake"
JOBS="${MOZHOU_JOBS:-2}"
# Bump when the recipes below change so that the cache is rebuilt.
RECIPE_REV=1
SRC_LIST=/etc/apt/sources.list.d/mozhou-src.sources
TRIPLE=i686-w64-mingw32

export DEBIAN_FRONTEND=noninteractive LC_ALL=C

PACKAGES=(
  # cross toolchain and Windows-side libraries
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  mingw-w64-i686-dev libz-mingw-w64-dev nasm
  # native build/test tools
  cmake make g++ googletest python3 python3-pytest libjpeg-dev dpkg-dev
  file procps ca-certificates xz-utils patch
  # test environment: Wine, X, fonts, printing
  wine wine32:i386 libcups2:i386 xvfb xauth x11-utils xdotool imagemagick
  fonts-wqy-zenhei locales cups cups-client cups-bsd printer-driver-cups-pdf
  poppler-utils
)

T_START=$(date +%s)
SUMMARY=()
log()  { printf '[setup] %s\n' "$*" >&2; }
die()  { printf '[setup] ERROR: %s\n' "$*" >&2; exit 1; }
note() { SUMMARY+=("$*"); }
trap 'printf "[setup] FAILED at line %d: %s\n" "$LINENO" "$BASH_COMMAND" >&2' ERR

is_root() { [ "$(id -u)" -eq 0 ]; }
need_root() { is_root || die "$1 needs root (run: sudo $0)"; }

# ---------------------------------------------------------------- 1. apt
APT_UPDATED=0
NEED_UPDATE=0
apt_update() {
  [ "$APT_UPDATED" -eq 1 ] && return 0
  log "apt-get update"
  apt-get update -qq >&2 || die "apt-get update failed"
  APT_UPDATED=1; NEED_UPDATE=0
}

if ! dpkg --print-foreign-architectures | grep -x i386 >/dev/null; then
  need_root "adding the i386 architecture"
  log "dpkg --add-architecture i386"
  dpkg --add-architecture i386
  NEED_UPDATE=1
  note "added i386 architecture"
fi

have_bookworm_src() {
  # A deb-src line (one-line format) or a deb822 stanza with deb-src for
  # bookworm main.
  grep -rqsE '^[[:space:]]*deb-src[[:space:]].*[[:space:]]bookworm[[:space:]].*main' \
      /etc/apt/sources.list /etc/apt/sources.list.d/*.list && return 0
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN{RS=""; IGNORECASE=1}
         /(^|\n)Types:[^\n]*deb-src/ && /(^|\n)Suites:[^\n]*bookworm([ \t\n]|$)/ &&
         /(^|\n)Components:[^\n]*main/ && !/(^|\n)Enabled:[ \t]*no/ {found=1}
         END{exit !found}' "$f" && return 0
  done
  return 1
}
if ! have_bookworm_src; then
  need_root "adding a deb-src entry"
  log "adding $SRC_LIST"
  cat > "$SRC_LIST" <<'EOF'
# Added by mozhou tools/setup.sh: sources for `apt-get source` (libjpeg-turbo, libpng1.6).
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  NEED_UPDATE=1
  note "added deb-src entry $SRC_LIST"
fi

# ---------------------------------------------------------------- 2. packages
pkg_installed() {
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}
MISSING=()
for p in "${PACKAGES[@]}"; do pkg_installed "$p" || MISSING+=("$p"); done
if [ ${#MISSING[@]} -gt 0 ]; then
  need_root "installing packages (${MISSING[*]})"
  apt_update
  log "apt-get install ${MISSING[*]}"
  apt-get install -y -qq --no-install-recommends "${MISSING[@]}" >&2 \
    || die "apt-get install failed for: ${MISSING[*]}"
  note "installed packages: ${MISSING[*]}"
else
  note "packages: all ${#PACKAGES[@]} present"
fi
[ "$NEED_UPDATE" -eq 1 ] && apt_update

# ---------------------------------------------------------------- 3. locale
if ! locale -a 2>/dev/null | grep -ix 'zh_CN\.utf-\?8' >/dev/null; then
  need_root "generating the zh_CN.UTF-8 locale"
  log "generating zh_CN.UTF-8"
  if grep -qE '^#[[:space:]]*zh_CN\.UTF-8 UTF-8' /etc/locale.gen; then
    sed -i -E 's/^#[[:space:]]*(zh_CN\.UTF-8 UTF-8)/\1/' /etc/locale.gen
  elif ! grep -qE '^zh_CN\.UTF-8 UTF-8' /etc/locale.gen; then
    echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  fi
  locale-gen >&2 || die "locale-gen failed"
  locale -a | grep -ix 'zh_CN\.utf-\?8' >/dev/null || die "zh_CN.UTF-8 still missing after locale-gen"
  note "generated locale zh_CN.UTF-8"
fi

# ---------------------------------------------------------------- 4. deps
mkdir -p "$PREFIX/include" "$PREFIX/lib" "$SRC_DIR" "$DEPS_ROOT/stamps"
for tool in $TRIPLE-gcc-posix $TRIPLE-g++-posix nasm cmake; do
  command -v "$tool" >/dev/null || die "$tool not found"
done

stamp_file() { echo "$DEPS_ROOT/stamps/$1.stamp"; }
stamp_ok()   { [ "${MOZHOU_REBUILD:-0}" != 1 ] && [ -f "$(stamp_file "$1")" ] && [ "$(cat "$(stamp_file "$1")")" = "$2" ]; }
write_stamp() { echo "$2" > "$(stamp_file "$1")"; }

# Source package version as apt sees it locally (no network): binary
# package built from that source, else the candidate in the Sources index.
srcpkg_version() { # srcpkg binary-pkg
  local v
  v=$(dpkg-query -W -f='${source:Version}' "$2" 2>/dev/null || true)
  [ -n "$v" ] && { echo "$v"; return; }
  apt-cache showsrc "$1" 2>/dev/null | awk '/^Version:/{print $2; exit}'
}

# apt-get source into $SRC_DIR (once); prints the extracted directory.
fetch_source() { # srcpkg version
  local pkg=$1 ver=$2 upver dir
  upver=${ver#*:}; upver=${upver%-*}
  dir="$SRC_DIR/$pkg-$upver"
  if [ ! -f "$dir/.mozhou-extracted" ]; then
    rm -rf "$dir"
    log "apt-get source $pkg=$ver"
    if ! ( cd "$SRC_DIR" && apt-get source -qq "$pkg=$ver" >&2 ); then
      # The Sources index may be missing or stale: refresh once and retry
      # with whatever version the archive now has.
      apt_update
      ( cd "$SRC_DIR" && apt-get source -qq "$pkg" >&2 ) || die "apt-get source $pkg failed"
      dir=$(ls -d "$SRC_DIR/$pkg"-*/ 2>/dev/null | sort -V | tail -n1); dir=${dir%/}
    fi
    [ -d "$dir" ] || die "source directory for $pkg not found under $SRC_DIR"
    touch "$dir/.mozhou-extracted"
  fi
  echo "$dir"
}

cmake_build() { # name srcdir [cmake args...] ; MOZHOU_TARGETS/NO_INSTALL via env
  local name=$1 src=$2; shift 2
  local bdir="$DEPS_ROOT/build-$name" tgt=()
  [ -n "${BUILD_TARGETS:-}" ] && tgt=(--target $BUILD_TARGETS)
  rm -rf "$bdir"
  cmake -S "$src" -B "$bdir" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DMOZHOU_DEPS_PREFIX="$PREFIX" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
    -DBUILD_SHARED_LIBS=OFF "$@" > "$bdir.log" 2>&1 \
    || { tail -n 30 "$bdir.log" >&2; die "configuring $name failed (log: $bdir.log)"; }
  cmake --build "$bdir" -j "$JOBS" "${tgt[@]}" >> "$bdir.log" 2>&1 \
    || { tail -n 30 "$bdir.log" >&2; die "building $name failed (log: $bdir.log)"; }
  [ -n "${BUILD_TARGETS:-}" ] && return 0   # caller installs by hand
  cmake --install "$bdir" >> "$bdir.log" 2>&1 \
    || { tail -n 30 "$bdir.log" >&2; die "installing $name failed (log: $bdir.log)"; }
}

# The prefix holds only include/ and lib/ (static libraries).
tidy_prefix() {
  rm -rf "$PREFIX/bin" "$PREFIX/share" "$PREFIX/doc" "$PREFIX/man"
  find "$PREFIX/lib" -maxdepth 1 \( -name '*.dll' -o -name '*.dll.a' \) -delete
}

build_timed() { # name version function
  local name=$1 ver=$2 fn=$3 t0
  local want="$ver r$RECIPE_REV"
  if stamp_ok "$name" "$want"; then
    note "$name $ver: cached"
    return
  fi
  t0=$(date +%s)
  log "building $name $ver (i686-w64-mingw32, static, -j$JOBS)"
  rm -f "$(stamp_file "$name")"
  "$fn" "$ver"
  tidy_prefix
  write_stamp "$name" "$want"
  note "$name $ver: built in $(( $(date +%s) - t0 ))s"
}

build_libjpeg() {
  local src; src=$(fetch_source libjpeg-turbo "$1")
  # Only the static library is built (the cjpeg/djpeg tools are not needed).
  BUILD_TARGETS=jpeg-static cmake_build libjpeg-turbo "$src" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_SIMD=ON -DREQUIRE_SIMD=ON -DWITH_JAVA=OFF \
    -DCMAKE_ASM_NASM_COMPILER=nasm
  local b="$DEPS_ROOT/build-libjpeg-turbo"
  install -m644 "$b/libjpeg.a" "$PREFIX/lib/libjpeg.a"
  install -m644 "$b/jconfig.h" "$src/jpeglib.h" "$src/jerror.h" "$src/jmorecfg.h" "$PREFIX/include/"
  # SIMD must really be in: look for a NASM-built symbol.
  $TRIPLE-nm "$PREFIX/lib/libjpeg.a" 2>/dev/null | grep 'jsimd_.*_sse2' >/dev/null \
    || die "libjpeg.a was built without SIMD"
}

build_libpng() {
  local src; src=$(fetch_source libpng1.6 "$1")
  cmake_build libpng "$src" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DPNG_FRAMEWORK=OFF -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_EXECUTABLES=ON \
    -DZLIB_LIBRARY=/usr/$TRIPLE/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/$TRIPLE/include
  # libpng names its static library libpng16.a; provide libpng.a too.
  [ -f "$PREFIX/lib/libpng16.a" ] || die "libpng16.a not installed"
  [ -e "$PREFIX/lib/libpng.a" ] || cp "$PREFIX/lib/libpng16.a" "$PREFIX/lib/libpng.a"
}

build_gtest() {
  [ -f /usr/src/googletest/CMakeLists.txt ] || die "/usr/src/googletest missing (package googletest)"
  cmake_build googletest /usr/src/googletest \
    -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=OFF \
    -Dgtest_force_shared_crt=OFF
  local f
  for f in libgtest.a libgtest_main.a libgmock.a libgmock_main.a; do
    [ -f "$PREFIX/lib/$f" ] || die "$f not installed"
  done
  # Check that a test program links (static, winpthreads).
  local t="$DEPS_ROOT/build-googletest/linkcheck"
  mkdir -p "$t"
  cat > "$t/t.cpp" <<'EOF'
#include <gtest/gtest.h>
#include <gmock/gmock.h>
#include <thread>
TEST(LinkCheck, Works) { int v = 0; std::thread th([&] { v = 1; }); th.join(); EXPECT_THAT(v, ::testing::Eq(1)); }
EOF
  $TRIPLE-g++-posix -std=c++17 -O1 -I"$PREFIX/include" "$t/t.cpp" -o "$t/t.exe" \
    -L"$PREFIX/lib" -lgmock -lgtest_main -lgtest -static -static-libgcc -static-libstdc++ \
    > "$t/link.log" 2>&1 || { cat "$t/link.log" >&2; die "GoogleTest link check failed"; }
}

JPEG_VER=$(srcpkg_version libjpeg-turbo libjpeg62-turbo-dev)
[ -n "$JPEG_VER" ] || JPEG_VER=$(srcpkg_version libjpeg-turbo libjpeg62-turbo)
PNG_VER=$(srcpkg_version libpng1.6 libpng16-16)
GTEST_VER=$(dpkg-query -W -f='${Version}' googletest 2>/dev/null || true)
[ -n "$JPEG_VER" ] || { apt_update; JPEG_VER=$(srcpkg_version libjpeg-turbo x); }
[ -n "$PNG_VER" ]  || { apt_update; PNG_VER=$(srcpkg_version libpng1.6 x); }
[ -n "$JPEG_VER" ] || die "cannot determine the libjpeg-turbo source version"
[ -n "$PNG_VER" ]  || die "cannot determine the libpng1.6 source version"
[ -n "$GTEST_VER" ] || die "googletest package not installed"

build_timed libjpeg-turbo "$JPEG_VER"  build_libjpeg
build_timed libpng        "$PNG_VER"   build_libpng
build_timed googletest    "$GTEST_VER" build_gtest

# ---------------------------------------------------------------- summary
trap - ERR
{
  echo "[setup] done in $(( $(date +%s) - T_START ))s"
  for s in "${SUMMARY[@]}"; do echo "  - $s"; done
  echo "  - deps prefix: $PREFIX"
} >&2
