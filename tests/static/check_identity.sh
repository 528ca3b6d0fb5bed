#!/usr/bin/env bash
# check_identity.sh WINDRES FILE: the program carries the manifest (type 24, id 1) that Windows
# 10 and 11 read (supportedOS of 7, 8, 8.1 and 10/11, asInvoker, per-monitor v2 awareness, UTF-8,
# common controls 6) and a version resource naming the product. Read from the file as built,
# without running it.
set -uo pipefail
windres=$1 target=$2
fail() { echo "FAIL: $target: $*" >&2; exit 1; }
[ -f "$target" ] || fail "missing"
resources=$("$windres" -i "$target" -O rc 2>&1) || fail "windres could not read its resources"
manifest=$(awk '/^1 24 /{on=1; next} on && /^END/{exit} on' <<<"$resources" | tr -d '\n' | sed 's/""/"/g')
[ -n "$manifest" ] || fail "no manifest (resource type 24, id 1)"
for wanted in \
  'supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"' \
  'supportedOS Id="{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"' \
  'supportedOS Id="{1f676c76-80e1-4239-95bb-83d0f6d0da78}"' \
  'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"' \
  'requestedExecutionLevel level="asInvoker"' \
  '>PerMonitorV2' \
  '>true/pm<' \
  'activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">UTF-8<' \
  'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"'; do
  grep -qF -- "$wanted" <<<"$manifest" || fail "the manifest lacks: $wanted"
done
grep -q '^1 VERSIONINFO' <<<"$resources" || fail "no version resource"
for wanted in 'VALUE "ProductName", "Pointrel"' 'VALUE "FileVersion"' 'VALUE "ProductVersion"' 'VALUE "FileDescription"'; do
  grep -qF -- "$wanted" <<<"$(tr -s ' ' <<<"$resources")" || fail "the version resource lacks: $wanted"
done
echo "$target: manifest (7 to 11, asInvoker, per-monitor v2, UTF-8, common controls 6) and version resource"
