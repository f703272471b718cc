#!/usr/bin/env bash
# Times the collection of play pages of 2,000 and 20,000 episodes served on
# loopback: the real program's click-to-return time, its steps one by one, and a
# short Python script doing the same download, conversion and search, all in
# this one run.   bench/collect_bench.sh [BUILD_DIR]
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
# Absolute, because Wine is handed paths inside it.
. "$repo/scripts/wine-loader.sh"
build=$(cd "${1:-${WT_BUILD_DIR:-$repo/build/$(runnable_windows_build)}}" && pwd)
cmake --build "$build" --target collect_bench >/dev/null
work=$(mktemp -d)
server_pid=
xvfb_pid=
. "$repo/scripts/xvfb.sh"
# Each step may fail (set -e): none may keep the next from running.
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
    WINEPREFIX=$build/wineprefix "$wine_server" -k 2>/dev/null || true
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT
[ -n "${DISPLAY:-}" ] || xvfb_start

python3 "$repo/bench/make_play_pages.py" "$work" page2000:2000 page20000:20000

python3 "$repo/tests/fixtures/http_server.py" --lifetime 600 --port-file "$work/port" --routes "$work/routes" >/dev/null &
server_pid=$!
for _ in $(seq 50); do [ -f "$work/port" ] && break; sleep 0.1; done
port=$(cat "$work/port")

WINEPREFIX=$build/wineprefix "$repo/scripts/wine-run" "$build/bench/collect_bench.exe" "$port" \
    /page2000.html /page20000.html | tee "$work/program"

python3 - "$port" "$work/program" <<'PY'
import re, sys, time, urllib.request
port = sys.argv[1]
# "/pageN episodes click | download convert search lists output edit sum (bytes)"
program = {int(f[1]): (float(f[2]), sum(map(float, f[4:7]))) for f in
           (line.split() for line in open(sys.argv[2], encoding='utf-8')) if f and f[0].startswith('/page')}
episode = re.compile('<div class="item" name="tvlist" flag="(.*?)" seq="(.*?)" id="item_(.*?)" title="第(.*?)集">'
                     .encode('gbk'), re.S)
title = re.compile(b'<meta name="title" content="(.*?)">', re.S)
for n in (2000, 20000):
    best = None
    for _ in range(3):
        start = time.perf_counter()
        body = urllib.request.urlopen('http://127.0.0.1:%s/page%d.html' % (port, n)).read()
        page = body.decode('utf-8').encode('gbk')
        ids = [m.group(3) for m in episode.finditer(page)]
        titles = [m.group(1) for m in title.finditer(page)]
        t = (time.perf_counter() - start) * 1000
        best = t if best is None else min(best, t)
    click, steps = program[n]
    print('python urllib+re  page%d: %.1f ms (%d episodes); our download + convert + search %.1f ms: %.2fx; '
          'the program\'s click: %.1fx' % (n, best, len(ids), steps, steps / best, click / best))
PY
