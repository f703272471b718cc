#!/usr/bin/env bash
# Measures the page conversion on a 5 MB and a 50 MB UTF-8 play page (mostly
# Chinese text in HTML) under Wine, next to one bare iconv() call and to Debian's
# glibc iconv command on the same files, all in this one run.
#   bench/transcode_bench.sh [BUILD_DIR]   (BUILD_DIR holds the cross build)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
# Absolute, because Wine is handed paths inside it.
. "$repo/scripts/wine-loader.sh"
build=$(cd "${1:-${WT_BUILD_DIR:-$repo/build/$(runnable_windows_build)}}" && pwd)
bench=$build/bench/transcode_bench.exe
[ -f "$bench" ] || cmake --build "$build" --target transcode_bench
pages=$(mktemp -d)
trap 'rm -rf "$pages"' EXIT

# Episode lists and synopses: random common hanzi (all in GBK) between tags.
make_page() {
    python3 - "$1" "$2" <<'PY'
import random, sys
path, size = sys.argv[1], int(sys.argv[2]) * 1048576
rng = random.Random(7)
hanzi = [bytes([a, b]).decode("gb2312") for a in range(0xB0, 0xD8) for b in range(0xA1, 0xFF)
         if not (a == 0xD7 and b > 0xF9)]
def words(n):
    return "".join(rng.choice(hanzi) for _ in range(n))
parts, length, episode = ['<!DOCTYPE html><html><head><meta charset="utf-8"><title>'
                          + words(8) + '</title></head><body>\n'], 0, 0
while length < size:
    episode += 1
    line = ('<li class="item"><a href="/v_show/id_XMT%07d.html" title="第%d集">第%d集 %s</a>'
            '<p class="desc">%s，%s。</p></li>\n' % (episode, episode, episode, words(6), words(60), words(40)))
    parts.append(line)
    length += len(line.encode("utf-8"))
parts.append("</body></html>\n")
open(path, "wb").write("".join(parts).encode("utf-8"))
PY
}

# Best of three runs of the glibc command, converting to a file as transcode does.
glibc_seconds() {
    local best= start end t i
    for i in 1 2 3; do
        start=$(date +%s%N)
        iconv -f UTF-8 -t GBK "$1" >"$pages/out.gbk"
        end=$(date +%s%N)
        t=$((end - start))
        if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
    done
    awk -v ns="$best" 'BEGIN { printf "%.6f", ns / 1e9 }'
}

for mb in 5 50; do
    page=$pages/page-$mb.html
    make_page "$page" "$mb"
    "$repo/scripts/wine-run" "$bench" "Z:$page" "$(glibc_seconds "$page")" "${WT_BENCH_ROUNDS:-5}"
done
