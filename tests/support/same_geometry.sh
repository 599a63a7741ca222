# Sourced by the replay comparisons: same_geometry A.png B.png checks that
# two snapshots of the painter's demo replay are equal pixel for pixel
# outside the rectangles where text is drawn (each back end draws text
# with its own font engine): the seven labels inside the panel's button
# frames and the hint line. The caller defines fail.
same_geometry() {
  local a=$1 b=$2 work masks=() i differing all
  work=$(mktemp -d)
  [ "$(identify -format '%wx%h' "$a")" = 600x500 ] || fail "$a is not 600 x 500"
  [ "$(identify -format '%wx%h' "$b")" = 600x500 ] || fail "$b is not 600 x 500"
  # Text rectangles (pixels): labels inside the button frames (x 4..100,
  # rows 2 + 35 i .. 37 + 35 i), the hint line at logical (-285, -220).
  for i in 0 1 2 3 4 5 6; do masks+=(-draw "rectangle 5,$((3 + 35 * i)) 99,$((36 + 35 * i))"); done
  masks+=(-draw "rectangle 10,452 440,480")
  convert "$a" -alpha off -fill magenta "${masks[@]}" "$work/a.png"
  convert "$b" -alpha off -fill magenta "${masks[@]}" "$work/b.png"
  differing=$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true)
  rm -rf "$work"
  [ "$differing" = 0 ] || fail "$differing pixels differ outside the text"
  # The masks hide only text: the label and hint areas really differ, so
  # the comparison above looked at pictures drawn by both back ends.
  all=$(compare -metric AE "$a" "$b" null: 2>&1 || true)
  [ "$all" != 0 ] || fail "the snapshots are identical even in the text, which cannot be"
  echo "replay snapshots equal outside the text ($all pixels of text differ): ok"
}
