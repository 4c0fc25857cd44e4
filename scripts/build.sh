#!/usr/bin/env bash
# Configures and builds into build/ (incremental on later runs): everything, or the targets
# named on the command line.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
[ "$#" -eq 0 ] || targets=(--target "$@")
cmake --build build --parallel "$(nproc)" "${targets[@]}"
