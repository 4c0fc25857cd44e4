#!/usr/bin/env bash
# Installs what is missing, checks the formatting of every C++ file, builds, runs every fuzz target
# a few seconds, checks the Debian package on a bare Debian 12 root, and runs the whole test suite
# inside a loopback-only network namespace. Ends with CTest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
scripts/build.sh
scripts/fuzz.sh all 8 --jobs 2
scripts/package-check.sh
cd build
exec ../scripts/netns-run ctest --output-on-failure --parallel "$(nproc)" --timeout 600
