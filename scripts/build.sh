#!/usr/bin/env bash
# Set-up, configure and build: what both README commands start with.
#   scripts/build.sh [BUILD...]   (default: all of them)
# Builds, each in build/NAME:
#   i686        the product, 32-bit Windows (mingw-w64)
#   x86_64      the same sources for 64-bit Windows, which wine64 runs everywhere
#   linux-i686  the portable core as static 32-bit Linux programs, run under qemu
#   native      the portable core on the host, with AddressSanitizer and UBSan
#   fuzz        the portable core's libFuzzer targets (clang)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
root=${WT_BUILD_ROOT:-$repo/build}

bash "$repo/scripts/setup.sh"

sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
configure() {
    local name=$1
    case $name in
    i686 | x86_64) echo "-DCMAKE_TOOLCHAIN_FILE=$repo/cmake/toolchain-mingw-$name.cmake" ;;
    linux-i686) echo "-DCMAKE_TOOLCHAIN_FILE=$repo/cmake/toolchain-linux-i386.cmake" ;;
    native)
        echo "-DCMAKE_BUILD_TYPE=Debug"
        echo "-DCMAKE_CXX_FLAGS=$sanitizers"
        echo "-DCMAKE_EXE_LINKER_FLAGS=$sanitizers"
        ;;
    fuzz)
        echo "-DCMAKE_C_COMPILER=clang"
        echo "-DCMAKE_CXX_COMPILER=clang++"
        echo "-DCMAKE_BUILD_TYPE=RelWithDebInfo"
        ;;
    *) echo "build: no build named '$name'" >&2; return 1 ;;
    esac
}

[ $# -gt 0 ] || set -- i686 x86_64 linux-i686 native fuzz
for name in "$@"; do
    build=$root/$name
    if [ ! -f "$build/CMakeCache.txt" ]; then
        mapfile -t options < <(configure "$name")
        cmake -S "$repo" -B "$build" "${options[@]}" >/dev/null
    fi
    cmake --build "$build" -j"$(nproc)"
done
