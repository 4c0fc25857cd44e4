#!/usr/bin/env bash
# Links this network namespace to the one held by process HOLDER with a veth pair: NEAR/24 on
# this side, DEVICE/24 on the other, where loopback comes up too. Usage: device-link.sh HOLDER NEAR
# DEVICE (as root).
set -euo pipefail
[ "$#" -eq 3 ] || { echo "usage: device-link.sh HOLDER NEAR DEVICE" >&2; exit 2; }
holder=$1 near=$2 device=$3
far() { nsenter -t "$holder" -n "$@"; }
ip link add qx8near type veth peer name qx8far
ip link set qx8far netns "$holder"
ip addr add "$near/24" brd + dev qx8near
ip link set qx8near up
far ip link set lo up
far ip addr add "$device/24" brd + dev qx8far
far ip link set qx8far up
