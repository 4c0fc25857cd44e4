#!/usr/bin/env bash
# Runs one test with private HOME, XDG folders and TMPDIR, a UTF-8 C locale, no proxies and
# analytics and the cloud kept on loopback, and removes the folders afterwards.
set -uo pipefail
root=$(mktemp -d "${TMPDIR:-/tmp}/qx8test.XXXXXX")
trap 'rm -rf "$root"' EXIT
mkdir -p "$root"/{home,config,data,cache,runtime,tmp}
chmod 700 "$root/runtime"
unset http_proxy https_proxy ftp_proxy all_proxy no_proxy HTTP_PROXY HTTPS_PROXY FTP_PROXY ALL_PROXY NO_PROXY
export HOME=$root/home XDG_CONFIG_HOME=$root/config XDG_DATA_HOME=$root/data \
       XDG_CACHE_HOME=$root/cache XDG_RUNTIME_DIR=$root/runtime TMPDIR=$root/tmp
export LANG=${QX8_TEST_LANG:-C.UTF-8} LC_ALL=${QX8_TEST_LANG:-C.UTF-8}
export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
# A crash ends the test at once instead of waiting on a debugger that Qt Test would start.
export QTEST_DISABLE_STACK_DUMP=1
# Analytics posts, and the cloud (update feed, tunings) is asked, on a closed loopback port
# unless a test starts its own server.
export QX8_ANALYTICS_URL=${QX8_ANALYTICS_URL:-http://127.0.0.1:9/collect}
export QX8_CLOUD_BASE_URL=${QX8_CLOUD_BASE_URL:-http://127.0.0.1:9}
"$@"
