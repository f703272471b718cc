#!/usr/bin/env bash
# Builds everything and runs every test in one CTest run; ends with CTest's summary.
# The Windows suites run under Wine: x86-64 everywhere, i686 where this kernel
# runs 32-bit programs (WT_NO_32BIT=1 treats any kernel as one that does not).
# The i686 build's image checks and the 32-bit core tests under qemu run always.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
root=${WT_BUILD_ROOT:-$repo/build}
export WT_BUILD_ROOT=$root

bash "$repo/scripts/build.sh"

. "$repo/scripts/wine-loader.sh"
ctest_args=()
if kernel_runs_32bit; then
    ran="Architectures: the i686 and x86-64 suites ran under Wine."
else
    if [ "${WT_NO_32BIT:-0}" = 1 ]; then
        why="WT_NO_32BIT=1 says this kernel refuses 32-bit programs"
    else
        why="this kernel refuses 32-bit programs, so 32-bit Wine cannot start"
    fi
    ran="Architectures: the x86-64 suite ran under Wine; the i686 suite did not ($why): its image checks and its 32-bit core tests under qemu ran instead."
    ctest_args+=(-LE '^wine-i686$')
fi

# One CTest run over every build.
cat >"$root/CTestTestfile.cmake" <<TESTS
# Written by scripts/test.sh: every build's tests in one run.
subdirs("i686" "x86_64" "linux-i686" "native" "fuzz")
TESTS

# One display and one Wine server per prefix for the whole run, each stopped by
# what we started.
. "$repo/scripts/xvfb.sh"
xvfb_pid=
cleanup() {
    local prefix
    for prefix in "$root"/*/wineprefix*/; do
        # A server that has already gone answers with a failure, which is no failure of the run.
        [ -f "$prefix/system.reg" ] && { WINEPREFIX=${prefix%/} "$wine_server" -k 2>/dev/null || true; }
    done
    xvfb_stop
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
    xvfb_start
fi

cd "$root"
# The statement of what ran stands just above CTest's closing summary.
ctest --output-on-failure --no-label-summary --timeout 900 "${ctest_args[@]}" "$@" |
    awk -v ran="$ran" '/tests passed, .* tests failed out of/ { print ran } { print; fflush() }'
