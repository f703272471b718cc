#!/usr/bin/env bash
# Brings a fresh Debian 12 machine to a working cross-build and Wine test run.
# Idempotent: a second run only checks what is already in place.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
deps=${WT_DEPS_DIR:-$repo/.deps}
iconv_npm_version=3.0.1

say() { printf 'setup: %s\n' "$*"; }

packages=(
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix cmake make
    wine wine64 wine32:i386 xvfb x11-utils
    g++-multilib qemu-user-static clang libclang-rt-14-dev libcurl4-openssl-dev
    locales fonts-wqy-microhei
    libboost1.81-dev libgtest-dev
    python3 curl imagemagick
)

install_packages() {
    local missing=()
    # The machine's own Node.js brings npm; Debian's npm would fight it.
    command -v npm >/dev/null || packages+=(npm)
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return
    say "installing ${missing[*]}"
    [ "$(id -u)" -eq 0 ] || { echo "setup: run as root to install packages" >&2; exit 1; }
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

ensure_locale() {
    locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$' && return
    say "generating zh_CN.UTF-8"
    sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
}

# The cross compiler must see Boost and nothing else of the host's /usr/include.
ensure_boost() {
    [ -e "$deps/boost/include/boost/regex.hpp" ] && return
    say "linking Boost headers"
    mkdir -p "$deps/boost/include"
    ln -sfn /usr/include/boost "$deps/boost/include/boost"
}

# The npm package's sources, fetched once per set-up run that needs them.
iconv_sources=
fetch_iconv_sources() {
    [ -n "$iconv_sources" ] && return
    iconv_sources=$(mktemp -d)
    (cd "$iconv_sources" && npm pack --silent "iconv@$iconv_npm_version" >/dev/null &&
        tar xzf "iconv-$iconv_npm_version.tgz")
}

# GNU libiconv for one target, from the sources the npm package 'iconv' carries.
#   ensure_iconv TRIPLE LIBRARY CC AR [CFLAGS...]
ensure_iconv() {
    local triple=$1 library=$2 cc=$3 ar=$4
    shift 4
    local dest=$deps/$triple/iconv
    [ -f "$dest/lib/$library" ] && return
    say "building GNU libiconv for $triple ($library)"
    fetch_iconv_sources
    local src=$iconv_sources/package work
    work=$(mktemp -d)
    mkdir -p "$dest/include" "$dest/lib"
    "$cc" "$@" -O2 -w -DICONV_CONST=const -DENABLE_EXTRA=1 -I"$src/support" \
        -c "$src/deps/libiconv/lib/iconv.c" -o "$work/iconv.o"
    "$cc" "$@" -O2 -w -I"$src/support" -c "$src/support/localcharset.c" -o "$work/localcharset.o"
    "$ar" rcs "$dest/lib/$library" "$work/iconv.o" "$work/localcharset.o"
    cp "$src/support/iconv.h" "$dest/include/iconv.h"
    rm -rf "$work"
}

# GoogleTest for one target, from Debian's sources.
#   ensure_gtest TRIPLE TOOLCHAIN_FILE
ensure_gtest() {
    local triple=$1 toolchain=$2
    local dest=$deps/$triple/gtest
    [ -f "$dest/lib/libgtest.a" ] && return
    say "building GoogleTest for $triple"
    local work
    work=$(mktemp -d)
    cmake -S /usr/src/googletest -B "$work" -G "Unix Makefiles" \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF \
        -DCMAKE_INSTALL_PREFIX="$dest" >/dev/null
    cmake --build "$work" -j"$(nproc)" >/dev/null
    cmake --install "$work" >/dev/null
    rm -rf "$work"
}

install_packages
ensure_locale
ensure_boost
for arch in i686 x86_64; do
    triple=$arch-w64-mingw32
    ensure_iconv "$triple" libiconv.a "$triple-gcc-posix" "$triple-ar"
    ensure_gtest "$triple" "toolchain-mingw-$arch.cmake"
done
# The portable core as 32-bit Linux programs (run under qemu), and natively.
ensure_iconv i686-linux-gnu libiconv.a gcc ar -m32
ensure_gtest i686-linux-gnu toolchain-linux-i386.cmake
host=$(gcc -print-multiarch)
ensure_iconv "$host" libiconv.a gcc ar
# The fuzz targets' copy carries libFuzzer's coverage counters and the
# sanitizers, so that the search is guided through the converters themselves.
ensure_iconv "$host" libiconv-fuzz.a clang ar -g -fsanitize=fuzzer-no-link,address,undefined
[ -z "$iconv_sources" ] || rm -rf "$iconv_sources"
say "ready ($deps)"
