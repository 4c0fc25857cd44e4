#!/usr/bin/env bash
# Installs what is missing, builds what the run needs, and runs QX8Control beside a VirtualQX8 it
# finds on the network. The application runs in a private network namespace with only loopback
# and one end of a veth pair (10.77.0.1/24); VirtualQX8 answers in a second namespace at the other
# end (10.77.0.20). Nothing else is reachable. Without a display the application serves its window
# over VNC, which this machine's loopback reaches at 127.0.0.1:${QX8_RUN_VNC_PORT:-5900}.
set -euo pipefail
cd "$(dirname "$0")/.."
vnc_port=${QX8_RUN_VNC_PORT:-5900}

if [ "${QX8_RUN_STAGE:-}" != namespace ]; then
    scripts/install-deps.sh
    scripts/build.sh QX8Control VirtualQX8
    if [ -n "${DISPLAY:-}" ]; then
        exec scripts/netns-run env QX8_RUN_STAGE=namespace "$0" "$@"
    fi
    # The window's VNC server listens inside the namespace; a Unix socket in a folder of this
    # user's carries each viewer's connection from this machine's loopback to it.
    relay=$(mktemp -d "${TMPDIR:-/tmp}/qx8vnc.XXXXXX")
    scripts/socket-relay.py "tcp:127.0.0.1:$vnc_port" "unix:$relay/vnc" &
    relay_pid=$!
    trap 'kill "$relay_pid" 2>/dev/null; wait "$relay_pid" 2>/dev/null || true; rm -rf "$relay"' EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    scripts/netns-run env QX8_RUN_STAGE=namespace QX8_RUN_RELAY="$relay" "$0" "$@"
    exit
fi

# From here on inside the private namespace, as root. The programs themselves run as the user
# who called sudo, so that the settings and data they write in the home folder stay theirs.
near=10.77.0.1 device=10.77.0.20
as_user=()
if [ -n "${SUDO_UID:-}" ]; then
    as_user=(setpriv --reuid="$SUDO_UID" --regid="$SUDO_GID" --init-groups --)
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/qx8run.XXXXXX")
mkdir -m 700 "$work/runtime"
# The device's storage, served by its FTP server: the tuning folders seeded from the factory set
# (presets/ VirtualQX8 makes itself).
/usr/bin/python3 simulator/storage/seed_tuning_storage.py "$work/storage" >/dev/null
[ -z "${SUDO_UID:-}" ] || chown -R "$SUDO_UID:$SUDO_GID" "$work"

# Each program runs in a process group of its own (setsid), so that ending it ends what it
# started too (the device's FTP server). They end in reverse order: the application first.
children=()
start() {
    setsid "$@" &
    children+=("$!")
}
finish() {
    for ((i = ${#children[@]} - 1; i >= 0; --i)); do
        kill -- "-${children[i]}" 2>/dev/null || true
        wait "${children[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Waits up to ten seconds for a condition.
wait_until() {
    for _ in $(seq 100); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
fail() {
    echo "$*" >&2
    exit 1
}

# The device's namespace lives as long as the process that holds it.
start unshare --net sleep infinity
holder=${children[-1]}
has_own_network() { [ "$(readlink "/proc/$holder/ns/net")" != "$(readlink /proc/self/ns/net)" ]; }
wait_until has_own_network || fail "Could not make the device's network namespace."
far() { nsenter -t "$holder" -n "$@"; }
scripts/device-link.sh "$holder" "$near" "$device"
# The device's FTP server takes port 21 without root, in the device's namespace only.
far sysctl -qw net.ipv4.ip_unprivileged_port_start=21

start nsenter -t "$holder" -n "${as_user[@]}" build/simulator/VirtualQX8 --address "$device" \
    --name "Virtual QX8" --wire-log "$work/wire.log" --storage "$work/storage" \
    >"$work/virtualqx8.out"
wait_until grep -q "listening" "$work/virtualqx8.out" || fail "VirtualQX8 did not start."
echo "VirtualQX8 answers at $device (password \"quillrampstow\", FTP storage $work/storage);" \
    "this side is $near."

# The cloud (tuning manifests and files, update feeds with installer and firmware images made for
# this run) and the analytics collector: the harness HTTP server on this side's loopback, recording
# every request in the work folder.
cp -r simulator/storage/cloud "$work/cloud"
simulator/storage/make_update_files.py --base-url http://127.0.0.1:8080 "$work/cloud" >/dev/null
start "${as_user[@]}" tests/harness/httpserver.py --root "$work/cloud" \
    --log "$work/cloud.log" --address 127.0.0.1 --port 8080 --no-stdin >"$work/cloud.out"
wait_until grep -q "listening" "$work/cloud.out" || fail "The cloud server did not start."
export QX8_CLOUD_BASE_URL=http://127.0.0.1:8080 QX8_ANALYTICS_URL=http://127.0.0.1:8080/collect

export XDG_RUNTIME_DIR="$work/runtime"
if [ -n "${QX8_RUN_RELAY:-}" ]; then
    # No display: the window over VNC (Qt's own server, software-rendered).
    export QT_QPA_PLATFORM="vnc:size=1024x768:port=$vnc_port" QT_QUICK_BACKEND=software
    start "${as_user[@]}" scripts/socket-relay.py "unix:$QX8_RUN_RELAY/vnc" \
        "tcp:127.0.0.1:$vnc_port"
    echo "No display: the window is served over VNC at 127.0.0.1:$vnc_port of this machine" \
        "(from another: ssh -L $vnc_port:127.0.0.1:$vnc_port THIS-MACHINE, then a VNC viewer on" \
        "localhost:$vnc_port). Ctrl+C ends it."
fi
start "${as_user[@]}" build/sources/shell/QX8Control
wait "${children[-1]}"
