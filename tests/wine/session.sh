#!/usr/bin/env bash
# The private test bed for programs under Wine, never the user's own: lanes that run tests side by
# side, each with its own Xvfb displays (depths 24, 8 and 16, which give Wine's 32, 8 and 16 bits
# per pixel, and a larger 24-bit display for scaled desktops), its own WINEPREFIX per depth and its
# own home folder (Wine links the prefix's Desktop, Documents... to it). A test never sees what a
# test of another lane left. The prefixes are copies of one base prefix, made once.
#   session.sh base ROOT ARCH         the base prefix alone (made while the programs build)
#   session.sh start ROOT ARCH        lanes 0 to POINTREL_TEST_LANES-1 (default 1) under ROOT
#                                     (ARCH: win32 or win64); each writes ROOT/lane-N/session.env
#   session.sh start-lane ROOT ARCH N lane N alone, when it is not running yet
#   session.sh scaled ROOT ARCH N DPI  prints lane N's 24-bit prefix whose desktop has DPI dots
#                                     per inch and a virtual desktop as much larger, made from the
#                                     base on first use
#   session.sh stop ROOT              ends the wineservers and displays every lane began, by their ids
# tests/wine/lanes.sh tells a test which lane it has.
set -euo pipefail
cmd=$1
root=$(mkdir -p "$2" && cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
read -r -a depths <<<"${SESSION_DEPTHS:-24 8 16}"
# The scaled desktops the tests ask for (dots per inch), made with the base; others on first use.
read -r -a scales <<<"${SESSION_SCALES:-144 192}"

start_display() {  # dir depth [size label] -> prints "display pid"
  local dir=$1 depth=$2 screen=${3:-1024x768} label=${4:-$2}
  local fifo="$dir/displayfd.$label" log="$dir/xvfb-$label.log"
  rm -f "$fifo"; mkfifo "$fifo"
  # The display outlives this script: it must not hold the session's lock (descriptor 9).
  Xvfb -displayfd 3 -screen 0 "$screen"x"$depth" -nolisten tcp -noreset 3>"$fifo" >"$log" 2>&1 9>&- &
  local pid=$! number=
  read -r -t 30 number <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$number" ]; then
    echo "session: Xvfb at depth $depth ($screen) did not start within 30 s; the last lines of $log:" >&2
    tail -n 10 "$log" >&2
    kill "$pid" 2>/dev/null || true
    return 1
  fi
  echo ":$number $pid"
}

# Runs one step of making the base prefix; on failure says which and shows the end of its log.
prefix_step() {
  local what=$1; shift
  # Nor the wineserver the step may start.
  if ! "$@" >>"$root/wineboot.log" 2>&1 9>&-; then
    echo "session: $what failed (WINEARCH=$WINEARCH); the last lines of $root/wineboot.log:" >&2
    tail -n 20 "$root/wineboot.log" >&2
    return 1
  fi
}

# The same step tried once more after the prefix's processes have ended: a program started
# while wineboot's own are still settling is sometimes not found ("Application could not be
# started").
prefix_step_settled() {
  prefix_step "$@" 2>/dev/null && return 0
  wineserver -w
  prefix_step "$@"
}

# Names what the base prefix was made by; a prefix made otherwise is made again.
# The Wine that made it too: another version would update the prefix's libraries in place.
made() { echo "$("$WINE" --version) $WINEARCH, no crash dialog, Marlett"; }

# The base prefix every lane copies, made once on a display of its own.
make_base() {
  local base="$root/base"
  local dpi complete=yes
  for dpi in "${scales[@]}"; do cmp -s "$base/prefix-dpi$dpi/.ready" "$base/prefix/.ready" || complete=; done
  if [ -f "$base/prefix/.ready" ] && [ "$(cat "$base/prefix/.ready")" = "$(made)" ] && [ -n "$complete" ]; then return 0; fi
  rm -rf "$base"; mkdir -p "$base/home"
  : >"$root/wineboot.log"
  local line display pid
  line=$(start_display "$base" 24) || return 1
  read -r display pid <<<"$line"
  (
    export DISPLAY=$display WINEPREFIX="$base/prefix" HOME="$base/home"
    prefix_step "wineboot" "$WINE" wineboot -i &&
    wineserver -w &&
    # A Wine virtual desktop: Wine frames, minimises and activates windows itself, as Windows
    # does, where a bare X display without a window manager would not.
    prefix_step_settled "the virtual desktop setting" "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f &&
    prefix_step_settled "the virtual desktop size" "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f &&
    # A program that crashes ends at once instead of waiting behind the debugger's dialog.
    prefix_step_settled "the crash dialog setting" "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f &&
    wineserver -w &&
    # Wine draws the caption buttons with its Marlett font, which it does not find on its own
    # here (they come out as the letter "r"); in the prefix's Fonts folder it does.
    prefix_step "the Marlett font" cp /usr/share/wine/fonts/marlett.ttf "$base/prefix/drive_c/windows/Fonts/"
  ) && made >"$base/prefix/.ready"
  local status=$? dpi
  for dpi in "${scales[@]}"; do
    [ $status = 0 ] || break
    make_scaled_base "$dpi" "$display" || status=1
  done
  kill "$pid" 2>/dev/null || true
  if [ $status != 0 ]; then rm -f "$base/prefix/.ready"; return 1; fi
}

# A copy of a prefix of the base (FROM) whose links into the base's home lead into `home`
# instead. Its programs and libraries are links to the base's files, which no test writes (a copy
# would be 700 MB a prefix); every other file is a copy of its own.
copy_prefix() {  # from to home
  local from=$1 to=$2 home=$3 link target file
  rm -rf "$to"
  if cp -al "$from" "$to" 2>/dev/null; then
    while IFS= read -r -d '' file; do
      cp -a "$from/${file#"$to"/}" "$file.copy" && mv -f "$file.copy" "$file"
    done < <(find "$to" -type f ! -iregex '.*\.\(dll\|exe\|sys\|drv\|ocx\|cpl\|acm\|tlb\|nls\|com\|ds\|msstyles\|ttf\)' -print0)
  else
    # Another file system than the base's: copies throughout.
    rm -rf "$to"
    cp -a "$from" "$to"
  fi
  while IFS= read -r -d '' link; do
    target=$(readlink "$link")
    case "$target" in "$root/base/home"*) ln -sfn "$home${target#"$root/base/home"}" "$link" ;; esac
  done < <(find "$to/drive_c/users" -type l -print0)
}

