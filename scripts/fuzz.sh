#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer, UndefinedBehaviorSanitizer)
# into build-fuzz/ and runs them inside a loopback-only network namespace.
#
#   scripts/fuzz.sh [TARGET|all] [SECONDS] [--jobs N] [-- LIBFUZZER_FLAG...]
#
# Each target starts from its committed seeds (fuzz/<target>/seeds) plus what earlier runs found
# (build-fuzz/corpus/<target>) and runs SECONDS (default 60); with --jobs N (at most 3) that many
# targets run side by side. A crash is saved as build-fuzz/crashes/<target>/crash-*: replay it
# with `build-fuzz/fuzz/fuzz_<target> FILE`, fix the fault, and commit the file as a seed.
# Flags after "--" go to every target (for example -detect_leaks=0, which makes the feed target,
# whose Qt XML engine fills caches lazily, several times faster). Prints one line per target:
# executions, and "ok" or the crash. Fails when any target crashed.
set -euo pipefail
cd "$(dirname "$0")/.."

target=all seconds=60 jobs=1
positional=() flags=()
while [ "$#" -gt 0 ]; do
    case "$1" in
    --jobs) jobs=$2; shift 2 ;;
    --) shift; flags=("$@"); break ;;
    -h | --help) sed -n '2,14p' "$0"; exit 0 ;;
    *) positional+=("$1"); shift ;;
    esac
done
[ "${#positional[@]}" -gt 0 ] && target=${positional[0]}
[ "${#positional[@]}" -gt 1 ] && seconds=${positional[1]}
[ "$jobs" -ge 1 ] && [ "$jobs" -le 3 ] || { echo "--jobs takes 1 to 3" >&2; exit 2; }

targets=()
for folder in fuzz/*/; do
    name=$(basename "$folder")
    [ -f "$folder/fuzz_$name.cpp" ] && targets+=("$name")
done
if [ "$target" != all ]; then
    [ -f "fuzz/$target/fuzz_$target.cpp" ] || { echo "no fuzz target $target" >&2; exit 2; }
    targets=("$target")
fi

cmake -S . -B build-fuzz -G Ninja -DQX8_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ >/dev/null
mkdir -p build-fuzz/logs
cmake --build build-fuzz --parallel 3 --target "${targets[@]/#/fuzz_}" >build-fuzz/logs/build.log ||
    { cat build-fuzz/logs/build.log; exit 1; }

run_target() {
    local name=$1 corpus=build-fuzz/corpus/$1 crashes=build-fuzz/crashes/$1
    local log=build-fuzz/logs/$1.log
    mkdir -p "$corpus" "$crashes"
    local status=0
    scripts/netns-run "build-fuzz/fuzz/fuzz_$name" "$corpus" "fuzz/$name/seeds" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$crashes/" "${flags[@]}" >"$log" 2>&1 || status=$?
    local runs
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [ "$status" -eq 0 ]; then
        printf '%-16s %12s executions  ok\n' "$name" "${runs:-?}"
    else
        printf '%-16s %12s executions  FAILED: %s (log %s)\n' "$name" "${runs:-?}" \
            "$(ls -t "$crashes" | head -n 1)" "$log"
    fi
    return "$status"
}

failed=0 running=0
for name in "${targets[@]}"; do
    if [ "$running" -ge "$jobs" ]; then
        wait -n || failed=1
        running=$((running - 1))
    fi
    run_target "$name" &
    running=$((running + 1))
done
for _ in $(seq "$running"); do
    wait -n || failed=1
done
exit "$failed"
