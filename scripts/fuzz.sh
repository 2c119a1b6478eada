#!/usr/bin/env bash
# Runs the fuzz targets, each for the given time, and prints per target the
# executions and the findings (inputs that crashed or broke an invariant).
#   scripts/fuzz.sh [seconds per target, default 600] [target ...]
# PARALLEL=n runs n targets at once (default 1). The corpus found so far is
# kept in build/fuzz/corpus/<target>; findings land in build/fuzz/findings/<target>.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
shift || true
parallel=${PARALLEL:-1}
build=build/fuzz

test -f "$build/build.ninja" || cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:symbolize=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

run_one() {
    local target=$1 corpus="$build/corpus/$1" findings="$build/findings/$1"
    mkdir -p "$corpus" "$findings"
    cp -n fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null || true
    # A finding stops a run; the next one goes on with the corpus grown so far.
    local deadline=$((SECONDS + seconds)) executions=0 left
    while left=$((deadline - SECONDS)); [ "$left" -gt 0 ]; do
        nice -n 10 "$build/fuzz/$target" -max_total_time="$left" -timeout=20 -rss_limit_mb=2048 \
            -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" \
            >"$build/findings/$target.log" 2>&1 || true
        local ran
        ran=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/findings/$target.log" \
              | grep -o '[0-9]*$' | tail -1 || true)
        executions=$((executions + ${ran:-0}))
        cat "$build/findings/$target.log" >>"$build/findings/$target.all.log"
        grep -q 'Done [0-9]* runs' "$build/findings/$target.log" && break
        [ -n "${ran:-}" ] || break
    done
    local found
    found=$(find "$findings" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' \
            -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
    printf '%-22s %6ss  executions %10d  findings %d\n' "$target" "$seconds" "$executions" "$found"
}

running=0
for target in "${targets[@]}"; do
    run_one "$target" &
    running=$((running + 1))
    if [ "$running" -ge "$parallel" ]; then
        wait -n
        running=$((running - 1))
    fi
done
wait
