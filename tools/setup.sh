#!/usr/bin/env bash
# Machine set-up for Mozhou on Debian 12 (bookworm), run as root.
#
#  1. i386 architecture + deb-src entries for bookworm main (own file).
#  2. Missing Debian packages (installed without recommends).
#  3. zh_CN.UTF-8 locale.
#  4. Checks that 32-bit code runs (Wine win32).  Where the kernel cannot
#     (e.g. "32-bit emulation disabled", as on this project's VMs), the
#     x86_64 deps and wine64 are added so tests can run as win64 (see below).
#  5. Static mingw-w64 builds of libjpeg-turbo (SIMD), libpng, libwebp, libtiff, libsodium,
#     pugixml, minizip (from zlib's source), dav1d and GoogleTest/GoogleMock into
#     <repo>/.cache/deps/<arch> (include/, lib/), and the DLLs libde265.dll and libheif.dll (dll/),
#     reused while their stamp (source version + recipe revision) matches.
#
# Idempotent; a run with everything present takes a few seconds.
# Environment:
#   MOZHOU_ARCHS    deps to build: "i686" (default) or "i686 x86_64";
#                   x86_64 also installs the x86_64 mingw compilers and wine64
#                   (added by itself where 32-bit code cannot run)
#   MOZHOU_QEMU_I386 "1": where 32-bit code cannot run, emulate it with
#                   qemu-user (binfmt_misc) instead of adding x86_64
#   MOZHOU_JOBS     parallel build jobs (default: 2)
#   MOZHOU_REBUILD  "1" forces the libraries to be rebuilt
set -Eeuo pipefail

REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DEPS_ROOT="$REPO/.cache/deps"
SRC_DIR="$DEPS_ROOT/src"
TOOLCHAIN="$REPO/tools/toolchain-mingw-deps.cmake"
JOBS="${MOZHOU_JOBS:-2}"
ARCHS="${MOZHOU_ARCHS:-i686}"
# Bump when the recipes below change so that the cache is rebuilt.
RECIPE_REV=1
SRC_LIST=/etc/apt/sources.list.d/mozhou-src.sources

export DEBIAN_FRONTEND=noninteractive LC_ALL=C

PACKAGES=(
  # cross toolchain and Windows-side libraries
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  mingw-w64-i686-dev libz-mingw-w64-dev nasm
  # dav1d's build
  meson ninja-build
  # native build/test tools
  cmake make g++ googletest python3 python3-pytest libjpeg-dev dpkg-dev
  file procps ca-certificates xz-utils patch
  # native picture decoding, its comparison tests (djpeg) and decode benchmarks (giflib)
  libjpeg62-turbo-dev libpng-dev libwebp-dev libjpeg-turbo-progs libgif-dev libtiff-dev
  # native HEIC and AVIF decoding (libheif with libde265 and dav1d); the tests and benchmarks write
  # their pictures with libheif's and libavif's encoders, heif-enc, avifenc and tiffcp
  libheif-dev libavif-dev libheif-examples libavif-bin libtiff-tools
  # native update checks: manifest signatures and download hashes; libsodium's
  # Debian source ships no configure script (Debian's build runs autoreconf too)
  libsodium-dev autoconf automake libtool
  # the update manifest (XML) and the updater's ZIP archives
  libpugixml-dev libminizip-dev
  # the end-to-end tests sign the manifests they serve
  python3-cryptography
  # the fuzz targets: clang with libFuzzer
  clang libclang-rt-14-dev
  # test environment: Wine, X, fonts, printing
  wine wine32:i386 libcups2:i386 xvfb xauth x11-utils xdotool imagemagick
  fonts-wqy-zenhei fonts-wine fonts-liberation fonts-dejavu-core locales
  cups cups-client cups-bsd printer-driver-cups-pdf
  poppler-utils
)
X86_64_PACKAGES=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
                 binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev wine64)
for a in $ARCHS; do
  case "$a" in
    i686) ;;
    x86_64) PACKAGES+=("${X86_64_PACKAGES[@]}") ;;
    *) echo "[setup] ERROR: unknown arch '$a' in MOZHOU_ARCHS (i686, x86_64)" >&2; exit 2 ;;
  esac
