#!/usr/bin/env bash
# Builds the program and starts it under Wine (on a private Xvfb without a display).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
export WT_BUILD_DIR=${WT_BUILD_DIR:-$repo/build}

bash "$repo/scripts/build.sh" >/dev/null
exec "$repo/scripts/wine-run" "$WT_BUILD_DIR/app/pellom.exe"
