#!/usr/bin/env bash
# Runs N random fault schedules (default 100) against the built tree, in batches of up to three
# test processes at once inside a loopback-only network namespace, and prints the seed of every
# schedule that failed. Rerun one with: QX8_FAULT_SEEDS="SEED" scripts/faults.sh
# Usage: scripts/faults.sh [N]   (QX8_FAULT_JOBS, QX8_FAULT_BATCH tune the parallelism)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
count=${1:-100}
jobs=${QX8_FAULT_JOBS:-3}
batch=${QX8_FAULT_BATCH:-25}
binary=$root/build/tests/faults/tst_faultschedules
[ -x "$binary" ] || { echo "build first: $binary is missing" >&2; exit 2; }

logs=$(mktemp -d "${TMPDIR:-/tmp}/qx8faults.XXXXXX")
# A copy, so that a rebuild during a long run changes none of its schedules.
cp "$binary" "$logs/tst_faultschedules"
binary=$logs/tst_faultschedules
if [ -n "${QX8_FAULT_SEEDS:-}" ]; then
    echo "$QX8_FAULT_SEEDS" | tr ' ' '\n' >"$logs/seeds"
else
    for ((i = 0; i < count; i++)); do echo $((SRANDOM % 4294967296)); done >"$logs/seeds"
fi
split -l "$batch" -d -a 4 "$logs/seeds" "$logs/batch."

export QX8_VIRTUAL_PROCESSOR=$root/build/simulator/VirtualQX8 QX8_SOURCE_DIR=$root
scripts/netns-run bash -c '
    cd "$1"
    ls batch.* | grep -v "\.log$" | xargs -P "$2" -I{} bash -c \
        "QX8_FAULT_SEEDS=\"\$(tr \"\\n\" \" \" <{})\" \"$3\" \"$4\" -maxwarnings 0 >{}.log 2>&1 || true"
' faults "$logs" "$jobs" "$root/tests/isolate.sh" "$binary"

schedules=$(grep -ch "^PASS   : TestFaultSchedules::schedule\|^FAIL!  : TestFaultSchedules::schedule" \
    "$logs"/batch.*.log | paste -sd+ | bc)
failed=$(grep -ho "FAULT SCHEDULE FAILED, seed [0-9]*" "$logs"/batch.*.log | awk '{print $NF}' || true)
unfinished=""
for seeds in "$logs"/batch.????; do
    grep -q "^Totals:" "$seeds.log" || unfinished="$unfinished $(tr '\n' ' ' <"$seeds")"
done
echo "schedules run: $schedules of $(wc -l <"$logs/seeds")"
[ -z "$failed" ] || echo "failed seeds: $(echo $failed)"
[ -z "$unfinished" ] || echo "a process ended early (crash or hang) in the batch of seeds:$unfinished"
echo "logs: $logs"
[ -z "$failed$unfinished" ]
