#!/usr/bin/env bash
# Builds the portable parts (text/, pattern/, episodes/) and the command-line
# collector (cli/) with the host compiler and runs their tests under
# AddressSanitizer and UndefinedBehaviorSanitizer: memory faults that Wine's
# heap forgives show up here. Needs Debian's libgtest-dev and libcurl4-openssl-dev.
#   scripts/native-check.sh [ctest arguments, e.g. -R text_tests]
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${WT_NATIVE_BUILD_DIR:-$repo/build-native}
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

bash "$repo/scripts/build-iconv.sh" "$repo/.deps/native/iconv"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="$sanitizers" -DCMAKE_EXE_LINKER_FLAGS="$sanitizers"
cmake --build "$build" -j2
cd "$build"
ctest --output-on-failure "$@"