# The base's prefix whose desktop has DPI dots per inch and a virtual desktop as much larger,
# made from the base prefix on DISPLAY. .ready comes last, so one cut short is made again.
make_scaled_base() {  # dpi display
  local dpi=$1 prefix="$root/base/prefix-dpi$1"
  cmp -s "$prefix/.ready" "$root/base/prefix/.ready" && return 0
  copy_prefix "$root/base/prefix" "$prefix" "$root/base/home"
  rm -f "$prefix/.ready"
  (
    export WINEPREFIX=$prefix DISPLAY=$2 HOME="$root/base/home"
    prefix_step_settled "the scaled desktop's dots per inch" "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f &&
      # The virtual desktop grows with the scale, as a screen of that many dots per inch would.
      prefix_step_settled "the scaled desktop's size" "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
        /d "$((1024 * dpi / 96))x$((768 * dpi / 96))" /f &&
      wineserver -w
  ) || return 1
  made >"$prefix/.ready"
}

start_lane() {  # lane number
  local dir="$root/lane-$1" display pid depth prefix
  [ -f "$dir/session.env" ] && stop_lane "$dir"
  mkdir -p "$dir/home"
  {
    echo "WINEARCH=$WINEARCH"
    echo "HOME=$dir/home"
  } >"$dir/session.env.new"
  # The displays start side by side: each takes a second to be ready. The last has room for the
  # scaled desktops (200 % of 1024 x 768); the others stay the size of their virtual desktop, so
  # the pointer never leaves it.
  local label labels=("${depths[@]}" SCALED) failed=
  for label in "${labels[@]}"; do
    if [ "$label" = SCALED ]; then start_display "$dir" 24 2048x1536 scaled; else start_display "$dir" "$label"; fi \
      >"$dir/display.$label" &
  done
  wait
  for label in "${labels[@]}"; do
    if read -r display pid <"$dir/display.$label" && [ -n "$pid" ]; then
      echo "DISPLAY_$label=$display" >>"$dir/session.env.new"
      echo "XVFB_PID_$label=$pid" >>"$dir/session.env.new"
    else
      failed=yes
    fi
    rm -f "$dir/display.$label"
  done
  [ -z "$failed" ] || { stop_lane "$dir" "$dir/session.env.new"; return 1; }
  for depth in "${depths[@]}"; do
    prefix="$dir/prefix-$depth"
    if ! cmp -s "$prefix/.ready" "$root/base/prefix/.ready"; then copy_prefix "$root/base/prefix" "$prefix" "$dir/home"; fi
    echo "WINEPREFIX_$depth=$prefix" >>"$dir/session.env.new"
  done
  mv "$dir/session.env.new" "$dir/session.env"
}

