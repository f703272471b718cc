#!/usr/bin/env bash
# Builds everything and runs every test under Wine; ends with CTest's summary.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
export WT_BUILD_DIR=${WT_BUILD_DIR:-$repo/build}

bash "$repo/scripts/build.sh"

# One display and one Wine server for the whole run, stopped by what we started.
. "$repo/scripts/xvfb.sh"
xvfb_pid=
export WINEPREFIX=$WT_BUILD_DIR/wineprefix
cleanup() {
    WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null || true
    xvfb_stop
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
    xvfb_start
fi

cd "$WT_BUILD_DIR"
ctest --output-on-failure --timeout 900 "$@"
