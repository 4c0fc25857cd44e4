#!/usr/bin/env bash
# Builds the project and runs every benchmark inside a loopback-only network namespace, then prints
# one table: what was measured, our figure, the peer measured in the same run, and their ratio.
#
# A benchmark reports a row by printing a line of the form
#   ROW|<path>|<figure>|<peer>|<ratio>|<goal>
# on standard output; anything else it prints is kept in the log beside the table.
# Usage: scripts/bench.sh [NAME-FILTER]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
filter=${1:-}
log=$(mktemp -d)/bench.log
echo "Full output: $log"

# name, then the command line relative to build/
benchmarks=(
    curves "env QT_QPA_PLATFORM=offscreen bench/graphs/bench_curves"
    link-throughput bench/link/bench_link_throughput
    subscription-storm bench/link/bench_subscription_storm
    ftp bench/files/ftpthroughput
    tuningsync bench/files/tuningsyncbench
    config-models bench/config/configmodelbench
    presets bench/files/presetbench
    firmware-upload bench/services/firmwareuploadbench
    pageload "env QX8_VIRTUAL_PROCESSOR=simulator/VirtualQX8 ../tests/isolate.sh bench/shell/pageloadbench"
    slow-link "env QX8_VIRTUAL_PROCESSOR=simulator/VirtualQX8 ../tests/isolate.sh bench/shell/slowlinkbench"
    rta-cpu "env QX8_VIRTUAL_PROCESSOR=simulator/VirtualQX8 ../tests/isolate.sh bench/shell/rtacpubench"
    screen-cpu "env QX8_VIRTUAL_PROCESSOR=simulator/VirtualQX8 ../tests/isolate.sh bench/shell/screencpubench"
    wizard "env QX8_VIRTUAL_PROCESSOR=simulator/VirtualQX8 ../tests/isolate.sh bench/wizard/wizardbench -silent"
    start-up bench/shell/shellstartbench
)

rows=()
for ((i = 0; i < ${#benchmarks[@]}; i += 2)); do
    name=${benchmarks[i]}
    [[ -z $filter || $name == *$filter* ]] || continue
    echo "== $name" | tee -a "$log"
    # shellcheck disable=SC2086
    if ! output=$(cd build && ../scripts/netns-run ${benchmarks[i + 1]} 2>>"$log"); then
        echo "   failed (see $log)"
    fi
    printf '%s\n' "$output" >>"$log"
    while IFS= read -r line; do rows+=("$line"); done < <(printf '%s\n' "$output" | grep '^ROW|' || true)
done

printf '\n'
{
    echo "path|figure|peer (same run)|ratio|goal"
    for row in "${rows[@]}"; do echo "${row#ROW|}"; done
} | column -t -s '|'
