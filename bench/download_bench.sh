#!/usr/bin/env bash
# Download benchmark: http_get_body under Wine beside curl, on the same bodies
# from the loopback fixture server, in one run. Prints MB/s, the time ratio and
# the peak memory against the body size. Not a test: it prints figures.
#   bench/download_bench.sh [BUILD_DIR]   (BUILD_DIR holds the cross build)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
# Absolute, because Wine is handed paths inside it.
. "$repo/scripts/wine-loader.sh"
build=$(cd "${1:-${WT_BUILD_DIR:-$repo/build/$(runnable_windows_build)}}" && pwd)
runs=${BENCH_RUNS:-3}

cmake --build "$build" --target download_bench >/dev/null
bench=$build/bench/download_bench.exe
work=$(mktemp -d)
server_pid=
xvfb_pid=
. "$repo/scripts/xvfb.sh"
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
    if [ -n "$xvfb_pid" ]; then
        "$wine_server" -k 2>/dev/null || true
        xvfb_stop
    fi
    rm -rf "$work"
}
trap cleanup EXIT
[ -n "${DISPLAY:-}" ] || xvfb_start

python3 "$repo/tests/fixtures/http_server.py" --lifetime 900 --port-file "$work/port" >/dev/null &
server_pid=$!
for _ in $(seq 1 50); do [ -s "$work/port" ] && break; sleep 0.1; done
port=$(cat "$work/port")
head -c 1048576 /dev/urandom >"$work/megabyte"
for mb in 5 50; do
    curl -sf -X POST --data-binary @"$work/megabyte" \
        "http://127.0.0.1:$port/__route?path=/body$mb&repeat=$mb" >/dev/null
done

best() { sort -g | head -1; }
printf '%-6s %8s %10s %8s %10s %7s %9s %12s %8s %9s\n' body curl_s curl_MB/s ours_s ours_MB/s ratio wininet_s ours/wininet peak_MB peak/body
for mb in 5 50; do
    url=http://127.0.0.1:$port/body$mb
    curl_s=$(for _ in $(seq 1 "$runs"); do curl -s -o /dev/null -w '%{time_total}\n' "$url"; done | best)
    "$repo/scripts/wine-run" "$bench" "$url" "$runs" | tr -d '\r' >"$work/ours"
    bytes=$(awk '{print $2}' "$work/ours")
    [ "$bytes" = $((mb * 1048576)) ] || { echo "download of $mb MB gave $bytes bytes" >&2; exit 1; }
    # Peak resident memory of the process, less what it held before the downloads.
    awk -v mb="$mb" -v c="$curl_s" '{
        printf "%-6s %8.3f %10.1f %8.3f %10.1f %7.2f %9.3f %12.2f %8.1f %9.2f\n",
               mb "MB", c, mb / c, $4, mb / $4, $4 / c, $6, $8, $10 - $12, ($10 - $12) / mb }' "$work/ours"
done
echo "best of $runs each; ratio = our time / curl's; wininet_s = WinInet alone reading the body and"
echo "discarding it (the platform's floor under Wine); ours/wininet = median over alternating rounds"
echo "in one process (target: at most 1.5); peak = peak working set - working set at start"
