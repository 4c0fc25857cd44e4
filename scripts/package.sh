#!/usr/bin/env bash
# Installs what is missing, makes a release build in build-package/ with Debian's hardening
# flags, and packs it for Debian 12: build-package/qx8control_<version>-1_<arch>.deb, whose path
# it prints last. Install it with `sudo apt install ./build-package/qx8control_*.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# dpkg-shlibdeps and dpkg-buildflags, and `file`, with which CPack finds the programs to strip
# and to ask dpkg-shlibdeps about.
scripts/install-deps.sh dpkg-dev file

flags() {
    DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP="-g -O2" \
        dpkg-buildflags --get "$1"
}
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >/dev/null
cmake --build build-package --parallel "${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
rm -f build-package/qx8control_*.deb
(cd build-package && cpack >cpack.log) || {
    cat build-package/cpack.log >&2
    exit 1
}
ls build-package/qx8control_*.deb
