#!/usr/bin/env bash
# The windows on a real X server. Without a window manager the drawing
# window takes the keyboard focus by itself, so Ctrl keys work before the
# first click. Under a light window manager (openbox) both windows are
# placed by their frames, the drawing window offers no resizing or
# maximising, and Ctrl stays held while the keyboard visits the text
# window.
#   windows_e2e.sh PROGRAM             without a window manager
#   windows_e2e.sh PROGRAM --openbox   under openbox; exits 77 (skipped)
#                                      when openbox cannot run here at all
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
prog=$1
mode=${2:-}
out=$(mktemp)
wm_log=$(mktemp)
pid="" wm=""
trap 'kill $pid $wm 2>/dev/null || true; rm -f "$out" "$wm_log"' EXIT
read -r SW SH < <(xwininfo -root | awk '/^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print w, h}')

# wait_for_focus WID: waits until the X server's keyboard focus is on WID.
wait_for_focus() {
  for _ in $(seq 50); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "window $1 never took the keyboard focus (focus: $(xdotool getwindowfocus 2>/dev/null))"
}

# ends_with_ctrl_q: Ctrl+Q typed at whatever has the focus ends the program.
ends_with_ctrl_q() {
  xdotool key ctrl+q
  wait_for_line "$out" QUIT
  local status=0
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "exit code $status"
  ! grep -qE '^KBD ' "$out" || fail "a Ctrl key arrived as a key event"
}

if [ "$mode" != --openbox ]; then
  # No window manager: the pointer rests away from both windows, and nobody
  # clicks; the keys go where the X server's focus is.
  xdotool mousemove $((SW - 10)) 10
  "$prog" >"$out" 2>/dev/null &
  pid=$!
  wait_for_line "$out" READY
  wid=$(xdotool search --sync --onlyvisible --name '^ZEMKA Graphics$' | head -n 1)
  wait_for_focus "$wid"
  ends_with_ctrl_q
  echo "windows end to end, no window manager: ok"
  exit 0
fi

# Under openbox. It is ready once it has set the root window's
# _NET_SUPPORTING_WM_CHECK. A loaded machine (the sanitizer build, other
# tests beside it) may take seconds for each step: every wait below is
# generous. An openbox that exits before it is ready is started again, up
# to three times; one that never runs means this machine cannot run the
# test (exit 77), one that runs but never gets ready is a failure.
wm_ready="" starts=0 wm_status="" check=""
for _ in $(seq 600); do
  if [ -z "$wm" ] || ! kill -0 "$wm" 2>/dev/null; then
    if [ -n "$wm" ]; then
      wm_status=0
      wait "$wm" || wm_status=$?
    fi
    [ "$starts" -lt 3 ] || break
    starts=$((starts + 1))
    openbox --sm-disable >>"$wm_log" 2>&1 &
    wm=$!
  fi
  check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>&1 || true)
  [[ $check == *"window id"* ]] && { wm_ready=yes; break; }
  sleep 0.1
done
if [ -z "$wm_ready" ]; then
  echo "--- openbox's output ($starts starts):" >&2; cat "$wm_log" >&2
  echo "--- xprop -root _NET_SUPPORTING_WM_CHECK: $check" >&2
  if [ -n "$wm_status" ] && ! kill -0 "$wm" 2>/dev/null; then
    echo "SKIP: openbox exits at once here (status $wm_status); nothing under a window manager was tested" >&2
    exit 77
  fi
  fail "openbox runs but never became ready in 60 s"
fi
sleep 1  # let it finish starting before windows ask to be mapped
: >"$out"
"$prog" >"$out" 2>/dev/null &
pid=$!
wait_for_line "$out" READY
draw=$(xdotool search --sync --onlyvisible --name '^ZEMKA Graphics$' | head -n 1)
text=$(xdotool search --sync --onlyvisible --name '^ZEMKA Text$' | head -n 1)

# frame WID: sets FX FY FW FH, the outer rectangle of the window's frame.
frame() {
  local x="" y="" w="" h="" l="" r="" t="" b=""
  FX="" FY="" FW="" FH=""
  read -r x y w h < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print x, y, w, h}') || true
  read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ',') || true
  [ -n "$b" ] || return 0
  FX=$((x - l)) FY=$((y - t)) FW=$((w + l + r)) FH=$((h + t + b))
}

# The window manager frames the windows, and the library places them
# again once it knows the frames: wait for both to settle.
placed=""
for _ in $(seq 300); do
  frame "$draw"; d="$FX $FY"
  frame "$text"; t="$FX $FY $FW $FH"
  if [ "$d" = "0 0" ] && [ -n "$FY" ] && [ "$FY" -eq $((SH * 2 / 3 + 1)) ] && [ $((FY + FH)) -le "$SH" ]; then
    placed=yes; break
  fi
  sleep 0.1
done
[ -n "$placed" ] || fail "drawing frame at ($d), text frame at/size ($t) on a ${SW}x$SH screen"
[ "$FX" -eq 0 ] && [ "$FW" -eq "$SW" ] || fail "text frame ($t) does not span the screen's width $SW"

# What the drawing window asks of the window manager: a caption, a system
# menu and a close box (Motif functions and decorations), and its fixed
# size leaves nothing to resize or maximise.
read -r _ functions decorations _ < <(xprop -id "$draw" _MOTIF_WM_HINTS | sed -n 's/.*= //p' | tr -d ',')
(( (functions & 0x18) == 0 )) || fail "the drawing window asks for minimise or maximise ($functions)"
(( (decorations & 0x60) == 0 )) || fail "the drawing window asks for minimise or maximise boxes ($decorations)"
(( (decorations & 0x18) == 0x18 )) || fail "the drawing window lacks its caption or system menu ($decorations)"
actions=$(xprop -id "$draw" _NET_WM_ALLOWED_ACTIONS)
! grep -qE '_NET_WM_ACTION_(RESIZE|MAXIMIZE_HORZ|MAXIMIZE_VERT)' <<<"$actions" || fail "drawing window: $actions"
grep -q '_NET_WM_ACTION_CLOSE' <<<"$actions" || fail "drawing window cannot be closed: $actions"

# Ctrl held while the keyboard goes to the text window and back: Ctrl+A is
# still the command (the animation's ticks come), not the key event 1.
wait_for_focus "$draw"
xdotool keydown ctrl
xdotool windowactivate --sync "$text"
wait_for_focus "$text"
xdotool windowactivate --sync "$draw"
wait_for_focus "$draw"
xdotool key a keyup ctrl
wait_for_line "$out" PERIODIC
ends_with_ctrl_q
echo "windows end to end, under openbox: ok"
