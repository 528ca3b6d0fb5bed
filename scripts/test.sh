#!/usr/bin/env bash
# Builds everything and runs every test: native (sanitizers included), the static checks of the
# shipped PE32 files, then the Wine tests on the build this machine runs (scripts/wine-arch.sh)
# on private Xvfb displays and private WINEPREFIXes (see tests/wine/session.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
start=$(date +%s)
"$root/scripts/build.sh"
read -r arch why < <("$root/scripts/wine-arch.sh")
[ -n "$arch" ] || exit 2
status=0
ctest --test-dir "$root/build/native" -j "$(nproc)" --output-on-failure || status=1
ctest --test-dir "$root/build/win32" -L static --output-on-failure || status=1
echo "Wine tests on $why"
# Wine tests share one desktop and one settings folder per depth, so they run one at a time.
ctest --test-dir "$root/build/$arch" -L wine --output-on-failure || status=1
echo "all tests took $(( $(date +%s) - start )) s (Wine tests on build/$arch)"
exit $status
