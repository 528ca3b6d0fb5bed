#!/usr/bin/env bash
# Builds everything: the native build (host tools, native tests) into build/native, then the
# Windows programs, their medium and their Wine tests twice from the same sources: build/win32
# (i686, PE32: the product) and build/win64 (x86-64, PE32+: for machines that do not run 32-bit
# code; ships nowhere). Installs missing tools first. Builds are incremental, and compile through
# ccache, whose cache (in the user's home) outlives the tree: a fresh clone on a machine that has
# built before compiles little.
#   build.sh [TREE...]                 only the trees named (native, win32, win64; tools: of the
#                                      native tree only the host tools the other two run)
#   POINTREL_DEPS_CHECKED=1            the caller has run scripts/install-deps.sh already
#   POINTREL_PROGRAMS_ONLY=win32|win64 that tree builds the shipped programs and the medium but
#                                      not its Wine tests (the tree this machine does not run)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${POINTREL_DEPS_CHECKED:-}" != 1 ] && ! "$root/scripts/install-deps.sh"; then
  echo "build: installing the dependencies failed (scripts/install-deps.sh, above)" >&2
  exit 1
fi
jobs=${JOBS:-$(nproc)}

launcher=()
if dpkg-query -W -f='${Status}' ccache 2>/dev/null | grep -q 'ok installed'; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # Paths inside the tree count as relative, so another clone's objects are found; the objects'
  # debug information then names the clone that compiled them.
  export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true
fi

# Configures and builds one tree (its TARGETS, or all); on failure names it and shows the end of
# its log.
build_tree() {
  local name=$1; shift
  local targets=()
  if [ "$1" = --targets ]; then read -r -a targets <<<"$2"; shift 2; fi
  local dir="$root/build/$name" log="$root/build/$name.log"
  mkdir -p "$root/build"
  local build=(cmake --build "$dir" -j "$jobs")
  [ ${#targets[@]} -gt 0 ] && build+=(--target "${targets[@]}")
  if ! { cmake -S "$root" -B "$dir" -G Ninja "${launcher[@]}" "$@" && "${build[@]}"; } >"$log" 2>&1; then
    echo "build: the $name build failed; the last lines of $log:" >&2
    tail -n 30 "$log" >&2
    exit 1
  fi
  grep -q 'warning:' "$log" && echo "build: the $name build has warnings (see $log)" >&2
  echo "build: $name built ($dir${targets:+, only ${targets[*]}})"
}

wanted() { [ ${#trees[@]} -eq 0 ] || printf '%s\n' "${trees[@]}" | grep -qx "$1"; }
trees=("$@")
for tree in "${trees[@]}"; do
  case "$tree" in native|tools|win32|win64) ;; *) echo "build: no tree named $tree (native, tools, win32, win64)" >&2; exit 2 ;; esac
done
if wanted native; then
  build_tree native -DCMAKE_BUILD_TYPE=RelWithDebInfo
elif wanted tools; then
  build_tree native --targets host_tools -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
for arch in i686 x86_64; do
  name=win32; [ $arch = x86_64 ] && name=win64
  wanted $name || continue
  only=()
  [ "${POINTREL_PROGRAMS_ONLY:-}" = $name ] && only=(--targets "Pointrel Wendset medium")
  build_tree $name "${only[@]}" -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$arch-w64-mingw32.cmake" \
    -DHOST_TOOLS_DIR="$root/build/native/bin"
done
