#!/usr/bin/env bash
# Builds the project under a sanitizer into a folder of its own and runs the whole test suite
# inside a loopback-only network namespace, then prints how many reports each test program (and
# the programs it started) gave, and how many ThreadSanitizer's suppressions hid.
#   asan  AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer, in build-asan/
#   tsan  ThreadSanitizer, in build-tsan/ (Qt's event delivery: tests/tsan-qt-events.supp)
# Usage: scripts/sanitize.sh asan|tsan [CTEST-ARGUMENT...]   (JOBS=n sets the parallelism)
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
asan) option=QX8_SANITIZE report='ERROR: (Address|Leak)Sanitizer|runtime error:' ;;
tsan) option=QX8_TSAN report='WARNING: ThreadSanitizer:' ;;
*)
    echo "usage: scripts/sanitize.sh asan|tsan [CTEST-ARGUMENT...]" >&2
    exit 2
    ;;
esac
build=build-$1
shift
jobs=${JOBS:-3}

scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "-D$option=ON" >/dev/null
cmake --build "$build" --parallel "$jobs"
status=0
(cd "$build" && ../scripts/netns-run ctest --output-on-failure --parallel "$jobs" --timeout 900 "$@") ||
    status=$?

# Every test's output, with the standard error of the programs it started, is in CTest's log.
# ThreadSanitizer also says how many reports its suppressions hid (Qt's event delivery).
echo
echo "Sanitizer reports per test program ($build), and reports suppressed:"
awk -v report="$report" '
    /^[0-9]+\/[0-9]+ Testing: / { test = $3 }
    $0 ~ report { count[test]++; total++ }
    /ThreadSanitizer: Matched [0-9]+ suppressions/ {
        n = $0
        sub(/.*Matched /, "", n)
        sub(/ .*/, "", n)
        hidden[test] += n
        hiddenTotal += n
        count[test] += 0
    }
    END {
        for (test in count) printf "  %-28s %4d %6d\n", test, count[test], hidden[test]
        printf "  %-28s %4d %6d\n", "total", total, hiddenTotal
        exit total > 0
    }' "$build/Testing/Temporary/LastTest.log" || status=1
exit "$status"
