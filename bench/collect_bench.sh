#!/usr/bin/env bash
# Times the collection of play pages of 2,000 and 20,000 episodes served on
# loopback: the real program's click-to-return time, its steps one by one, and a
# short Python script doing the same download, conversion and search, all in
# this one run.   bench/collect_bench.sh [BUILD_DIR]
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
# Absolute, because Wine is handed paths inside it.
build=$(cd "${1:-${WT_BUILD_DIR:-$repo/build}}" && pwd)
cmake --build "$build" --target collect_bench >/dev/null
work=$(mktemp -d)
server_pid=
xvfb_pid=
. "$repo/scripts/xvfb.sh"
# Each step may fail (set -e): none may keep the next from running.
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
    WINEPREFIX=$build/wineprefix wineserver -k 2>/dev/null || true
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT
[ -n "${DISPLAY:-}" ] || xvfb_start

# Pages in the play-page structure: each episode element among ordinary markup.
python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
for n in (2000, 20000):
    parts = ['<!DOCTYPE html><html><head><meta charset="utf-8">\n<meta name="title" content="青山烟雨">\n'
             '<title>青山烟雨 在线播放</title></head><body><div id="episodes">\n']
    for i in range(1, n + 1):
        parts.append('<div class="item" name="tvlist" flag="0" seq="%d" id="item_XMT%09d" title="第%d集">'
                     '<a href="/v_show/id_XMT%09d.html" title="青山烟雨 第%d集">第%d集</a>'
                     '<span class="desc">江南小镇茶庄三代人的故事</span></div>\n' % (i, i, i, i, i, i))
    parts.append('</div></body></html>\n')
    open('%s/page%d.html' % (work, n), 'wb').write(''.join(parts).encode('utf-8'))
with open(work + '/routes', 'w') as routes:
    for n in (2000, 20000):
        routes.write('path=/page%d.html&body_file=page%d.html\n' % (n, n))
PY

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
