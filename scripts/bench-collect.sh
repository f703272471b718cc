#!/usr/bin/env bash
# Times the collection of play pages of 2,000 and 20,000 episodes served on
# loopback: the real program's click-to-return time, its steps one by one, and a
# short Python script doing the same download, conversion and search, all in
# this one run.   scripts/bench-collect.sh [BUILD_DIR]
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${WT_BUILD_DIR:-$repo/build}}
cmake --build "$build" --target collect_bench >/dev/null
work=$(mktemp -d)
server_pid=
xvfb_pid=
. "$repo/scripts/xvfb.sh"
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    WINEPREFIX=$build/wineprefix wineserver -k 2>/dev/null
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT
[ -n "${DISPLAY:-}" ] || xvfb_start

python3 "$repo/scripts/make-play-pages.py" "$work" page2000:2000 page20000:20000

python3 "$repo/tests/fixtures/http_server.py" --lifetime 600 --port-file "$work/port" --routes "$work/routes" >/dev/null &
server_pid=$!
for _ in $(seq 50); do [ -f "$work/port" ] && break; sleep 0.1; done
port=$(cat "$work/port")

WINEPREFIX=$build/wineprefix "$repo/scripts/wine-run" "$build/tests/bench/collect_bench.exe" "$port" \
    /page2000.html /page20000.html | tee "$work/program"

python3 - "$port" "$work/program" <<'PY'
import re, sys, time, urllib.request
port = sys.argv[1]
clicks = {int(line.split()[1]): float(line.split()[2]) for line in open(sys.argv[2], encoding='utf-8')
          if line.startswith('/page')}
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
    print('python urllib+re  page%d: %.1f ms (%d episodes); the program\'s click takes %.1fx as long'
          % (n, best, len(ids), clicks[n] / best))
PY