# Lane N's scaled prefix: a copy of the base's (made first when the base has none at DPI).
scaled_prefix() {  # lane dpi
  local dir="$root/lane-$1" dpi=$2
  local prefix="$dir/prefix-24-dpi$dpi"
  if ! cmp -s "$prefix/.ready" "$root/base/prefix/.ready"; then
    # shellcheck disable=SC1091
    make_scaled_base "$dpi" "$(. "$dir/session.env" && echo "$DISPLAY_SCALED")" || return 1
    copy_prefix "$root/base/prefix-dpi$dpi" "$prefix" "$dir/home"
  fi
  echo "$prefix"
}

stop_lane() {  # dir [env file]
  local dir=$1 env=${2:-$1/session.env} prefix pid_var
  [ -f "$env" ] || return 0
  (
    # shellcheck disable=SC1090
    . "$env"
    # Every prefix of the lane: one per depth and the scaled ones (session.sh scaled).
    for prefix in "$dir"/prefix-*; do
      [ -d "$prefix" ] || continue
      { WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; rm -f "$prefix/.keeper" "$prefix/.keeper.fifo"; } &
    done
    wait
    for depth in "${depths[@]}" SCALED; do
      pid_var=XVFB_PID_$depth
      [ -n "${!pid_var:-}" ] && kill "${!pid_var}" 2>/dev/null || true
    done
  )
  rm -f "$env"
}

# What names a folder or a setting must be a plain number: a lane or dots per inch such as
# "../x" would reach outside the session.
number() { [[ $2 =~ ^[0-9]+$ ]] || { echo "session: $1 must be a number, not '$2'" >&2; exit 2; }; }
for dpi in "${scales[@]}"; do number "each of SESSION_SCALES" "$dpi"; done
case "$cmd" in start-lane|scaled) number "the lane" "${4:-}" ;; esac
[ "$cmd" = scaled ] && number "the dots per inch" "${5:-}"

case "$cmd" in
base|start|start-lane|scaled)
  WINEARCH=${3:?usage: session.sh start ROOT win32|win64}
  # shellcheck source=tests/wine/wine-env.sh
  . "$here/wine-env.sh"
  # One maker at a time: lanes started on demand by tests that run side by side share the base.
  exec 9>"$root/.lock"
  flock 9
  make_base || exit 1
  [ "$cmd" = base ] && exit 0
  if [ "$cmd" = scaled ]; then
    [ -f "$root/lane-$4/session.env" ] || start_lane "$4" || exit 1
    scaled_prefix "$4" "$5" || exit 1
    exit 0
  fi
  if [ "$cmd" = start-lane ]; then
    [ -f "$root/lane-$4/session.env" ] || start_lane "$4" || exit 1
    exit 0
  fi
  lanes=${POINTREL_TEST_LANES:-1}
  # Side by side; each lane reads the base and writes only its own folder.
  pids=()
  for lane in $(seq 0 $((lanes - 1))); do start_lane "$lane" & pids+=($!); done
  for pid in "${pids[@]}"; do wait "$pid" || exit 1; done
  echo "session ready in $root ($WINEARCH, $lanes lane(s))"
  ;;
stop)
  for dir in "$root"/lane-*; do [ -d "$dir" ] && stop_lane "$dir" & done
  wait
  ;;
*) echo "usage: $0 base ROOT win32|win64 | start ROOT win32|win64 | start-lane ROOT win32|win64 N | scaled ROOT win32|win64 N DPI | stop ROOT" >&2; exit 2 ;;
esac
