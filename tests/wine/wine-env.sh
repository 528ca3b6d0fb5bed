# Sourced by the Wine scripts: for WINEARCH (win32 or win64) sets WINE, the loader that runs a
# program of that build, and exports what every Wine run here shares.
case "${WINEARCH:-}" in
win32) WINE=wine ;;
# The 64-bit loader itself: /usr/bin/wine would try the 32-bit one first where it is installed.
win64) WINE=/usr/lib/wine/wine64; export WINELOADER=$WINE ;;
*) echo "WINEARCH must be win32 or win64, not '${WINEARCH:-}'" >&2; return 2 ;;
esac
# File names outside ASCII reach the prefix's files as UTF-8, whatever the caller's locale.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
export WINEARCH WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
