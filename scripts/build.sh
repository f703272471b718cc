#!/usr/bin/env bash
# Set-up, configure and build: what both README commands start with.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${WT_BUILD_DIR:-$repo/build}

bash "$repo/scripts/setup.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$repo" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchain-mingw-i686.cmake" >/dev/null
fi
cmake --build "$build" -j"$(nproc)"
