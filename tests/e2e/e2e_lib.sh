# Helpers for the end-to-end tests: start a program, find its drawing
# window, click in its client area and type into it with real X input.

fail() { echo "FAIL: $*" >&2; exit 1; }

# wait_for_line FILE TEXT [SECONDS]: waits until FILE has a line TEXT.
wait_for_line() {
  local file=$1 text=$2 secs=${3:-10}
  for _ in $(seq $((secs * 10))); do
    grep -qxF -- "$text" "$file" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "--- $file:" >&2; cat "$file" >&2 || true
  fail "no line '$text' in $file"
}

# find_drawing_window: sets WID, and CLIENT_TOP, the height of the menu bar
# above the 600 x 500 client area.
find_drawing_window() {
  WID=$(xdotool search --sync --onlyvisible --name '^ZEMKA Graphics$' | head -n 1)
  [ -n "$WID" ] || fail "no drawing window"
  local h
  h=$(xdotool getwindowgeometry --shell "$WID" | sed -n 's/^HEIGHT=//p')
  CLIENT_TOP=$((h - 500))
  xdotool windowactivate --sync "$WID" 2>/dev/null || xdotool windowfocus --sync "$WID" 2>/dev/null || true
}

# click_client X Y: a left click at client pixel (X, Y).
click_client() {
  xdotool mousemove --window "$WID" "$1" $(($2 + CLIENT_TOP)) click 1
}

# click_logical X Y: a left click at logical point (X, Y).
click_logical() { click_client $((300 + $1)) $((250 - $2)); }

# pixel_at_logical X Y: the screen colour at logical point (X, Y) of the
# drawing window, as "R,G,B".
pixel_at_logical() {
  local shot
  shot=$(mktemp --suffix=.png)
  import -window root "$shot"
  convert "$shot" -format '%[fx:int(255*p{'"$((300 + $1)),$((250 - $2 + CLIENT_TOP))"'}.r)],%[fx:int(255*p{'"$((300 + $1)),$((250 - $2 + CLIENT_TOP))"'}.g)],%[fx:int(255*p{'"$((300 + $1)),$((250 - $2 + CLIENT_TOP))"'}.b)]' info:
  rm -f "$shot"
}

# expect_pixel X Y R,G,B [SECONDS]: waits until the logical point shows the colour.
expect_pixel() {
  local got secs=${4:-5}
  for _ in $(seq $((secs * 5))); do
    got=$(pixel_at_logical "$1" "$2")
    [ "$got" = "$3" ] && return 0
    sleep 0.2
  done
  fail "pixel at ($1, $2) is $got, not $3"
}
