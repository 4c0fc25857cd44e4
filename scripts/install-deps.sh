#!/usr/bin/env bash
# Installs the Debian 12 packages that build, run and test the project, or the packages named on
# the command line, skipping those present.
set -euo pipefail
packages=(
    cmake ninja-build g++ pkg-config iproute2 util-linux curl git clang-format
    clang libclang-rt-14-dev
    qtbase5-dev qtbase5-private-dev qtdeclarative5-dev qtquickcontrols2-5-dev
    libqt5xmlpatterns5-dev libqt5svg5-dev libjsoncpp-dev zlib1g-dev
    qml-module-qtquick2 qml-module-qtquick-controls2 qml-module-qtquick-controls
    qml-module-qtquick-layouts qml-module-qtquick-window2 qml-module-qtquick-dialogs
    qml-module-qttest qtdeclarative5-dev-tools xvfb xauth
    python3 python3-pyftpdlib python3-scipy proftpd-core
    # The pages are laid out in Arial: Liberation Sans has its metrics, and as TrueType it
    # loads faster than the Type 1 face fontconfig would pick otherwise.
    fonts-liberation2
)
[ "$#" -eq 0 ] || packages=("$@")
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ "${#missing[@]}" -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