done

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
  # A mirror caught mid-sync fails one index now and then: try again, and go on with what was
  # fetched if it still fails (a package that cannot be found then fails the install below).
  local try
  for try in 1 2 3; do
    apt-get update -qq >&2 && break
    [ "$try" = 3 ] && { note "apt-get update reported errors; went on with the indexes it fetched"; break; }
    log "apt-get update failed; trying again in 15 s"
    sleep 15
  done
  APT_UPDATED=1; NEED_UPDATE=0
}

if ! dpkg --print-foreign-architectures | grep -x i386 >/dev/null; then
  need_root "adding the i386 architecture"
  log "dpkg --add-architecture i386"
  dpkg --add-architecture i386
  NEED_UPDATE=1
  note "added i386 architecture"
fi

SRC_CONTENT='# Added by mozhou tools/setup.sh: sources for `apt-get source` (libjpeg-turbo, libpng1.6).
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg'

other_bookworm_src() {
  # A deb-src line (one-line format) or a deb822 stanza with deb-src for
  # bookworm main, in a file other than ours.
  grep -rsE '^[[:space:]]*deb-src[[:space:]].*[[:space:]]bookworm[[:space:]].*main' \
      /etc/apt/sources.list /etc/apt/sources.list.d/*.list >/dev/null && return 0
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && [ "$f" != "$SRC_LIST" ] || continue
    awk 'BEGIN{RS=""; IGNORECASE=1}
         /(^|\n)Types:[^\n]*deb-src/ && /(^|\n)Suites:[^\n]*bookworm([ \t\n]|$)/ &&
         /(^|\n)Components:[^\n]*main/ && !/(^|\n)Enabled:[ \t]*no/ {found=1}
         END{exit !found}' "$f" && return 0
  done
  return 1
}
if { [ -f "$SRC_LIST" ] && [ "$(cat "$SRC_LIST")" != "$SRC_CONTENT" ]; } ||
   { [ ! -f "$SRC_LIST" ] && ! other_bookworm_src; }; then
  need_root "adding a deb-src entry"
  log "writing $SRC_LIST"
  printf '%s\n' "$SRC_CONTENT" > "$SRC_LIST"
  NEED_UPDATE=1
  note "added deb-src entries ($SRC_LIST)"
fi

# ---------------------------------------------------------------- 2. packages
pkg_installed() {
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}
install_missing() {
  local missing=() p
  for p in "$@"; do pkg_installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return 1
  need_root "installing packages (${missing[*]})"
  apt_update
  log "apt-get install ${missing[*]}"
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2 \
    || die "apt-get install failed for: ${missing[*]}"
  note "installed packages: ${missing[*]}"
}
install_missing "${PACKAGES[@]}" || note "packages: all ${#PACKAGES[@]} present"
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

# ---------------------------------------------------------------- 4. i386
# Wine win32 needs the kernel to run 32-bit code.  Some kernels cannot
# ("32-bit emulation disabled", as on this project's VMs).  Then:
#  - default: build the x86_64 deps too and install wine64, so that tests
#    can run as 64-bit programs (tools/harness.sh picks win64);
#  - MOZHOU_QEMU_I386=1: hand i386 binaries to qemu-user via binfmt_misc.
#    Wine win32 then starts, but each Wine process costs minutes of
#    emulation and qemu crashes now and then: not fit for a test suite.
BINFMT=/proc/sys/fs/binfmt_misc
QEMU_I386_REG=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F'
i386_runs() { /lib/ld-linux.so.2 --version >/dev/null 2>&1; }
qemu_i386_on() { [ -f "$BINFMT/qemu-i386" ] && grep -x enabled "$BINFMT/qemu-i386" >/dev/null; }
if i386_runs && ! qemu_i386_on; then
  note "i386: native (Wine win32 usable)"
elif [ "${MOZHOU_QEMU_I386:-0}" = 1 ]; then
  if ! qemu_i386_on; then
    log "this kernel cannot run 32-bit code; routing i386 binaries to qemu-user"
    need_root "registering qemu-user for i386"
    install_missing qemu-user-static || true
    [ -f "$BINFMT/register" ] || mount -t binfmt_misc binfmt_misc "$BINFMT" \
      || die "cannot mount binfmt_misc"
    if [ -f "$BINFMT/qemu-i386" ]; then
      echo 1 > "$BINFMT/qemu-i386"
    else
      printf '%s' "$QEMU_I386_REG" > "$BINFMT/register" || die "binfmt_misc registration failed"
    fi
  fi
  i386_runs || die "i386 binaries still cannot run (qemu-i386 via binfmt_misc)"
  note "i386: EMULATED by qemu-user (binfmt_misc qemu-i386): Wine win32 is very slow"
else
  if qemu_i386_on; then
    note "i386: only through qemu-user (binfmt_misc qemu-i386 is registered; echo -1 > $BINFMT/qemu-i386 removes it)"
  else
    note "i386: this kernel cannot run 32-bit code: Wine win32 unusable, tests run as win64"
  fi
  case " $ARCHS " in
    *" x86_64 "*) ;;
    *) ARCHS="$ARCHS x86_64"
       install_missing "${X86_64_PACKAGES[@]}" || true ;;
  esac
fi

# ---------------------------------------------------------------- 5. deps
mkdir -p "$SRC_DIR" "$DEPS_ROOT/stamps"
for tool in nasm cmake; do command -v "$tool" >/dev/null || die "$tool not found"; done

# Source versions in apt's local Sources index, highest first (no network).
src_versions() {
  apt-cache showsrc --only-source "$1" 2>/dev/null | awk '/^Version:/{print $2}' | sort -Vru
}
src_candidate() { src_versions "$1" | head -n1; }

# apt-get source PKG=VER into $SRC_DIR (once); prints the directory.
fetch_source() { # srcpkg version
  local pkg=$1 ver=$2 upver dir
  upver=${ver#*:}; upver=${upver%-*}
  dir="$SRC_DIR/$pkg-$upver"
  if [ ! -f "$dir/.mozhou-version" ] || [ "$(cat "$dir/.mozhou-version")" != "$ver" ]; then
    rm -rf "$dir"
    log "apt-get source $pkg=$ver"
    ( cd "$SRC_DIR" && apt-get source -qq "$pkg=$ver" >&2 ) || return 1
    [ -d "$dir" ] || die "source directory $dir not found after apt-get source"
    echo "$ver" > "$dir/.mozhou-version"
  fi
  echo "$dir"
}

cmake_build() { # name srcdir [cmake args...]; env BUILD_TARGETS: build only these, no install
  local name=$1 src=$2; shift 2
  local bdir="$DEPS_ROOT/build-$ARCH-$name" tgt=()
  [ -n "${BUILD_TARGETS:-}" ] && tgt=(--target $BUILD_TARGETS)
  rm -rf "$bdir"
  cmake -S "$src" -B "$bdir" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DMOZHOU_TRIPLE="$TRIPLE" -DMOZHOU_DEPS_PREFIX="$PREFIX" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
    -DBUILD_SHARED_LIBS=OFF "$@" > "$bdir.log" 2>&1 \
    || { tail -n 30 "$bdir.log" >&2; die "configuring $name failed (log: $bdir.log)"; }
  cmake --build "$bdir" -j "$JOBS" "${tgt[@]}" >> "$bdir.log" 2>&1 \
    || { tail -n 30 "$bdir.log" >&2; die "building $name failed (log: $bdir.log)"; }
  [ -n "${BUILD_TARGETS:-}" ] && return 0
  cmake --install "$bdir" >> "$bdir.log" 2>&1 \
    || { tail -n 30 "$bdir.log" >&2; die "installing $name failed (log: $bdir.log)"; }
}

# The prefix holds only include/ and lib/ (static libraries).
tidy_prefix() {
  rm -rf "$PREFIX/bin" "$PREFIX/share" "$PREFIX/doc" "$PREFIX/man"
  find "$PREFIX/lib" -maxdepth 1 \( -name '*.dll' -o -name '*.dll.a' \) -delete
}

stamp_file() { echo "$DEPS_ROOT/stamps/$ARCH-$1.stamp"; }

# build_lib NAME VERSION FUNCTION: build unless the stamp matches.
# An empty VERSION (no Sources index) reuses whatever was built before.
# RECIPE, when set, names a change to that library's recipe alone, so that only it is rebuilt.
build_lib() {
  local name=$1 ver=$2 fn=$3 t0 sf; sf=$(stamp_file "$name")
  local stamp_recipe="r$RECIPE_REV${RECIPE:+ $RECIPE}"
  if [ "${MOZHOU_REBUILD:-0}" != 1 ] && [ -f "$sf" ] &&
     { [ -z "$ver" ] || [ "$(cat "$sf")" = "$ver $stamp_recipe" ]; }; then
    note "$ARCH $name $(cut -d' ' -f1 "$sf"): cached"
    return
  fi
  if [ -z "$ver" ]; then
    apt_update
    ver=$(src_candidate "$SRCPKG")
    [ -n "$ver" ] || die "no source version for $SRCPKG (deb-src missing?)"
  fi
  if [ "$SRCPKG" != googletest ] && ! SRC=$(fetch_source "$SRCPKG" "$ver"); then
    # The index may list a version the archive no longer serves: try the others.
    local v ok=0
    for v in $(src_versions "$SRCPKG"); do
      [ "$v" = "$ver" ] && continue
      log "falling back to $SRCPKG $v"
      if SRC=$(fetch_source "$SRCPKG" "$v"); then ver=$v; ok=1; break; fi
    done
    [ $ok = 1 ] || die "apt-get source $SRCPKG failed for every listed version"
  fi
  t0=$(date +%s)
  log "building $name $ver for $TRIPLE (static, -j$JOBS)"
  rm -f "$sf"
  "$fn" "$ver"
  tidy_prefix
  echo "$ver $stamp_recipe" > "$sf"
  note "$ARCH $name $ver: built in $(( $(date +%s) - t0 ))s"
}

build_libjpeg() {
  local src=$SRC
  # Only the static library is built (the cjpeg/djpeg tools are not needed).
  BUILD_TARGETS=jpeg-static cmake_build libjpeg-turbo "$src" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_SIMD=ON -DREQUIRE_SIMD=ON -DWITH_JAVA=OFF
  local b="$DEPS_ROOT/build-$ARCH-libjpeg-turbo"
  install -m644 "$b/libjpeg.a" "$PREFIX/lib/libjpeg.a"
  install -m644 "$b/jconfig.h" "$src/jpeglib.h" "$src/jerror.h" "$src/jmorecfg.h" "$PREFIX/include/"
  # SIMD must really be in: look for a NASM-built symbol.
  "$TRIPLE-nm" "$PREFIX/lib/libjpeg.a" 2>/dev/null | grep 'jsimd_.*_sse2' >/dev/null \
    || die "libjpeg.a was built without SIMD"
}

build_libpng() {
  local src=$SRC
  cmake_build libpng "$src" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_EXECUTABLES=ON \
    -DZLIB_LIBRARY="/usr/$TRIPLE/lib/libz.a" -DZLIB_INCLUDE_DIR="/usr/$TRIPLE/include"
  # libpng names its static library libpng16.a; provide libpng.a too.
  [ -f "$PREFIX/lib/libpng16.a" ] || die "libpng16.a not installed"
  [ -e "$PREFIX/lib/libpng.a" ] || cp "$PREFIX/lib/libpng16.a" "$PREFIX/lib/libpng.a"
}

# Only the libraries (no tools, no image readers for them); SIMD as libwebp picks it at run time.
build_libwebp() {
  cmake_build libwebp "$SRC" \
    -DWEBP_BUILD_ANIM_UTILS=OFF -DWEBP_BUILD_CWEBP=OFF -DWEBP_BUILD_DWEBP=OFF \
    -DWEBP_BUILD_GIF2WEBP=OFF -DWEBP_BUILD_IMG2WEBP=OFF -DWEBP_BUILD_VWEBP=OFF \
    -DWEBP_BUILD_WEBPINFO=OFF -DWEBP_BUILD_WEBPMUX=OFF -DWEBP_BUILD_EXTRAS=OFF \
    -DWEBP_BUILD_LIBWEBPMUX=OFF
  [ -f "$PREFIX/lib/libwebp.a" ] || die "libwebp.a not installed"
}

# Only the library, in C, with the codecs of scanned and faxed pages: CCITT G3/G4, LZW, PackBits,
# Deflate (the mingw zlib) and JPEG (the libjpeg-turbo above). No other codec, no tools, tests or
# documentation.
build_libtiff() {
  cmake_build libtiff "$SRC" \
    -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF -Dtiff-deprecated=OFF \
    -Dtiff-opengl=OFF -Dsphinx=OFF -Dcxx=OFF \
    -Dccitt=ON -Dlzw=ON -Dpackbits=ON -Dzlib=ON -Djpeg=ON \
    -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF -Djbig=OFF -Dlerc=OFF -Dlibdeflate=OFF -Djpeg12=OFF \
    -Dold-jpeg=OFF -Dpixarlog=OFF -Dlogluv=OFF -Dnext=OFF -Dthunder=OFF -Dmdi=OFF \
    -DZLIB_LIBRARY="/usr/$TRIPLE/lib/libz.a" -DZLIB_INCLUDE_DIR="/usr/$TRIPLE/include" \
    -DJPEG_LIBRARY="$PREFIX/lib/libjpeg.a" -DJPEG_INCLUDE_DIR="$PREFIX/include"
  [ -f "$PREFIX/lib/libtiff.a" ] || die "libtiff.a not installed"
  rm -rf "$PREFIX/lib/cmake/tiff" "$PREFIX/lib/pkgconfig/libtiff-4.pc"
}

# autotools, built outside the source tree so that both architectures share it.
build_libsodium() {
  local src=$SRC bdir="$DEPS_ROOT/build-$ARCH-libsodium"
  rm -rf "$bdir"
  mkdir -p "$bdir"
  : > "$bdir.log"
  [ -x "$src/configure" ] || ( cd "$src" && autoreconf -fi ) >> "$bdir.log" 2>&1 \
    || { tail -n 30 "$bdir.log" >&2; die "autoreconf for libsodium failed (log: $bdir.log)"; }
  # --enable-minimal: the update check needs only signatures and hashing.
  ( cd "$bdir" && "$src/configure" --host="$TRIPLE" CC="$TRIPLE-gcc-posix" \
      --enable-minimal --disable-shared --enable-static --prefix="$PREFIX" ) >> "$bdir.log" 2>&1 \
    || { tail -n 30 "$bdir.log" >&2; die "configuring libsodium failed (log: $bdir.log)"; }
  make -C "$bdir" -j"$JOBS" install >> "$bdir.log" 2>&1 \
    || { tail -n 30 "$bdir.log" >&2; die "building libsodium failed (log: $bdir.log)"; }
  [ -f "$PREFIX/lib/libsodium.a" ] || die "libsodium.a not installed"
}

build_pugixml() {
  cmake_build pugixml "$SRC" -DPUGIXML_BUILD_TESTS=OFF -DPUGIXML_BUILD_SHARED_AND_STATIC_LIBS=OFF
  [ -f "$PREFIX/lib/libpugixml.a" ] || die "libpugixml.a not installed"
}

# minizip is a contribution in zlib's source; the updater only reads archives, so only the
# unzip side is built, against the mingw zlib.
build_minizip() {
  local src="$SRC/contrib/minizip" bdir="$DEPS_ROOT/build-$ARCH-minizip" f
  rm -rf "$bdir"
  mkdir -p "$bdir" "$PREFIX/include/minizip"
  for f in unzip ioapi iowin32; do
    "$TRIPLE-gcc-posix" -O2 -c "$src/$f.c" -o "$bdir/$f.o" -I"/usr/$TRIPLE/include" \
      > "$bdir/$f.log" 2>&1 || { cat "$bdir/$f.log" >&2; die "building minizip $f.c failed"; }
  done
  rm -f "$PREFIX/lib/libminizip.a"
  "$TRIPLE-ar" rcs "$PREFIX/lib/libminizip.a" "$bdir"/*.o
  install -m644 "$src/unzip.h" "$src/ioapi.h" "$src/iowin32.h" "$PREFIX/include/minizip/"
}

# AV1 for AVIF pictures: the static library alone, 8- and 16-bit pictures (phones write 10-bit),
# with its assembly; no tools, tests or examples. On Windows dav1d runs its threads through its own
# layer over Win32 (src/win32/thread.c), so it needs nothing beyond the C runtime.
build_dav1d() {
  local src=$SRC bdir="$DEPS_ROOT/build-$ARCH-dav1d" cpu=$ARCH
  [ "$ARCH" = i686 ] && cpu=x86
  rm -rf "$bdir"
  mkdir -p "$bdir"
  cat > "$bdir.cross" <<EOF
[binaries]
c = '$TRIPLE-gcc-posix'
ar = '$TRIPLE-ar'
strip = '$TRIPLE-strip'
windres = '$TRIPLE-windres'

[properties]
needs_exe_wrapper = true

[host_machine]
system = 'windows'
cpu_family = '$cpu'
cpu = '$ARCH'
endian = 'little'
EOF
  meson setup "$bdir" "$src" --cross-file "$bdir.cross" --buildtype=release --default-library=static \
    -Denable_tools=false -Denable_tests=false -Denable_examples=false -Denable_docs=false \
    -Dbitdepths=8,16 -Denable_asm=true > "$bdir.log" 2>&1 \
    || { tail -n 30 "$bdir.log" >&2; die "configuring dav1d failed (log: $bdir.log)"; }
  ninja -C "$bdir" -j "$JOBS" src/libdav1d.a >> "$bdir.log" 2>&1 \
    || { tail -n 30 "$bdir.log" >&2; die "building dav1d failed (log: $bdir.log)"; }
  rm -rf "$PREFIX/include/dav1d"
  mkdir -p "$PREFIX/include/dav1d"
  install -m644 "$src"/include/dav1d/*.h "$bdir/include/dav1d/version.h" "$PREFIX/include/dav1d/"
  install -m644 "$bdir/src/libdav1d.a" "$PREFIX/lib/libdav1d.a"
  # The assembly must really be in.
  "$TRIPLE-nm" "$PREFIX/lib/libdav1d.a" 2>/dev/null | grep ' T .*_ssse3$' >/dev/null \
    || die "libdav1d.a was built without its assembly"
}

# HEIC pictures: libheif with libde265, both LGPL, are DLLs of their own in $PREFIX/dll that ship
# beside 墨舟.exe (the user may replace them) and that the program loads when it first meets a
# HEIC picture. Each is linked with the C and C++ runtimes and winpthreads inside, so that it
# depends on Windows' own DLLs alone (and libheif.dll on libde265.dll), for DEP and ASLR as the
# program is, and stripped.
# Neither library marks its API for export when built with gcc for Windows, and the linker would
# then export every symbol, winpthreads' too: a module definition file names the functions that
# the library's header declares with its API macro (comments dropped: libheif's header holds a
# declaration commented out), and only those are exported.
# dll_link_flags NAME HEADER API_MACRO
dll_link_flags() {
  local def="$DEPS_ROOT/build-$ARCH-$1.def" flags
  { echo "LIBRARY $1.dll"; echo "EXPORTS"
    "$TRIPLE-gcc-posix" -x c -fpreprocessed -dD -E -P "$2" 2>/dev/null | grep -v '^[[:space:]]*#' \
      | tr '\n' ' ' | grep -oE "\\b$3\\b[^;(]*\\(" | grep -oE '[A-Za-z_][A-Za-z0-9_]*[[:space:]]*\($' \
      | tr -d ' (' | sed 's/^/  /'
  } > "$def"
  [ "$(grep -c '^  ' "$def")" -gt 20 ] || die "no API found in $2"
  flags="-static -static-libgcc -static-libstdc++ -s -Wl,--nxcompat,--dynamicbase"
  [ "$ARCH" = x86_64 ] && flags+=",--high-entropy-va"
  echo "$flags $def"
}

# check_dll FILE [DLL...]: FILE imports nothing but Windows' own DLLs and those named.
check_dll() {
  local dll=$1 name; shift
  [ -f "$dll" ] || die "$dll not built"
  while read -r name; do
    case "${name,,}" in
      kernel32.dll|msvcrt.dll|user32.dll|advapi32.dll) ;;
      *) [[ " ${*,,} " == *" ${name,,} "* ]] || die "$(basename "$dll") needs $name, which Windows does not have" ;;
    esac
  done < <("$TRIPLE-objdump" -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: //p')
}

# The decoder alone: neither its tools (dec265, SDL) nor the encoder, which upstream always builds
# into the library (dropped from its source list; the decoder does not call it).
build_libde265() {
  local src=$SRC flags
  flags=$(dll_link_flags libde265 "$src/libde265/de265.h" LIBDE265_API)
  sed -i -e '/^add_subdirectory (encoder)$/d' -e 's/ \${ENCODER_OBJECTS}//' -e '/^  en265\.cc$/d' \
    "$src/libde265/CMakeLists.txt"
  ! grep -E 'encoder|ENCODER|en265\.cc' "$src/libde265/CMakeLists.txt" >/dev/null \
    || die "libde265's CMakeLists.txt still builds the encoder: its source list has changed"
  cmake_build libde265 "$src" -DBUILD_SHARED_LIBS=ON \
    -DENABLE_SDL=OFF -DENABLE_DECODER=OFF -DENABLE_ENCODER=OFF \
    -DCMAKE_SHARED_LINKER_FLAGS="$flags"
  mkdir -p "$PREFIX/dll"
  # libheif links against the import library: it is kept beside the DLL, out of lib/.
  mv "$PREFIX/bin/libde265.dll" "$PREFIX/lib/libde265.dll.a" "$PREFIX/dll/"
  rm -rf "$PREFIX/lib/cmake/libde265" "$PREFIX/lib/pkgconfig/libde265.pc"
  check_dll "$PREFIX/dll/libde265.dll"
}

# Reading HEIF files, HEVC decoded through libde265 (HEIC) and AV1 through the static dav1d above,
# linked into the DLL (AVIF), nothing more: no encoders, no plugins loaded from elsewhere, no
# examples or thumbnailer. pkg-config sees only $PREFIX, so
# nothing of the host's (libde265, gdk-pixbuf) is picked up.
build_libheif() {
  local flags
  flags=$(dll_link_flags libheif "$SRC/libheif/heif.h" LIBHEIF_API)
  PKG_CONFIG_LIBDIR="$PREFIX/lib/pkgconfig" PKG_CONFIG_PATH="" cmake_build libheif "$SRC" \
    -DBUILD_SHARED_LIBS=ON -DENABLE_PLUGIN_LOADING=OFF -DWITH_EXAMPLES=OFF \
    -DWITH_LIBDE265=ON -DWITH_LIBDE265_PLUGIN=OFF -DWITH_DAV1D_PLUGIN=OFF \
    -DLIBDE265_INCLUDE_DIR="$PREFIX/include" -DLIBDE265_LIBRARY="$PREFIX/dll/libde265.dll.a" \
    -DWITH_DAV1D=ON -DDAV1D_INCLUDE_DIR="$PREFIX/include" -DDAV1D_LIBRARY="$PREFIX/lib/libdav1d.a" \
    -DWITH_X265=OFF -DWITH_AOM_DECODER=OFF -DWITH_AOM_ENCODER=OFF \
    -DWITH_SvtEnc=OFF -DWITH_RAV1E=OFF -DWITH_DEFLATE_HEADER_COMPRESSION=OFF \
    -DCMAKE_SHARED_LINKER_FLAGS="$flags"
  grep -q "libde265 (HEIC decoder): found (built-in)" "$DEPS_ROOT/build-$ARCH-libheif.log" \
    || die "libheif was configured without libde265"
  grep -q "Dav1d (AVIF decoder): found (built-in)" "$DEPS_ROOT/build-$ARCH-libheif.log" \
    || die "libheif was configured without dav1d"
  mkdir -p "$PREFIX/dll"
  # The program loads libheif.dll itself: no import library.
  mv "$PREFIX/bin/libheif.dll" "$PREFIX/dll/"
  rm -rf "$PREFIX/lib/libheif.dll.a" "$PREFIX/lib/cmake/libheif" "$PREFIX/lib/pkgconfig/libheif.pc"
  check_dll "$PREFIX/dll/libheif.dll" libde265.dll
}

build_gtest() {
  [ -f /usr/src/googletest/CMakeLists.txt ] || die "/usr/src/googletest missing (package googletest)"
  cmake_build googletest /usr/src/googletest \
    -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=OFF
  local f
  for f in libgtest.a libgtest_main.a libgmock.a libgmock_main.a; do
    [ -f "$PREFIX/lib/$f" ] || die "$f not installed"
  done
  # A test program must link (static, winpthreads).
  local t="$DEPS_ROOT/build-$ARCH-googletest/linkcheck"
  mkdir -p "$t"
  cat > "$t/t.cpp" <<'EOF'
#include <gtest/gtest.h>
#include <gmock/gmock.h>
#include <thread>
TEST(LinkCheck, Works) { int v = 0; std::thread th([&] { v = 1; }); th.join(); EXPECT_THAT(v, ::testing::Eq(1)); }
EOF
  "$TRIPLE-g++-posix" -std=c++17 -O1 -I"$PREFIX/include" "$t/t.cpp" -o "$t/t.exe" \
    -L"$PREFIX/lib" -lgmock -lgtest_main -lgtest -static -static-libgcc -static-libstdc++ \
    > "$t/link.log" 2>&1 || { cat "$t/link.log" >&2; die "GoogleTest link check failed"; }
}

JPEG_VER=$(src_candidate libjpeg-turbo)
PNG_VER=$(src_candidate libpng1.6)
WEBP_VER=$(src_candidate libwebp)
TIFF_VER=$(src_candidate tiff)
SODIUM_VER=$(src_candidate libsodium)
PUGIXML_VER=$(src_candidate pugixml)
ZLIB_VER=$(src_candidate zlib)
DAV1D_VER=$(src_candidate dav1d)
DE265_VER=$(src_candidate libde265)
HEIF_VER=$(src_candidate libheif)
GTEST_VER=$(dpkg-query -W -f='${Version}' googletest 2>/dev/null || true)
[ -n "$GTEST_VER" ] || die "googletest package not installed"

for ARCH in $ARCHS; do
  TRIPLE="$ARCH-w64-mingw32"
  PREFIX="$DEPS_ROOT/$ARCH"
  mkdir -p "$PREFIX/include" "$PREFIX/lib"
  for tool in "$TRIPLE-gcc-posix" "$TRIPLE-g++-posix"; do
    command -v "$tool" >/dev/null || die "$tool not found"
  done
  SRCPKG=libjpeg-turbo build_lib libjpeg-turbo "$JPEG_VER"  build_libjpeg
  SRCPKG=libpng1.6     build_lib libpng        "$PNG_VER"   build_libpng
  SRCPKG=libwebp       build_lib libwebp       "$WEBP_VER"  build_libwebp
  SRCPKG=tiff          build_lib libtiff       "$TIFF_VER"  build_libtiff
  SRCPKG=libsodium     build_lib libsodium     "$SODIUM_VER" build_libsodium
  SRCPKG=pugixml       build_lib pugixml       "$PUGIXML_VER" build_pugixml
  SRCPKG=zlib          build_lib minizip       "$ZLIB_VER"  build_minizip
  SRCPKG=googletest    build_lib googletest    "$GTEST_VER" build_gtest
  SRCPKG=dav1d         build_lib dav1d         "$DAV1D_VER" build_dav1d
  SRCPKG=libde265      build_lib libde265      "$DE265_VER" build_libde265
  SRCPKG=libheif RECIPE=av1 build_lib libheif  "$HEIF_VER"  build_libheif
done

# ---------------------------------------------------------------- summary
trap - ERR
{
  echo "[setup] done in $(( $(date +%s) - T_START ))s"
  for s in "${SUMMARY[@]}"; do echo "  - $s"; done
  echo "  - deps: $DEPS_ROOT/{$(echo $ARCHS | tr ' ' ',')}"
} >&2
