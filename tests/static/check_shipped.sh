#!/usr/bin/env bash
# Checks the shipped files as they lie on disk, without running them:
#   check_shipped.sh OBJDUMP program FILE LIMIT
#                                           a PE32 i386 GUI program importing system DLLs only, of
#                                           at most LIMIT bytes; prints what its link map says
#                                           weighs most
#   check_shipped.sh OBJDUMP medium DIR N   N files of at most 4 MB in all (the cursors carry
#                                           images up to 128 pixels); says whether they still
#                                           fit a 1.44 MB floppy
set -uo pipefail
objdump=$1 what=$2 target=$3
fail() { echo "FAIL: $target: $*" >&2; exit 1; }

# The platform's own DLLs; anything else would have to ship beside the program.
system_dlls=" ADVAPI32.DLL COMCTL32.DLL COMDLG32.DLL GDI32.DLL KERNEL32.DLL MSVCRT.DLL OLE32.DLL SHELL32.DLL USER32.DLL "

case "$what" in
program)
  [ -f "$target" ] || fail "missing"
  headers=$("$objdump" -p "$target") || fail "objdump could not read it"
  grep -q 'file format pei-i386' <<<"$headers" || fail "not an i386 PE file: $(grep 'file format' <<<"$headers")"
  grep -Eq '^Magic[[:space:]]+010b' <<<"$headers" || fail "not PE32 (optional header magic $(grep '^Magic' <<<"$headers"))"
  grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$headers" || fail "not a Windows GUI program"
  dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '[:lower:]' '[:upper:]')
  [ -n "$dlls" ] || fail "imports nothing"
  for dll in $dlls; do
    [[ $system_dlls == *" $dll "* ]] || fail "imports $dll, which is not a system DLL"
  done
  size=$(stat -c %s "$target") limit=${4:?the size limit}
  echo "$target: PE32 i386 GUI, $size bytes (at most $limit), imports $(echo $dlls)"
  map="${target%.*}.map"
  if [ -f "$map" ]; then
    echo "largest contributors (bytes, from $(basename "$map")):"
    awk -f "$(dirname "$0")/map_contributors.awk" "$map" | sort -rn | head -n 10
  fi
  [ "$size" -le "$limit" ] || fail "$size bytes, more than $limit"
  ;;
medium)
  expected=$4 limit=4194304 floppy=1457664
  [ -d "$target" ] || fail "missing"
  count=$(find "$target" -maxdepth 1 -type f | wc -l)
  bytes=$(find "$target" -maxdepth 1 -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
  [ "$count" = "$expected" ] || fail "$count files, expected $expected"
  [ "$bytes" -le $limit ] || fail "$bytes bytes, more than 4 MB ($limit bytes)"
  if [ "$bytes" -le $floppy ]; then
    echo "$target: $count files, $bytes bytes, $((floppy - bytes)) to spare on a 1.44 MB floppy"
  else
    echo "$target: $count files, $bytes bytes, $((limit - bytes)) to spare under 4 MB ($((bytes - floppy)) more than a 1.44 MB floppy)"
  fi
  ;;
*) echo "usage: $0 OBJDUMP program FILE LIMIT | OBJDUMP medium DIR COUNT" >&2; exit 2 ;;
esac
