#!/usr/bin/env bash
# The Debian package proven on a bare machine. Builds it (scripts/package.sh); validates its menu
# entry and metainfo and runs lintian on it; makes a minimal Debian 12 root from the mirrors this
# machine's apt uses and installs the package into a fresh copy of it with apt, so that apt must
# find every dependency from the package's own list; then, inside private network namespaces,
# starts the installed QX8Control beside the installed VirtualQX8 and drives it with a probe
# installed after the package (packaging/check): the discovery page must list "Virtual QX8", and
# the offline model the application starts must answer on its console and FTP ports. Also checks
# that `cmake --install` with a prefix lays out the same files as the package.
#
# The root is cached as a tar file under ${XDG_CACHE_HOME:-~/.cache}/qx8control, named after its
# recipe and the mirrors and made anew after a week; every run unpacks a fresh copy of it. apt's
# downloads are kept there too (apt checks each one against the mirror's index).
# Ends with "package check: N passed, N failed".
set -euo pipefail
cd "$(dirname "$0")/.."
readonly suite=bookworm
readonly user_id=1000
readonly report=/home/qx8/probe.report
# Warnings the package keeps, each with its reason in the README's packaging paragraph.
readonly accepted_warnings=(no-manual-page initial-upload-closes-no-bugs)

passed=0 failed=0
pass() {
    echo "ok - $*"
    passed=$((passed + 1))
}
fail() {
    echo "FAILED - $*"
    failed=$((failed + 1))
}
summary() {
    echo "package check: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
abort() {
    fail "$@"
    summary || exit 1
}
# Waits up to $1 seconds for a condition.
wait_until() {
    local limit=$(($1 * 10))
    shift
    for _ in $(seq "$limit"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
show() {
    echo "--- $1"
    tail -n "${2:-40}" "$1" || true
}

case "${QX8_CHECK_STAGE:-}" in
"")
    scripts/install-deps.sh mmdebstrap lintian desktop-file-utils appstream
    work=$(mktemp -d "${TMPDIR:-/tmp}/qx8package.XXXXXX")
    # Anything mounted below the work folder lives only in the stages' own mount namespaces.
    trap 'rm -rf --one-file-system "$work"' EXIT
    scripts/package.sh >"$work/package.log" 2>&1 || {
        show "$work/package.log"
        exit 1
    }
    deb=$(tail -n 1 "$work/package.log")
    cmake --build build-package --target qx8packageprobe >"$work/probe-build.log" 2>&1 || {
        show "$work/probe-build.log"
        exit 1
    }
    echo "$deb: $(du -k "$deb" | cut -f1) KiB"
    dpkg-deb --field "$deb" Depends

    # `cmake --install` with a prefix lays out the package's files, under the prefix for /usr.
    cmake --install build-package --prefix "$work/prefix" >/dev/null
    if diff <(cd "$work/prefix" && find . ! -type d | sort) \
        <(dpkg-deb -c "$deb" | awk '$6 !~ /\/$/ { sub(/^\.\/usr/, ".", $6); print $6 }' | sort) \
        >"$work/install.diff"; then
        pass "cmake --install lays out the package's files"
    else
        cat "$work/install.diff"
        fail "cmake --install lays out the package's files"
    fi

    dpkg-deb -x "$deb" "$work/contents"
    if desktop-file-validate "$work"/contents/usr/share/applications/*.desktop; then
        pass "the menu entry is valid"
    else
        fail "the menu entry is not valid"
    fi
    if appstreamcli validate --no-net "$work"/contents/usr/share/metainfo/*.xml; then
        pass "the metainfo is valid"
    else
        fail "the metainfo is not valid"
    fi
    lintian "$deb" >"$work/lintian.log" 2>&1 || true
    cat "$work/lintian.log"
    accepted=$(
        IFS='|'
        echo "${accepted_warnings[*]}"
    )
    if grep -E '^[EW]: ' "$work/lintian.log" | grep -vqE "^W: [^ ]+ ($accepted)( |$)"; then
        fail "lintian: errors, or warnings not accepted"
    else
        pass "lintian: no errors, no warnings but the accepted ones"
    fi

    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo --preserve-env)
    "${sudo[@]}" unshare --mount --propagation private -- env QX8_CHECK_STAGE=root \
        QX8_CHECK_WORK="$work" QX8_CHECK_DEB="$deb" \
        QX8_CHECK_PROBE=build-package/packaging/check/libqx8probe.so \
        QX8_CHECK_CACHE="${XDG_CACHE_HOME:-${HOME:-/root}/.cache}/qx8control" \
        QX8_CHECK_COUNTS="$passed $failed" "$0"
    ;;

root)
    # As root, in a mount namespace of its own: the root made or taken from the cache, the
    # package installed into a fresh copy from the mirror.
    read -r passed failed <<<"$QX8_CHECK_COUNTS"
    work=$QX8_CHECK_WORK cache=$QX8_CHECK_CACHE
    arch=$(dpkg --print-architecture)
    # The mirrors apt is set up with, for Debian 12 and its updates, one sources line each.
    mapfile -t sources < <(apt-get indextargets --format \
        '$(TARGET_OF) $(REPO_URI) $(RELEASE) $(COMPONENT) $(ARCHITECTURE) $(IDENTIFIER)' |
        awk -v suite="$suite" -v arch="$arch" '
            $1 == "deb" && $5 == arch && $6 == "Packages" &&
            $3 ~ ("^" suite "(-updates|-security)?$") { print $1, $2, $3, $4 }' | sort -u)
    [ "${#sources[@]}" -gt 0 ] || {
        echo "apt has no $suite mirror set up" >&2
        exit 1
    }
    recipe="mmdebstrap --variant=apt --architectures=$arch $suite; ${sources[*]}"
    tarball="$cache/root-$(printf '%s' "$recipe" | sha256sum | cut -c1-16).tar"
    mkdir -p "$cache/archives/partial"
    if [ ! -f "$tarball" ] || [ -n "$(find "$tarball" -mtime +6)" ]; then
        echo "Making the Debian 12 root ($recipe)"
        rm -rf "$cache"/root-*.tar*
        mmdebstrap --quiet --format=tar --variant=apt --architectures="$arch" "$suite" "$tarball.partial" \
            "${sources[@]}" >"$work/mmdebstrap.log" 2>&1 || {
            show "$work/mmdebstrap.log"
            exit 1
        }
        mv "$tarball.partial" "$tarball"
    fi
    root=$work/root
    mkdir "$root"
    tar -xf "$tarball" -C "$root"
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"
    mount --bind "$cache/archives" "$root/var/cache/apt/archives"
    # Written as a file of the root's own: a link there could point into this machine's /run.
    rm -f "$root/etc/resolv.conf"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    cp "$QX8_CHECK_DEB" "$root/tmp/"
    in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
        DEBIAN_FRONTEND=noninteractive "$@"; }
    apt_options=(-q -o APT::Sandbox::User=root)
    if in_root apt-get "${apt_options[@]}" update >"$work/apt.log" 2>&1 &&
        in_root sh -c "cd /tmp && apt-get ${apt_options[*]} install -y --no-install-recommends \
            ./$(basename "$QX8_CHECK_DEB")" >>"$work/apt.log" 2>&1; then
        pass "apt installs the package and its dependencies into a bare Debian 12 root"
        grep -E '^(Need to get|After this operation)' "$work/apt.log" || true
    else
        show "$work/apt.log"
        abort "apt installs the package and its dependencies into a bare Debian 12 root"
    fi
    in_root apt-get "${apt_options[@]}" autoclean >/dev/null

    # The test tools, after the package: the probe, and a user to run the application as.
    mkdir -p "$root/usr/local/lib/qx8probe/generic"
    cp "$QX8_CHECK_PROBE" "$root/usr/local/lib/qx8probe/generic/"
    echo "qx8:x:$user_id:$user_id::/home/qx8:/bin/sh" >>"$root/etc/passwd"
    echo "qx8:x:$user_id:" >>"$root/etc/group"
    install -d -o "$user_id" -g "$user_id" "$root/home/qx8"
    install -d -m 700 -o "$user_id" -g "$user_id" "$root/tmp/runtime-qx8"

    unshare --net --pid --fork --kill-child --mount-proc -- env QX8_CHECK_STAGE=run \
        QX8_CHECK_ROOT="$root" QX8_CHECK_COUNTS="$passed $failed" "$0"
    ;;

run)
    # Pid 1 of its own namespace: everything started here ends with it.
    read -r passed failed <<<"$QX8_CHECK_COUNTS"
    root=$QX8_CHECK_ROOT
    mount -t proc proc "$root/proc"
    ip link set lo up
    # The application's side holds one end of a veth pair; the device answers at the other end,
    # in a namespace of its own, as a processor on the same subnet would.
    near=10.77.0.1 device=10.77.0.20
    unshare --net sleep infinity &
    holder=$!
    has_own_network() { [ "$(readlink "/proc/$holder/ns/net")" != "$(readlink /proc/self/ns/net)" ]; }
    wait_until 10 has_own_network || {
        echo "Could not make the device's network namespace." >&2
        exit 1
    }
    far() { nsenter -t "$holder" -n "$@"; }
    scripts/device-link.sh "$holder" "$near" "$device"
    # The offline model's FTP server takes port 21 as the user, as scripts/run.sh allows it.
    echo 21 >/proc/sys/net/ipv4/ip_unprivileged_port_start

    as_user() {
        chroot --userspec="$user_id:$user_id" "$root" env -i HOME=/home/qx8 \
            PATH=/usr/bin:/bin XDG_RUNTIME_DIR=/tmp/runtime-qx8 "$@"
    }
    out=$root/home/qx8
    far chroot --userspec="$user_id:$user_id" "$root" /usr/bin/VirtualQX8 --address "$device" \
        --name "Virtual QX8" --ftp-port 0 </dev/null >"$out/device.out" 2>&1 &
    wait_until 10 grep -q listening "$out/device.out" || {
        show "$out/device.out"
        abort "the installed VirtualQX8 starts"
    }
    as_user QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software \
        QT_PLUGIN_PATH=/usr/local/lib/qx8probe QT_QPA_GENERIC_PLUGINS="qx8probe:$report" \
        QX8Control </dev/null >"$out/application.out" 2>&1 &
    probe_ended() { grep -qE '^(done|failed)' "$root$report" 2>/dev/null; }
    wait_until 180 probe_ended || true
    cat "$root$report" 2>/dev/null || echo "(the probe wrote no report)"
    if grep -qE '^window icon: [0-9]+x[0-9]+' "$root$report" 2>/dev/null; then
        pass "the window carries the application's icon"
    else
        fail "the window carries the application's icon"
    fi
    if grep -q '^page fault' "$root$report" 2>/dev/null ||
        ! grep -q '^compiled' "$root$report" 2>/dev/null; then
        fail "every page compiles against the installed QML modules"
    else
        pass "every page compiles against the installed QML modules"
    fi
    if grep -q '^reached "Virtual QX8" on the discovery page' "$root$report" 2>/dev/null; then
        pass "the installed application lists \"Virtual QX8\" on its discovery page"
    else
        fail "the installed application lists \"Virtual QX8\" on its discovery page"
    fi
    if grep -q "^reached the offline model's home screen" "$root$report" 2>/dev/null; then
        pass "the installed application reaches the offline model's home screen"
    else
        fail "the installed application reaches the offline model's home screen"
    fi
    # The offline model is the application's own child, and answers on loopback: its console,
    # and its FTP server (Python with pyftpdlib).
    if pgrep -P "$(pgrep -x QX8Control)" -x VirtualQX8 >/dev/null &&
        as_user python3 - <<'EOF'; then
import socket
for port, greeting in ((19272, b""), (21, b"220")):
    with socket.create_connection(("127.0.0.1", port), timeout=5) as connection:
        connection.settimeout(5)
        answer = connection.recv(256)
        assert answer.startswith(greeting) and answer, (port, answer)
EOF
        pass "the offline model started by the application answers on its console and FTP ports"
    else
        fail "the offline model started by the application answers on its console and FTP ports"
    fi
    if [ "$failed" -ne 0 ]; then
        show "$out/application.out"
        show "$out/.local/share/yoxl/QX8/ui.log" 80
    fi
    summary
    ;;
esac
