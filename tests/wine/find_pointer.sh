#!/usr/bin/env bash
# Finding the pointer, driven as the user drives it, with xdotool on the session's display, and
# seen in the utility's system-cursor trace:
#  - typing into another program (Wine's notepad) hides every replaceable system cursor behind
#    the blank; the next movement puts back what each showed before, id by id;
#  - a quick shake installs the Normal role enlarged to three times its side, then its own again;
#  - hidden, with the dialog's thread held still for 5 s (find_pointer_probe): a move puts back
#    every role within 100 ms, keys reach notepad as fast as with Pointrel not running
#    (measured both ways), and a shake meanwhile is dropped, never done later;
#  - killed while the pointer is hidden, the guard brings every role's default back.
#   find_pointer.sh SESSION-DIR ARCH BUILD-DIR
set -euo pipefail
session=$1 arch=$2 build=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/wine/prefix-programs.sh
. "$here/prefix-programs.sh"
enter_session "$session" "$arch"

lay_out_utility find-pointer "$build"
mkdir -p "$work/trace"
trace="$work/trace/trace.txt"
probe="$build/bin/find_pointer_probe.exe"
notepad=
# On every way out, a utility this script started is ended too (its guard then ends with it), so
# no later test finds it running.
end_started() {
  rm -f "$settings"
  [ -n "$notepad" ] && kill "$notepad" 2>/dev/null
  for pid in $(prefix_pids 'Pointrel.EXE' 'pointrel-guard'); do kill -KILL "$pid" 2>/dev/null; done
  true
}
trap end_started EXIT
printf '[Cursors]\r\nNormal=Giant white arrow.CUR\r\nHideTyping=1\r\nShakeEnlarge=1\r\n' >"$settings"
# Every role's id, as the start installs them and as the defaults go back.
roles="32512 32650 32514 32513 32642 32643 32644 32645 32651 32515 32631 32648 32646 32516 32649 32671 32672"
restore_order="32512 32514 32650 32513 32642 32643 32644 32645 32651 32515 32631 32648 32646 32516 32649 32671 32672"
count_roles=17
fail() { echo "FAIL: $*" >&2; [ -f "$trace" ] && tail -n 40 "$trace" >&2; exit 1; }
events() { [ -f "$trace" ] && tr -d '\r' <"$trace" | awk '$2 != "kept"' || true; }
count() { events | wc -l; }
# Waits until the trace holds at least $1 events and then holds still for a moment.
settle() {
  local want=$1 last=-1 now
  for _ in $(seq 150); do
    now=$(count)
    [ "$now" -ge "$want" ] && [ "$now" = "$last" ] && return 0
    last=$now; sleep 0.2
  done
  return 1
}
after() { events | tail -n +$(($1 + 1)); }
ids_of() { awk -v kind="$1" '$2 == kind { printf "%s ", $3 }'; }
sorted() { tr ' ' '\n' | grep . | sort -n | tr '\n' ' '; }

# Keys typed into notepad with Pointrel not running: the floor for the same keys later.
"$WINE" notepad >/dev/null 2>&1 &
notepad=$!
for _ in $(seq 100); do "$WINE" "$probe" keys 1 >/dev/null 2>&1 && break; sleep 0.2; done
alone=$("$WINE" "$probe" keys 20 | tr -d '\r')
[ "${alone%% *}" = keys ] || fail "no keys measured without Pointrel: $alone"

(cd "$work" && POINTREL_CURSOR_TRACE='C:\find-pointer\trace' exec "$WINE" ./Pointrel.EXE) >/dev/null 2>&1 &
for _ in $(seq 150); do [ "$(trace_roles "$trace" $roles)" -ge $count_roles ] && break; sleep 0.2; done
settle $count_roles && [ "$(trace_roles "$trace" $roles)" -ge $count_roles ] || fail "the utility did not install its cursors"
normal_file=$(events | awk '$2 == "install" && $3 == 32512 { f = $6 } END { print f }')
[ -n "$normal_file" ] || fail "no Normal installed at start"
# Notepad in front again, where xdotool types.
"$WINE" "$probe" keys 1 >/dev/null
xdotool mousemove 400 300
pointer_at() { [ "$(xdotool getmouselocation | awk '{ print $1, $2 }')" = "x:$1 y:$2" ]; }
for _ in $(seq 50); do pointer_at 400 300 && break; sleep 0.05; done
pointer_at 400 300 || fail "the pointer did not reach 400,300"
settle "$(count)" || fail "the trace did not hold still"
start=$(count)

