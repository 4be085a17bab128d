#!/usr/bin/env bash
# Cross-builds the third-party libraries from Debian's source packages into a prefix.
# Usage: build_deps.sh DEPS_DIR
# Each library is built once; a stamp file per library makes later runs free.
set -euo pipefail

DEPS=${1:?deps folder}
SRC=$DEPS/src
PREFIX=$DEPS/prefix
BLD=$DEPS/build
TOOLCHAIN=$(cd "$(dirname "$0")/../cmake" && pwd)/mingw-x86_64.cmake
CC=x86_64-w64-mingw32-gcc-posix
CXX=x86_64-w64-mingw32-g++-posix
AR=x86_64-w64-mingw32-ar
JOBS=$(nproc)
# A prefix built for another target (the earlier 32-bit build) is rebuilt from scratch.
TARGET=x86_64-w64-mingw32
if [ -d "$PREFIX" ] && [ "$(cat "$PREFIX/.target" 2>/dev/null)" != "$TARGET" ]; then
  rm -rf "$PREFIX" "$BLD"
fi
mkdir -p "$SRC" "$PREFIX/include" "$PREFIX/lib" "$BLD"
echo "$TARGET" > "$PREFIX/.target"

stamp() { echo "$PREFIX/.stamp-$1"; }
done_already() { [ -f "$(stamp "$1")" ]; }

fetch() { # package -> prints the unpacked source folder
  local pkg=$1 dir
  dir=$(find "$SRC" -maxdepth 1 -type d -name "$2" | head -1)
  if [ -z "$dir" ]; then
    (cd "$SRC" && apt-get source -qq "$pkg" >/dev/null 2>&1) || {
      echo "apt-get source $pkg failed (is a deb-src entry configured? run tools/setup_host.sh)" >&2; exit 1; }
    dir=$(find "$SRC" -maxdepth 1 -type d -name "$2" | head -1)
  fi
  echo "$dir"
}

cmake_dep() { # name srcdir [cmake args...]
  local name=$1 src=$2; shift 2
  cmake -S "$src" -B "$BLD/$name" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DKAVREL_DEPS_PREFIX="$PREFIX" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" "$@" >/dev/null
  cmake --build "$BLD/$name" -j"$JOBS" >/dev/null
  cmake --install "$BLD/$name" >/dev/null
}

static_lib() { # name srcdir "sources" cflags...  (libraries without a CMake build)
  local name=$1 src=$2 files=$3; shift 3
  local out=$BLD/$name; rm -rf "$out"; mkdir -p "$out"
  local objs=()
  for f in $files; do
    local o="$out/$(basename "${f%.*}").o"
    case "$f" in
      *.cpp) $CXX -O2 "$@" -c "$src/$f" -o "$o" ;;
      *)     $CC -O2 "$@" -c "$src/$f" -o "$o" ;;
    esac
    objs+=("$o")
  done
  $AR rcs "$PREFIX/lib/lib$name.a" "${objs[@]}"
}

# zlib
if ! done_already zlib; then
  z=$(fetch zlib 'zlib-1.*')
  # Debian's tarball cannot build the zlib DLL on MinGW (no win32/ folder): build the
  # static target alone and install it by hand.
  cmake -S "$z" -B "$BLD/zlib" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" -Wno-dev >/dev/null 2>&1
  cmake --build "$BLD/zlib" --target zlibstatic -j"$JOBS" >/dev/null
  cp "$BLD/zlib/libzlibstatic.a" "$PREFIX/lib/libzlibstatic.a"
  cp "$BLD/zlib/libzlibstatic.a" "$PREFIX/lib/libz.a"
  cp "$z/zlib.h" "$BLD/zlib/zconf.h" "$PREFIX/include/"
  touch "$(stamp zlib)"
fi

# libpng with the animated-PNG extension that Debian ships but leaves out of its series,
# with its SSE2 row filters (every x86-64 has SSE2). The stamp's name changed with the
# filters, so a prefix built without them builds libpng again.
if ! done_already png-sse2; then
  p=$(fetch libpng1.6 'libpng1.6-*')
  if ! grep -q png_get_acTL "$p/png.h"; then
    (cd "$p" && patch -p1 -s < debian/patches/libpng-1.6.39-apng.patch)
  fi
  grep -q png_get_acTL "$p/png.h" || { echo "APNG patch did not apply" >&2; exit 1; }
  cmake_dep png "$p" -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DPNG_HARDWARE_OPTIMIZATIONS=ON -DPNG_INTEL_SSE=on -DZLIB_LIBRARY="$PREFIX/lib/libzlibstatic.a" \
    -DZLIB_INCLUDE_DIR="$PREFIX/include" -DCMAKE_C_FLAGS="-fexceptions"
  touch "$(stamp png-sse2)"
fi

# giflib: no CMake build upstream
if ! done_already gif; then
  g=$(fetch giflib 'giflib-5*')
  static_lib gif "$g" "dgif_lib.c egif_lib.c gif_err.c gif_font.c gif_hash.c gifalloc.c openbsd-reallocarray.c quantize.c"
  cp "$g/gif_lib.h" "$PREFIX/include/"
  touch "$(stamp gif)"
fi

# TinyXML: Debian's header defines TIXML_USE_STL, so library and users agree on the layout.
if ! done_already tinyxml; then
  t=$(fetch tinyxml 'tinyxml-2*')
  static_lib tinyxml "$t" "tinystr.cpp tinyxml.cpp tinyxmlerror.cpp tinyxmlparser.cpp" -DTIXML_USE_STL
  cp "$t/tinyxml.h" "$t/tinystr.h" "$PREFIX/include/"
  touch "$(stamp tinyxml)"
fi

# FreeType without the optional codecs the system does not use
if ! done_already freetype; then
  f=$(fetch freetype 'freetype-2*')
  cmake_dep freetype "$f" -DBUILD_SHARED_LIBS=OFF -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON \
    -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_REQUIRE_ZLIB=ON \
    -DZLIB_LIBRARY="$PREFIX/lib/libzlibstatic.a" -DZLIB_INCLUDE_DIR="$PREFIX/include"
  touch "$(stamp freetype)"
fi
