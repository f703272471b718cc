#!/usr/bin/env python3
"""Makes a large play page and two hostile ones, runs pattern_bench on them
under Wine, times Python's re over the same large page in the same run, and
prints the figures side by side.

    bench/pattern_bench.py BUILD_DIR [--rounds N] [--plain-hostile]

--plain-hostile also lets Boost alone run the hostile page, until its own
work limit stops it (under a second in the 32-bit build, far longer in a
64-bit one, where the limit grows with the square of the expression's size).
"""
import argparse
import os
import random
import re
import statistics
import subprocess
import sys
import tempfile
import time

EPISODE = '<div class="item" name="tvlist" flag="(.*?)" seq="(.*?)" id="item_(.*?)" title="第(.*?)集">'.encode("gbk")
OPENING = b'<div class="item" name="tvlist" flag="'
MIB = 1 << 20
WORDS = [w.encode("gbk") for w in ["剧集", "第一季", "精彩看点", "预告片", "更新至", "播放", "评论", "导演", "主演", "高清"]]


def episode(seq, rng):
    vid = "XN%012d" % rng.randrange(10**12)
    return (b'<div class="item" name="tvlist" flag="%d" seq="%d" id="item_%s" title="' % (rng.randrange(2), seq, vid.encode())
            + "第".encode("gbk") + str(seq).encode() + "集".encode("gbk") + b'">'
            + b'<a href="//v.example.invalid/v_show/id_%s.html" target="_blank">%d</a></div>\n' % (vid.encode(), seq))


def ordinary_markup(rng):
    """One piece of what surrounds the episode list on a play page."""
    word, n = rng.choice(WORDS), rng.randrange(100000)
    return rng.choice([
        b'<li class="row"><a href="//v.example.invalid/show/id_%d.html" title="%s">%s</a></li>\n' % (n, word, word),
        b'<span class="num">%d</span><span class="tag">%s</span>\n' % (n, word),
        b'<script type="text/javascript">var cfg = {"vid":"%d","show":"%s","seq":%d};</script>\n' % (n, word, n % 50),
        b'<div class="item" name="related" flag="0" seq="%d" id="item_R%d" title="%s"></div>\n' % (n % 50, n, word),
        b'<p class="desc">%s%s, %s.</p>\n' % (word, rng.choice(WORDS), rng.choice(WORDS)),
        b'<img src="//img.example.invalid/%d.jpg" alt="%s" width="120" height="68">\n' % (n, word),
        b'<meta property="og:%d" content="%s">\n' % (n, word),
    ])


def large_page(size, episodes, rng):
    parts = [b'<!DOCTYPE html><html><head><meta charset="gbk">\n<meta name="title" content="%s">\n</head><body>\n'
             % WORDS[1]]
    length = len(parts[0])
    for seq in range(1, episodes + 1):
        parts.append(episode(seq, rng))
        length += len(parts[-1])
        while length < size * seq // episodes:
            parts.append(ordinary_markup(rng))
            length += len(parts[-1])
    page = b"".join(parts)
    return page[:size] if len(page) > size else page


def repeated(piece, size):
    return piece * (size // len(piece))


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def python_seconds(page, rounds):
    compiled = re.compile(EPISODE, re.DOTALL)
    times, count = [], 0
    for _ in range(rounds):
        begin = time.perf_counter()
        count = sum(1 for _ in compiled.finditer(page))
        times.append(time.perf_counter() - begin)
    return statistics.median(times), count


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build_dir")
    parser.add_argument("--rounds", type=int, default=15)
    parser.add_argument("--plain-hostile", action="store_true")
    args = parser.parse_args()
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    program = os.path.join(args.build_dir, "bench", "pattern_bench.exe")

    rng = random.Random(2026)
    with tempfile.TemporaryDirectory(dir=args.build_dir) as folder:
        pages = {
            "large": large_page(5 * MIB, 20000, rng),
            # Three episodes, then nothing but openings that never close.
            "hostile": b"".join(episode(seq, rng) for seq in (1, 2, 3)) + repeated(OPENING, MIB),
            # Openings that one element at the very end closes: one long match.
            "closed": repeated(OPENING, MIB) + episode(1, rng),
        }
        paths = []
        for name, page in pages.items():
            paths.append(os.path.join(folder, name + ".html"))
            with open(paths[-1], "wb") as out:
                out.write(page)
        command = [os.path.join(repo, "scripts", "wine-run"), program] + [windows_path(p) for p in paths]
        command.append(str(args.rounds))
        if args.plain_hostile:
            command.append("--plain-hostile")
        output = subprocess.run(command, check=True, capture_output=True, text=True).stdout
        python_time, python_count = python_seconds(pages["large"], args.rounds)

    figures = dict(line.split("=", 1) for line in output.split() if "=" in line)
    size = int(figures["large_bytes"])
    ours, plain = float(figures["large_seconds"]), float(figures["large_plain_seconds"])
    speed = lambda seconds: size / seconds / 1e6
    print("large page: %d bytes, episode matches: search_all %s, plain Boost loop %s, Python re %d"
          % (size, figures["large_matches"], figures["large_plain_matches"], python_count))
    print("  search_all        %8.2f ms per search (best %.2f)  %6.1f MB/s"
          % (ours * 1e3, float(figures["large_best_seconds"]) * 1e3, speed(ours)))
    print("  plain Boost loop  %8.2f ms per search             %6.1f MB/s" % (plain * 1e3, speed(plain)))
    print("  Python re DOTALL  %8.2f ms per search             %6.1f MB/s" % (python_time * 1e3, speed(python_time)))
    print("  search_all is %.2fx as fast as Python re, %.2fx as fast as the plain Boost loop"
          % (python_time / ours, plain / ours))
    for name, label in (("hostile", "hostile page (3 episodes, then unclosed openings)"),
                        ("closed", "openings closed by one element at the end")):
        print("%s: %s bytes, search_all ended in %.2f ms with %s matches"
              % (label, figures[name + "_bytes"], float(figures[name + "_seconds"]) * 1e3, figures[name + "_matches"]))
        if name + "_plain_seconds" in figures:
            print("  plain Boost loop: %.2f ms, %s matches"
                  % (float(figures[name + "_plain_seconds"]) * 1e3, figures[name + "_plain_matches"]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
