#!/usr/bin/env bash
# Times pellom-collect against bench/reference_collect.py (Python, urllib + re,
# the same work) in this one run, on loopback: the 20,000-episode page, and a
# batch of 200 ordinary pages of 40 episodes. Both must write the same bytes.
#   bench/cli_bench.sh [BUILD_DIR]   (a native Release build, made when missing)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build/cli-release}
bash "$repo/scripts/setup.sh" >/dev/null
[ -f "$build/CMakeCache.txt" ] || cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target pellom-collect -j2 >/dev/null
work=$(mktemp -d)
server_pid=
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

ordinary=()
for i in $(seq 200); do ordinary+=("ordinary$i:40"); done
python3 "$repo/bench/make_play_pages.py" "$work" page20000:20000 "${ordinary[@]}"
python3 "$repo/tests/fixtures/http_server.py" --lifetime 600 --port-file "$work/port" --routes "$work/routes" >/dev/null &
server_pid=$!
for _ in $(seq 50); do [ -f "$work/port" ] && break; sleep 0.1; done

python3 - "$(cat "$work/port")" "$build/cli/pellom-collect" "$repo/bench/reference_collect.py" <<'PY'
import subprocess, sys, time
port, program, reference = sys.argv[1:]
url = lambda name: 'http://127.0.0.1:%s/%s.html' % (port, name)
runs = {'the 20,000-episode page': [url('page20000')],
        'a batch of 200 ordinary pages': [url('ordinary%d' % i) for i in range(1, 201)]}
env = {'PATH': '/usr/bin:/bin', 'LANG': 'C.UTF-8'}  # no proxy between either and the server
for what, addresses in runs.items():
    best = {}
    outputs = {}
    # Alternating, best of five: the machine is shared and noisy.
    for _ in range(5):
        for name, command in (('pellom-collect', [program]), ('python', [sys.executable, reference])):
            start = time.perf_counter()
            out = subprocess.run(command + addresses, stdout=subprocess.PIPE, env=env).stdout
            took = time.perf_counter() - start
            best[name] = min(best.get(name, took), took)
            outputs[name] = out
    same = 'same bytes' if outputs['pellom-collect'] == outputs['python'] else 'OUTPUTS DIFFER'
    print('%s: pellom-collect %.1f ms, python urllib+re %.1f ms; python takes %.2fx as long (%d bytes, %s)'
          % (what, best['pellom-collect'] * 1000, best['python'] * 1000, best['python'] / best['pellom-collect'],
             len(outputs['pellom-collect']), same))
PY
