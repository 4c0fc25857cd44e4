#!/usr/bin/env bash
# Installs what is missing, builds, and runs QX8Control against VirtualQX8 on 127.0.0.1,
# inside a loopback-only network namespace (under Xvfb when there is no display).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec scripts/netns-run bash -c '
    data=$(mktemp -d)
    build/simulator/VirtualQX8 --address 127.0.0.1 --wire-log "$data/wire.log" & device=$!
    # The cloud: tuning manifests and files for "Update from cloud".
    tests/harness/httpserver.py --root simulator/storage/cloud --log "$data/cloud.log" \
        --address 127.0.0.1 --port 8080 --no-stdin & cloud=$!
    export QX8_CLOUD_BASE_URL=http://127.0.0.1:8080
    trap "kill $device $cloud 2>/dev/null" EXIT
    export XDG_RUNTIME_DIR=$data
    if [ -n "${DISPLAY:-}" ]; then build/sources/shell/QX8Control
    else xvfb-run -a build/sources/shell/QX8Control; fi
'
