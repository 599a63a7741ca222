# Helpers for the Windows suite: wine in its own prefix, inside an Xvfb
# session started by xvfb_session.sh.

fail() { echo "FAIL: $*" >&2; return 1; }

# The 64-bit loader: wine64 where the distribution puts it.
WINE=$(command -v wine64 || true)
[ -n "$WINE" ] || { [ -x /usr/lib/wine/wine64 ] && WINE=/usr/lib/wine/wine64; } || WINE=$(command -v wine)
export WINEDEBUG=-all
# No browser or .NET add-on downloads when the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="

# wine_prefix DIR: makes (once) and uses the wine prefix DIR.
wine_prefix() {
  export WINEPREFIX=$1
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w 2>/dev/null || true
  fi
}

# wait_for_line FILE TEXT [SECONDS]: waits until FILE has a line TEXT
# (Windows programs end their lines with CR LF).
wait_for_line() {
  local file=$1 text=$2 secs=${3:-20}
  for _ in $(seq $((secs * 10))); do
    tr -d '\r' <"$file" 2>/dev/null | grep -qxF -- "$text" && return 0
    sleep 0.1
  done
  echo "--- $file:" >&2; cat "$file" >&2 || true
  fail "no line '$text' in $file"
}

# count_lines FILE TEXT: how many lines of FILE are TEXT.
count_lines() { tr -d '\r' <"$1" | grep -cxF -- "$2" || true; }

# visible_window TITLE [TRIES]: prints the id of the first visible window
# titled exactly TITLE, waiting 0.2 s between TRIES looks (default 100);
# prints nothing when none came.
visible_window() {
  local id=""
  for _ in $(seq "${2:-100}"); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && break
    sleep 0.2
  done
  echo "$id"
}

# find_drawing_window: sets WID and the client area's offset in it
# (CLIENT_LEFT, CLIENT_TOP). Without a window manager wine draws the frame
# itself, inside the X window: equal borders left, right and below, the
# caption and menu bar above.
find_drawing_window() {
  WID=$(visible_window 'ZEMKA Graphics')
  [ -n "$WID" ] || { fail "no drawing window"; return 1; }
  local w h
  eval "$(xdotool getwindowgeometry --shell "$WID" | grep -E '^(WIDTH|HEIGHT)=')"
  w=$WIDTH h=$HEIGHT
  CLIENT_LEFT=$(((w - 600) / 2))
  CLIENT_TOP=$((h - 500 - CLIENT_LEFT))
  xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID" || true
}

click_client() { xdotool mousemove --window "$WID" $(($1 + CLIENT_LEFT)) $(($2 + CLIENT_TOP)) click 1; }
click_logical() { click_client $((300 + $1)) $((250 - $2)); }
