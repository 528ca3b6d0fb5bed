#!/usr/bin/env bash
# Builds everything and runs every test: native (sanitizers included), then under Wine on
# private Xvfb displays and a private WINEPREFIX (see tests/wine/session.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
start=$(date +%s)
"$root/scripts/build.sh"
status=0
ctest --test-dir "$root/build/native" -j "$(nproc)" --output-on-failure || status=1
# Wine tests share one desktop and one settings folder per depth, so they run one at a time.
ctest --test-dir "$root/build/win32" --output-on-failure || status=1
echo "all tests took $(( $(date +%s) - start )) s"
exit $status