# Where the keys went, should none arrive: X's focus and the window under the pointer.
where_keys_went() {
  local focus under
  focus=$(xdotool getwindowfocus 2>/dev/null || echo none)
  under=$(xdotool getmouselocation --shell 2>/dev/null | awk -F= '$1 == "WINDOW" { print $2 }')
  echo "focus $focus '$(xdotool getwindowname "$focus" 2>/dev/null)', under the pointer $under '$(xdotool getwindowname "$under" 2>/dev/null)'"
}
# Keys go where X's focus is; with no window manager nothing moves it to notepad, and an earlier
# test of the display can have left it on a window that is gone, where keys reach no program.
type_into_notepad() {
  local window
  window=$(xdotool search --name 'Notepad' | head -n 1)
  [ -n "$window" ] || fail "no notepad window to type into"
  timeout 10 xdotool windowfocus --sync "$window" || fail "X's focus did not reach notepad in 10 s ($(where_keys_went))"
  xdotool type --delay 40 "$1"
}

# Typing: every replaceable id becomes the blank.
type_into_notepad "find"
settle $((start + count_roles)) || fail "typing hid nothing ($(( $(count) - start )) events; $(where_keys_went))"
hidden=$(after "$start" | ids_of install | sorted)
[ "$hidden" = "$(echo "$roles" | sorted)" ] || fail "typing installed blanks for '$hidden'"
blank_files=$(after "$start" | awk '$2 == "install" { print $6 }' | sort -u | wc -l)
echo "typing: blanks for all $count_roles ids ($blank_files blank pictures)"

# A movement: what each showed comes back, id by id.
start=$(count)
xdotool mousemove 420 320
settle $((start + count_roles)) || fail "moving the pointer put nothing back"
back=$(after "$start")
[ "$(echo "$back" | awk '$3 == 32512 { print $2, $6 }')" = "install $normal_file" ] ||
  fail "Normal came back as '$(echo "$back" | awk '$3 == 32512')', not its own $normal_file"
