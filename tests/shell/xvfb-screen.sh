#!/usr/bin/env bash
# Runs a command on a private X screen of its own (Xvfb, which picks a free display itself) of the
# given size and density, with Qt's xcb platform and OpenGL as on a desktop; ends the server after.
# Usage: xvfb-screen.sh WIDTHxHEIGHT DPI COMMAND [ARG...]
set -euo pipefail
[ "$#" -ge 3 ] || { echo "usage: xvfb-screen.sh WIDTHxHEIGHT DPI COMMAND [ARG...]" >&2; exit 2; }
size=$1 dpi=$2
shift 2
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${size}x24" -dpi "$dpi" -nolisten tcp 3>"$display_file" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$display_file"' EXIT
for _ in $(seq 200); do
    [ "$(wc -l <"$display_file")" -ge 1 ] && break
    kill -0 "$server" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.05
done
[ "$(wc -l <"$display_file")" -ge 1 ] || { echo "Xvfb named no display" >&2; exit 1; }
DISPLAY=:$(head -n 1 "$display_file") QT_QPA_PLATFORM=xcb env -u QT_QUICK_BACKEND "$@"
