#!/usr/bin/env bash
# Longer fuzz runs than the seconds CTest gives: each target of tests/fuzz for
# SECONDS (default 120) over its corpus, then what it found merged back into
# tests/fuzz/corpus/<target>, minimised, so that the corpus kept in the
# repository stays small. Prints per target the time, executions, coverage,
# corpus size and findings; findings stay in <build>/findings/<target>/.
# Needs clang with libFuzzer (Debian's clang and libclang-rt-14-dev).
#   scripts/fuzz.sh [SECONDS [TARGET...]]
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${WT_BUILD_ROOT:-$repo/build}/fuzz
seconds=${1:-120}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(chain_fuzz values_fuzz transcode_fuzz)

bash "$repo/scripts/build.sh" fuzz >/dev/null

failed=0
for target in "${targets[@]}"; do
    program=$build/tests/fuzz/$target
    corpus=$repo/tests/fuzz/corpus/$target
    runs=$build/fuzz-runs
    found=$runs/$target
    findings=$build/findings/$target
    log=$runs/$target.log
    rm -rf "$found"
    mkdir -p "$found" "$findings"
    status=0
    started=$SECONDS
    "$program" -max_total_time="$seconds" -max_len=1024 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$found" "$corpus" >"$log" 2>&1 || status=$?
    elapsed=$((SECONDS - started))

    # Edges alone, not hit counts, decide what stays: a few hundred small files.
    merged=$(mktemp -d)
    "$program" -merge=1 -use_counters=0 "$merged" "$corpus" "$found" >>"$log" 2>&1
    if [ -n "$(ls -A "$merged")" ]; then
        find "$corpus" -type f -delete
        cp "$merged"/* "$corpus"/
    fi
    rm -rf "$merged"

    figure() { sed -n "s/^stat::$1: *//p" "$log" | head -1; }
    coverage=$(sed -nE 's/^#[0-9]+[[:space:]]+DONE .*(cov: [0-9]+ ft: [0-9]+).*/\1/p' "$log" | head -1)
    printf '%s: %s s, %s executions (%s/s), %s, corpus %s files %s bytes, findings %s%s\n' \
        "$target" "$elapsed" "$(figure number_of_executed_units)" "$(figure average_exec_per_sec)" \
        "${coverage:-cov: ?}" "$(find "$corpus" -type f | wc -l)" "$(cat "$corpus"/* | wc -c)" \
        "$(find "$findings" -type f | wc -l)" "$([ "$status" -eq 0 ] || echo " (stopped at a finding: $log)")"
    [ "$status" -eq 0 ] || failed=1
done
exit $failed
