#!/usr/bin/env bash
# Reruns the generator of the factory tuning set into a temporary folder and compares its output
# with the committed files, byte for byte.
set -uo pipefail
source_dir=$1
factory=$source_dir/sources/files/tunings/factory
out=$(mktemp -d "${TMPDIR:-/tmp}/factory.XXXXXX")
trap 'rm -rf "$out"' EXIT
/usr/bin/python3 "$factory/generate_factory_tunings.py" "$out" || exit 1
if ! diff -r -q -x '*.py' -x '__pycache__' "$out" "$factory"; then
    echo "The factory set is not what generate_factory_tunings.py writes: rerun it and commit."
    exit 1
fi
[ "$(ls "$out/SpeakerTunings" | wc -l)" -eq 372 ] && [ "$(ls "$out/AmplifierData" | wc -l)" -eq 131 ]