# Where the platform has no cursor of an id (Wine: the pin and the person) its default is refused.
defaults=$(echo "$back" | awk '$2 == "default" || $2 == "refused" { printf "%s ", $3 }' | sorted)
[ "$defaults" = "$(echo "${roles#32512 }" | sorted)" ] || fail "defaults back for '$defaults'"
echo "moved: Normal's own cursor and $((count_roles - 1)) defaults back"

# A shake: three times the side, then the own side again.
start=$(count)
side=$(od -An -tu1 -j6 -N1 "$work/trace/$normal_file" | tr -d ' ')
[ "$side" = 0 ] && side=256
# One xdotool for the whole shake: a process started per move is too slow on a busy machine.
#   shake [X1 Y1 X2 Y2]   to and fro between the two points
shake() {
  local x1=${1:-200} y1=${2:-300} x2=${3:-750} y2=${4:-310}
  local moves=(mousemove "$x1" "$y1" sleep 0.05)
  for _ in 1 2 3 4 5 6; do moves+=(mousemove "$x2" "$y2" sleep 0.05 mousemove "$x1" "$y1" sleep 0.05); done
  xdotool "${moves[@]}"
}
# A display just started may lag behind the first moves: up to three shakes, a second apart.
for attempt in 1 2 3; do
  shake
  settle $((start + 2)) && break
  echo "shake $attempt: nothing installed yet"
done
[ "$(count)" -ge $((start + 2)) ] || fail "three shakes installed nothing"
# The enlargement shrinks back to Normal's own cursor.
for _ in $(seq 100); do
  [ "$(after "$start" | awk '$3 == 32512 { print $2, $6 }' | tail -n 1)" = "install $normal_file" ] && break
  sleep 0.05
done
settle "$(count)" || fail "the trace did not hold still after the shake"
largest=0
for file in $(after "$start" | awk '$2 == "install" && $3 == 32512 { print $6 }'); do
  width=$(od -An -tu1 -j6 -N1 "$work/trace/$file" | tr -d ' ')
  [ "$width" = 0 ] && width=256
  [ "$width" -gt "$largest" ] && largest=$width
done
want=$((3 * side)); [ $want -gt 256 ] && want=256
[ "$largest" = "$want" ] || fail "the shake enlarged Normal to $largest pixels, not $want (its side $side)"
last=$(after "$start" | awk '$3 == 32512 { print $2, $6 }' | tail -n 1)
[ "$last" = "install $normal_file" ] || fail "after the shake Normal shows '$last', not its own"
steps=$(after "$start" | awk '$2 == "install" && $3 == 32512' | wc -l)
echo "shaken: Normal grew from $side to $largest pixels and back in $steps installs"

# Hidden, then the dialog's thread held still for 5 s.
start=$(count)
type_into_notepad "y"
settle $((start + count_roles)) || fail "typing hid nothing before the dialog was held"
start=$(count)
"$WINE" "$probe" stuck 5000 20 500 400 >"$work/probe.txt" 2>&1 &
probe_pid=$!
said() { tr -d '\r' <"$work/probe.txt" | awk -v what="$1" '$1 == what { $1 = ""; print substr($0, 2) }'; }
saying() { tr -d '\r' <"$work/probe.txt" | grep -q "^$1"; }
for _ in $(seq 300); do saying shake || saying cannot && break; sleep 0.1; done
saying shake || fail "the probe did not hold the dialog: $(cat "$work/probe.txt")"
# Over notepad only: under Wine the X events over a window are read by the thread that owns it,
# so moves over the held dialog would reach nobody's hooks (the platform's own input thread has
# no such tie).
shake $(xdotool search --name 'Notepad' getwindowgeometry --shell | awk -F= '
  $1 == "X" { x = $2 } $1 == "Y" { y = $2 } $1 == "WIDTH" { w = $2 } $1 == "HEIGHT" { h = $2 }
  END { printf "%d %d %d %d\n", x + w / 10, y + h / 3, x + w * 9 / 10, y + h / 3 + 10 }')
wait "$probe_pid" || fail "the probe failed: $(cat "$work/probe.txt")"
moved=$(said moved) stuck_keys=$(said keys)
settle $((start + count_roles)) || fail "the move put back $(( $(count) - start )) cursors while the dialog was held"
back=$(after "$start" | head -n "$count_roles")
[ "$(echo "$back" | awk '{ printf "%s ", $3 }' | sorted)" = "$(echo "$roles" | sorted)" ] ||
  fail "the move put back '$(echo "$back" | awk '{ printf "%s ", $3 }')'"
latest=$(echo "$back" | awk 'BEGIN { m = 0 } $1 > m { m = $1 } END { print m }')
[ $((latest - moved)) -le 100 ] || fail "the last of the roles came back $((latest - moved)) ms after the move"
echo "held 5 s: all $count_roles back $((latest - moved)) ms after the move; keys into notepad median and slowest:" \
  "${alone#keys } ms alone, ${stuck_keys} ms with Pointrel's dialog held (20 keys each, fewer where one took over a second)"
slowest=${stuck_keys#* }
[ "${slowest%.*}" -lt 1000 ] || fail "a key took $slowest ms to reach notepad while the dialog was held"
# The shake while it was held was dropped: nothing enlarged then, nor after it was let go.
sleep 1.5
[ "$(count)" = $((start + count_roles)) ] || fail "after the held dialog: $(after $((start + count_roles)) | head -n 3 | tr '\n' ';')"
echo "held: the shake meanwhile was dropped"

# Hidden, then killed: the guard puts every role's default back.
start=$(count)
type_into_notepad "x"
settle $((start + count_roles)) || fail "typing again hid nothing"
pid=$(prefix_pids 'Pointrel.EXE' 'pointrel-guard' | head -n 1)
[ -n "$pid" ] || fail "no Unix process of the utility"
start=$(count)
kill -KILL "$pid"
settle $((start + 1 + count_roles)) || fail "the guard put back $(( $(count) - start )) cursors"
ending=$(after "$start")
[ "$(echo "$ending" | head -n 1 | awk '{ print $2, $3 }')" = "scheme refused" ] || fail "the guard did not ask for the scheme first"
got=$(echo "$ending" | awk '$2 == "default" || $2 == "refused" { printf "%s ", $3 }')
[ "${got% }" = "$restore_order" ] || fail "the guard put back '$got'"
echo "killed while hidden: the guard put back all $count_roles defaults"
