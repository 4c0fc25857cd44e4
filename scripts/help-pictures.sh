#!/usr/bin/env bash
# Makes the help pictures, images/Help/*.jpg, from the application itself: builds, then, inside a
# loopback-only network namespace and under Xvfb, logs the application in to a VirtualQX8, opens
# each screen that images/Help/pictures.json lists, and draws the numbered call-outs and the
# legend that file gives for it. Run it again whenever a page changes, and commit the pictures.
# Usage: scripts/help-pictures.sh [FILE.jpg]   (that picture alone)
# With QX8_HELP_DUMP=1 it also prints every visible item of each screen, to write locators from.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh helppictures
export QX8_HELP_ONLY=${1:-}

# shellcheck disable=SC2016
exec scripts/netns-run bash -c '
    set -euo pipefail
    work=$(mktemp -d "${TMPDIR:-/tmp}/qx8help.XXXXXX")
    trap "rm -rf \"$work\"" EXIT
    mkdir -p "$work"/{home,config,data,runtime,tmp}
    chmod 700 "$work/runtime"
    # The device serves its storage over FTP, seeded as scripts/run.sh seeds it.
    /usr/bin/python3 simulator/storage/seed_tuning_storage.py "$work/storage" >/dev/null
    export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
           XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/tmp LANG=C.UTF-8 LC_ALL=C.UTF-8 \
           QX8_VIRTUAL_PROCESSOR=$PWD/build/simulator/VirtualQX8 \
           QX8_ANALYTICS_URL=http://127.0.0.1:9/collect QX8_CLOUD_BASE_URL=http://127.0.0.1:9 \
           QX8_HELP_PICTURES=$PWD/images/Help/pictures.json QX8_HELP_DIR=$PWD/images/Help \
           QX8_HELP_STORAGE=$work/storage
    xvfb-run -a -s "-screen 0 1920x1080x24 -dpi 96" build/tests/shell/helppictures -silent
'
